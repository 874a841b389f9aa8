#pragma once
// Where a check file named on the command line is found. An installer types
// check.xml with the check beside hostemu (the console's folder) or in the
// till's folder beside conf.xml; a relative name is looked for in both, in
// that order. When none will do, the complaint names each place and why.
#include <functional>
#include <string>
#include <vector>

#include "i18n/Messages.h"

// What reading a file gave.
enum class FileRead { Read, Missing, Unreadable };

// Reads the whole file into `bytes`.
using FileReader = std::function<FileRead(const std::string& path, std::string& bytes)>;

// readWholeFile, telling a missing file from one that cannot be read.
FileRead readFileOrSayWhy(const std::string& path, std::string& bytes);

struct CheckFilePlace {
    enum class Problem { Missing, Unreadable, NotXml };
    std::string path;
    Problem problem;
};

struct CheckFileSearch {
    bool found = false;
    std::string path;                    // the file read
    std::string bytes;                   // its content
    std::vector<CheckFilePlace> looked;  // the places that would not do, in order

    explicit operator bool() const { return found; }
};

// True for check.xml and sub\check.xml; false for "C:\x.xml", "C:x.xml",
// "\x.xml" and "\\server\x.xml", which name one place.
bool isRelativePath(const std::string& name);

// `name` relative: `consoleFolder`\name, then `tillFolder`\name (once when they
// are the same folder); otherwise `name` alone. The first that reads and
// starts like XML wins.
CheckFileSearch findCheckFile(const std::string& name, const std::string& consoleFolder,
                              const std::string& tillFolder, const FileReader& read);

// "cannot read check file NAME:" and a line per place looked, with why.
std::string checkFileComplaint(const std::string& name, const CheckFileSearch& search,
                               const Catalog& catalog);
