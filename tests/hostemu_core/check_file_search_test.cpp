// Where a check file named on the command line is looked for, and what is said
// when none will do.
#include <gtest/gtest.h>

#include <map>

#include "files/CheckFileSearch.h"

namespace {

const std::string kCheck = "<CHECK chmode=\"0\"></CHECK>";

// Files by full path; a path absent here is missing.
struct Disk {
    std::map<std::string, std::string> files;
    std::map<std::string, bool> unreadable;
    std::vector<std::string> asked;

    FileReader reader() {
        return [this](const std::string& path, std::string& bytes) {
            asked.push_back(path);
            if (unreadable.count(path)) return FileRead::Unreadable;
            const auto it = files.find(path);
            if (it == files.end()) return FileRead::Missing;
            bytes = it->second;
            return FileRead::Read;
        };
    }
};

struct Case {
    const char* name;
    const char* given;
    std::map<std::string, std::string> files;
    std::vector<std::string> unreadable;
    const char* found;  // null: none will do
    std::vector<std::string> asked;
    const char* complaint;  // English, when none will do
};

TEST(CheckFileSearch, LooksInTheConsolesFolderThenTheTills) {
    const std::string tools = "C:\\brisvane-tools", till = "C:\\W2";
    const Case cases[] = {
        {"beside hostemu",
         "check.xml",
         {{"C:\\brisvane-tools\\check.xml", kCheck}},
         {},
         "C:\\brisvane-tools\\check.xml",
         {"C:\\brisvane-tools\\check.xml"},
         ""},
        {"in the till's folder",
         "check.xml",
         {{"C:\\W2\\check.xml", kCheck}},
         {},
         "C:\\W2\\check.xml",
         {"C:\\brisvane-tools\\check.xml", "C:\\W2\\check.xml"},
         ""},
        {"a subfolder",
         "checks\\paid.xml",
         {{"C:\\W2\\checks\\paid.xml", "\xEF\xBB\xBF\r\n" + kCheck}},
         {},
         "C:\\W2\\checks\\paid.xml",
         {"C:\\brisvane-tools\\checks\\paid.xml", "C:\\W2\\checks\\paid.xml"},
         ""},
        {"nowhere",
         "check.xml",
         {},
         {},
         nullptr,
         {"C:\\brisvane-tools\\check.xml", "C:\\W2\\check.xml"},
         "cannot read check file check.xml:\n"
         "  C:\\brisvane-tools\\check.xml: no such file\n"
         "  C:\\W2\\check.xml: no such file\n"},
        {"not XML beside hostemu, missing in the till's",
         "check.xml",
         {{"C:\\brisvane-tools\\check.xml", std::string("\xFF\xFE<\0C\0", 6)}},
         {"C:\\W2\\check.xml"},
         nullptr,
         {"C:\\brisvane-tools\\check.xml", "C:\\W2\\check.xml"},
         "cannot read check file check.xml:\n"
         "  C:\\brisvane-tools\\check.xml: not XML (a check starts with \"<\")\n"
         "  C:\\W2\\check.xml: not readable\n"},
        {"an empty file, then the till's",
         "check.xml",
         {{"C:\\brisvane-tools\\check.xml", ""}, {"C:\\W2\\check.xml", kCheck}},
         {},
         "C:\\W2\\check.xml",
         {"C:\\brisvane-tools\\check.xml", "C:\\W2\\check.xml"},
         ""},
        {"a full path: that place only",
         "D:\\checks\\check.xml",
         {{"C:\\W2\\check.xml", kCheck}},
         {},
         nullptr,
         {"D:\\checks\\check.xml"},
         "cannot read check file D:\\checks\\check.xml:\n  D:\\checks\\check.xml: no such file\n"},
        {"a path from the drive's root",
         "\\checks\\check.xml",
         {},
         {},
         nullptr,
         {"\\checks\\check.xml"},
         nullptr},
        {"a network path",
         "\\\\server\\checks\\check.xml",
         {},
         {},
         nullptr,
         {"\\\\server\\checks\\check.xml"},
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Disk disk;
        disk.files = c.files;
        for (const std::string& path : c.unreadable) disk.unreadable[path] = true;
        const CheckFileSearch search = findCheckFile(c.given, tools, till, disk.reader());
        EXPECT_EQ(disk.asked, c.asked);
        EXPECT_EQ(static_cast<bool>(search), c.found != nullptr);
        if (c.found) {
            EXPECT_EQ(search.path, c.found);
            EXPECT_EQ(search.bytes, c.files.at(c.found));
        } else if (c.complaint) {
            EXPECT_EQ(checkFileComplaint(c.given, search, kEnglishCatalog), c.complaint);
        }
    }
}

TEST(CheckFileSearch, TheConsoleInTheTillsFolderIsLookedInOnce) {
    Disk disk;
    const CheckFileSearch search = findCheckFile("check.xml", "C:\\POS\\", "c:/pos", disk.reader());
    EXPECT_EQ(disk.asked, std::vector<std::string>{"C:\\POS\\check.xml"});
    EXPECT_EQ(checkFileComplaint("check.xml", search, kRussianCatalog),
              "не удаётся прочитать файл чека check.xml:\n"
              "  C:\\POS\\check.xml: нет такого файла\n");
}

}  // namespace
