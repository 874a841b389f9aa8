// The command table: parsing, usage and complaints come from the CommandSpecs alone.
#include <gtest/gtest.h>

#include "cli/CommandLine.h"
#include "cli/Output.h"

namespace {

std::string ran;  // what the test commands were run with

int runShow(const Invocation& in, Output& out) {
    ran = in.command + " " + in.folder;
    for (const std::string& w : in.words) ran += " " + w;
    for (const auto& o : in.options) {
        ran += " " + o.first + "=" + o.second;
        if (in.numbers.count(o.first)) ran += "#" + std::to_string(in.value(o.first, 0));
    }
    if (in.brief) ran += " brief";
    if (!in.dll.empty()) ran += " dll=" + in.dll;
    out.out("ran\n");
    return 7;
}

bool digitsOnly(const std::vector<std::string>& words, std::string& error) {
    if (words[0].find_first_not_of("0123456789") == std::string::npos) return true;
    error = "not a number: " + words[0];
    return false;
}

const char kShared[] = "  plain and number: shared\n";

CommandSpec command(const char* name, const char* usage, const char* countError) {
    CommandSpec c;
    c.name = name;
    c.usage = usage;
    c.countError = countError;
    c.run = runShow;
    return c;
}

const CommandSpec kPlain = [] {
    CommandSpec c =
        command("plain", "[--brief] <folder> plain", "plain takes no further arguments");
    c.description = kShared;
    return c;
}();
const CommandSpec kNumber = [] {
    CommandSpec c =
        command("number", "<folder> number <n> [--call N] [--only]", "number takes one number");
    c.description = kShared;
    c.options = {numberOption("--call", "--call takes a call number (1, 2, ...)", parseCallNumber),
                 misplacedAs(numberOption("--only", "--only takes a count", parseCallNumber),
                             "--only goes with number")};
    c.arguments = 1;
    c.checkWords = digitsOnly;
    return c;
}();
const CommandSpec kPlace = [] {
    CommandSpec c = command("place", "<folder> place [--place CODE] [--call N]",
                            "place takes no further arguments");
    c.description = "  place: its own\n";
    c.options = {numberOption("--place", "--place takes a place code", parseWholeNumber32),
                 numberOption("--call", "--call takes a call number (1, 2, ...)", parseCallNumber)};
    return c;
}();
// Files only, no folder: "hostemu files <log>... [--json] [--html FILE]".
const CommandSpec kFiles = [] {
    CommandSpec c =
        command("files", "files <log>... [--json] [--html FILE]", "files takes one or more files");
    c.options = {flagOption("--json"), textOption("--html", "--html takes a file name")};
    c.arguments = 1;
    c.moreArguments = true;
    c.folder = false;
    return c;
}();
const CommandTable kTable = {{&kPlain, &kNumber, &kPlace, &kFiles}, "  what it does\n"};

}  // namespace

TEST(CommandLine, UsageComesFromTheTable) {
    EXPECT_EQ(usageText(kTable),
              "usage: hostemu [--brief] <folder> plain\n"
              "       hostemu <folder> number <n> [--call N] [--only]\n"
              "       hostemu <folder> place [--place CODE] [--call N]\n"
              "       hostemu files <log>... [--json] [--html FILE]\n"
              // Each paragraph once, in table order; a command without one adds none.
              "  plain and number: shared\n"
              "  place: its own\n"
              "  what it does\n");
}

