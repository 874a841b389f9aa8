// Paths with blanks typed without double quotes: put back together and said
// in one line.
#include <gtest/gtest.h>

#include <set>

#include "cli/CommandLine.h"
#include "cli/ExitStatus.h"
#include "cli/Output.h"
#include "cli/PathSlip.h"

namespace {

const std::set<std::string> kFolders = {"C:\\POS", "C:\\POS Data", "C:\\Program Files\\POS"};
bool exists(const std::string& path) { return kFolders.count(path) != 0; }
bool isCommand(const std::string& word) { return word == "config" || word == "lookup"; }

std::vector<std::string> words(const std::string& line) {  // split as cmd.exe does, no quotes
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t end = line.find(' ', start);
        out.push_back(line.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return out;
}

}  // namespace

TEST(PathSlip, PutsASplitPathBackTogether) {
    struct Case {
        std::string line;
        std::string dll;     // splitDllPath on the word after --dll
        std::string folder;  // splitFolder on the words after the options
    };
    const Case cases[] = {
        {"--dll C:\\Program Files\\POS\\brisvane.dll C:\\POS lookup 1 c.xml",
         "C:\\Program Files\\POS\\brisvane.dll", ""},
        {"--dll C:\\Program Files\\POS\\BRISVANE.DLL init", "C:\\Program Files\\POS\\BRISVANE.DLL",
         ""},
        {"--dll C:\\My Tills\\Hall 2\\brisvane.dll init", "C:\\My Tills\\Hall 2\\brisvane.dll", ""},
        {"--dll C:\\POS\\brisvane.dll C:\\POS init", "", ""},  // nothing split
        {"--dll C:\\Program --brief x.dll init", "", ""},      // an option between: no path
        {"--dll C:\\Program Files init", "", ""},              // no DLL named at all
        {"C:\\POS Data config check.xml", "", "C:\\POS Data"},
        {"C:\\Program Files\\POS lookup 1001 check.xml", "", "C:\\Program Files\\POS"},
        {"C:\\POS confg check.xml", "", ""},        // a folder that exists: a mistyped command
        {"C:\\POS Hall config check.xml", "", ""},  // and no folder C:\POS Hall either
        {"C:\\NoSuch fly", "", ""},                 // no command follows: nothing to join
        {"C:\\NoSuch config check.xml", "", ""},    // the command is in place
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<std::string> argv = words(c.line);
        if (argv[0] == "--dll") {
            EXPECT_EQ(splitDllPath(argv, 1), c.dll);
        } else {
            EXPECT_EQ(splitFolder(argv, isCommand, exists), c.folder);
        }
    }
}

namespace {

ExitStatus ran(const Invocation&, Output&) { return exitstatus::kDone; }

const CommandSpec kLookup = [] {
    CommandSpec c;
    c.name = "lookup";
    c.usage = Msg::usage_lookup;
    c.countError = Msg::count_lookup;
    c.arguments = 2;
    c.run = ran;
    return c;
}();
const CommandTable kTable = {{&kLookup}, Msg::help_closing, nullptr, exists};

}  // namespace

TEST(PathSlip, SaidInOneLineWithTheQuotedForm) {
    struct Case {
        std::string line;
        const Catalog* catalog;
        std::string err;
    };
    const Case cases[] = {
        {"--dll C:\\Program Files\\POS\\brisvane.dll C:\\POS lookup 1001 check.xml",
         &kEnglishCatalog,
         "hostemu: C:\\Program names no DLL: the path after --dll seems split at a blank; a path "
         "with blanks must be in double quotes: --dll \"C:\\Program Files\\POS\\brisvane.dll\"\n"},
        {"C:\\Program Files\\POS lookup 1001 check.xml", &kEnglishCatalog,
         "hostemu: Files\\POS is no command: the folder's path seems split at a blank; a path "
         "with blanks must be in double quotes: \"C:\\Program Files\\POS\"\n"},
        {"C:\\POS Data lookup 1001 check.xml", &kRussianCatalog,
         "hostemu: Data — не команда: похоже, путь к папке разорван пробелом. Путь с "
         "пробелами заключите в двойные кавычки: \"C:\\POS Data\"\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        StringOutput out(*c.catalog);
        EXPECT_EQ(runCommandLine(kTable, words(c.line), out), 2);
        EXPECT_EQ(out.errText(), c.err);
    }
}