TEST(CommandLine, ParsesOrComplains) {
    struct Case {
        std::vector<std::string> argv;
        int status;
        std::string ran;    // the invocation the command saw
        std::string error;  // the complaint, after "hostemu: "
    };
    const Case cases[] = {
        {{"F", "plain"}, 7, "plain F", ""},
        {{"--brief", "F", "plain"}, 7, "plain F brief", ""},
        {{"F", "number", "-12"}, 2, "", "not a number: -12"},  // a negative number is a word
        {{"F", "number", "12", "--call", "3"}, 7, "number F 12 --call=3#3", ""},
        {{"F", "place", "--place", "-5"}, 7, "place F --place=-5#-5", ""},
        {{"--place", "2147483647", "F", "place"}, 7, "place F --place=2147483647#2147483647", ""},
        {{"files", "a.log"}, 7, "files  a.log", ""},
        {{"files", "a", "b", "--json", "--html", "--x.html"},
         7,
         "files  a b --html=--x.html --json=",
         ""},
        // A folder named like a command without one: the folder form wins, as before.
        {{"files", "plain"}, 7, "plain files", ""},
        {{"files"}, 2, "", "files takes one or more files"},
        {{"files", "a", "--html"}, 2, "", "--html takes a file name"},
        {{"F", "plain", "--json"}, 2, "", "--json is an option of files only"},
        {{"F", "files", "a"}, 2, "", "unknown command files"},
        {{}, 2, "", "give a folder and a command"},
        {{"F"}, 2, "", "give a folder and a command"},
        {{"F", "fly"}, 2, "", "unknown command fly"},
        {{"--loud", "F", "plain"}, 2, "", "unknown option --loud"},
        {{"F", "plain", "now"}, 2, "", "plain takes no further arguments"},
        {{"F", "number"}, 2, "", "number takes one number"},
        {{"F", "number", "x1"}, 2, "", "not a number: x1"},
        {{"F", "plain", "--place", "1"}, 2, "", "--place is an option of place only"},
        {{"F", "plain", "--call", "1"}, 2, "", "--call is an option of number and place only"},
        {{"F", "place", "--place"}, 2, "", "--place takes a place code"},
        {{"F", "place", "--place", "2147483648"}, 2, "", "--place takes a place code"},
        {{"F", "place", "--place", "hall"}, 2, "", "--place takes a place code"},
        {{"F", "place", "--call", "0"}, 2, "", "--call takes a call number (1, 2, ...)"},
        {{"F", "place", "--call", "1000001"}, 2, "", "--call takes a call number (1, 2, ...)"},
        {{"F", "place", "--call", "2x"}, 2, "", "--call takes a call number (1, 2, ...)"},
        {{"F", "place", "--only", "1"}, 2, "", "--only goes with number"},
        {{"", "plain"}, 2, "", "the folder is empty"},
        // --dll names the DLL for a command with a folder, anywhere on the line.
        {{"--dll", "C:\\Host App\\brisvane.dll", "F", "plain"},
         7,
         "plain F dll=C:\\Host App\\brisvane.dll",
         ""},
        {{"F", "number", "1", "--dll", "d.dll"}, 7, "number F 1 dll=d.dll", ""},
        {{"F", "plain", "--dll"}, 2, "", "--dll takes the path of brisvane.dll"},
        {{"--dll", "", "F", "plain"}, 2, "", "--dll takes the path of brisvane.dll"},
        {{"--dll", "d.dll", "files", "a"},
         2,
         "",
         "--dll goes with the commands that take a folder"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& w : c.argv) shown += "[" + w + "]";
        SCOPED_TRACE(shown);
        ran.clear();
        StringOutput out;
        EXPECT_EQ(runCommandLine(kTable, c.argv, out), c.status);
        EXPECT_EQ(ran, c.ran);
        if (c.error.empty()) {
            EXPECT_EQ(out.outText(), "ran\n");
            EXPECT_EQ(out.errText(), "");
        } else {
            EXPECT_EQ(out.errText(), "hostemu: " + c.error + "\n" + usageText(kTable));
            EXPECT_EQ(out.outText(), "");
        }
    }
}

TEST(CommandLine, HelpAnywhereWinsOverErrors) {
    for (const std::vector<std::string>& argv :
         {std::vector<std::string>{"--help"}, {"F", "fly", "-h"}, {"--loud", "--help"}}) {
        StringOutput out;
        EXPECT_EQ(runCommandLine(kTable, argv, out), 0);
        EXPECT_EQ(out.outText(), usageText(kTable));
        EXPECT_EQ(out.errText(), "");
    }
}
