// The command table: parsing, usage and complaints come from the CommandSpecs alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "cli/CommandLine.h"
#include "cli/ExitStatus.h"
#include "cli/Output.h"
#include "encoding/Encodings.h"

namespace {

std::string ran;  // what the test commands were run with

ExitStatus runShow(const Invocation& in, Output& out) {
    ran = in.command + " " + in.folder;
    for (const std::string& w : in.words) ran += " " + w;
    for (const auto& o : in.options) {
        ran += " " + o.first + "=" + o.second;
        if (in.numbers.count(o.first)) ran += "#" + std::to_string(in.numbers.at(o.first));
    }
    if (in.brief) ran += " brief";
    if (!in.dll.empty()) ran += " dll=" + in.dll;
    out.out("ran\n");
    return exitstatus::kFound;  // no status the command line gives itself
}

bool digitsOnly(const std::vector<std::string>& words, const Catalog& catalog, std::string& error) {
    if (words[0].find_first_not_of("0123456789") == std::string::npos) return true;
    error = formatMessage(catalog, Msg::error_card_number, {{"word", words[0]}});
    return false;
}

// The test commands say the real commands' texts; what matters here is which
// text comes where.
std::string en(Msg id) { return formatMessage(kEnglishCatalog, id); }

CommandSpec command(const char* name, Msg usage, Msg countError) {
    CommandSpec c;
    c.name = name;
    c.usage = usage;
    c.countError = countError;
    c.run = runShow;
    return c;
}

const CommandSpec kPlain = [] {
    CommandSpec c = command("plain", Msg::usage_init, Msg::count_init);
    c.description = Msg::help_hostcall;
    return c;
}();
constexpr OptionSpec kCall = numberOption("--call", Msg::option_call_value, parseCallNumber);
constexpr OptionSpec kOnly = misplacedAs(
    numberOption("--only", Msg::option_place_value, parseCallNumber), Msg::cli_dll_misplaced);
constexpr OptionSpec kPlaceCode =
    numberOption("--place", Msg::option_place_value, parseWholeNumber32);
constexpr OptionSpec kJson = flagOption("--json");
constexpr OptionSpec kHtml = textOption("--html", Msg::option_html_value);

const CommandSpec kNumber = [] {
    CommandSpec c = command("number", Msg::usage_replay, Msg::count_replay);
    c.description = Msg::help_hostcall;
    c.options = {kCall, kOnly};
    c.arguments = 1;
    c.checkWords = digitsOnly;
    return c;
}();
const CommandSpec kPlace = [] {
    CommandSpec c = command("place", Msg::usage_check, Msg::count_check);
    c.description = Msg::help_check;
    c.options = {kPlaceCode, kCall};
    return c;
}();
// Files only, no folder: "hostemu files <log>... [--json] [--html FILE]".
const CommandSpec kFiles = [] {
    CommandSpec c = command("files", Msg::usage_summary, Msg::count_summary);
    c.options = {kJson, kHtml};
    c.arguments = 1;
    c.moreArguments = true;
    c.folder = false;
    return c;
}();
const CommandTable kTable = {{&kPlain, &kNumber, &kPlace, &kFiles}, Msg::help_closing};
const Catalog& kTestCatalog = kEnglishCatalog;

}  // namespace

namespace {

std::string squeezed(const std::string& text) {
    std::istringstream in(text);
    std::string word, out;
    while (in >> word) out += (out.empty() ? "" : " ") + word;
    return out;
}

}  // namespace

TEST(CommandLine, UsageComesFromTheTable) {
    EXPECT_EQ(usageText(kTable, kTestCatalog),
              "usage: hostemu " + en(Msg::usage_init) + "\n" + "       hostemu " +
                  en(Msg::usage_replay) + "\n" + "       hostemu " + en(Msg::usage_check) + "\n" +
                  "       hostemu " + en(Msg::usage_summary) + "\n" +
                  // Each paragraph once, in table order; a command without one adds none.
                  wrapText(en(Msg::help_hostcall), 80, 2) + wrapText(en(Msg::help_check), 80, 2) +
                  wrapText(en(Msg::help_closing), 80, 2));
}

// The help is laid out for the sink's width in either language: every line
// within it, indented, and no word lost or split.
TEST(CommandLine, HelpFitsTheConsolesWidth) {
    for (const Catalog* catalog : allCatalogs()) {
        for (std::size_t width : {40u, 80u, 132u}) {
            SCOPED_TRACE(std::string(catalog->code) + " " + std::to_string(width));
            StringOutput out(*catalog);
            out.setWidth(width);
            EXPECT_EQ(runCommandLine(kTable, {"--help"}, out), 0);
            std::istringstream lines(out.outText());
            std::string usage, paragraphs, line;
            std::size_t longest = 0;
            while (std::getline(lines, line)) {
                EXPECT_LE(utf8Characters(line), width) << line;
                // The usage lines first, then the paragraphs, indented by two.
                if (paragraphs.empty() && !(line.rfind("  ", 0) == 0 && line[2] != ' ')) {
                    usage += line + " ";
                    continue;
                }
                EXPECT_EQ(line.rfind("  ", 0), 0u) << line;
                EXPECT_NE(line[2], ' ') << line;
                longest = std::max(longest, utf8Characters(line));
                paragraphs += line + " ";
            }
            std::string commandLines;
            for (const CommandSpec* c : kTable.commands)
                commandLines += "hostemu " + formatMessage(*catalog, c->usage) + " ";
            EXPECT_EQ(squeezed(usage).substr(squeezed(usage).find(' ') + 1),
                      squeezed(commandLines));
            EXPECT_GE(longest, width - 12);  // filled, not broken early
            std::string given;
            for (Msg m : {Msg::help_hostcall, Msg::help_check, Msg::help_closing})
                given += formatMessage(*catalog, m) + " ";
            std::replace(given.begin(), given.end(), '\n', ' ');
            EXPECT_EQ(squeezed(paragraphs), squeezed(given));
        }
    }
}

TEST(CommandLine, ParsesOrComplains) {
    struct Case {
        std::vector<std::string> argv;
        int status;
        std::string ran;    // the invocation the command saw
        std::string error;  // the complaint, after "hostemu: "
    };
    const Case cases[] = {
        {{"F", "plain"}, 1, "plain F", ""},
        {{"--brief", "F", "plain"}, 1, "plain F brief", ""},
        {{"F", "number", "-12"}, 2, "", "not a 64-bit number: -12"},  // a negative number is a word
        {{"F", "number", "12", "--call", "3"}, 1, "number F 12 --call=3#3", ""},
        {{"F", "place", "--place", "-5"}, 1, "place F --place=-5#-5", ""},
        {{"--place", "2147483647", "F", "place"}, 1, "place F --place=2147483647#2147483647", ""},
        {{"files", "a.log"}, 1, "files  a.log", ""},
        {{"files", "a", "b", "--json", "--html", "--x.html"},
         1,
         "files  a b --html=--x.html --json=",
         ""},
        // A folder named like a command without one: the folder form wins, as before.
        {{"files", "plain"}, 1, "plain files", ""},
        {{"files"}, 2, "", en(Msg::count_summary)},
        {{"files", "a", "--html"}, 2, "", en(Msg::option_html_value)},
        {{"F", "plain", "--json"}, 2, "", "--json is an option of files only"},
        {{"F", "files", "a"}, 2, "", "unknown command files"},
        {{}, 2, "", "give a folder and a command"},
        {{"F"}, 2, "", "give a folder and a command"},
        {{"F", "fly"}, 2, "", "unknown command fly"},
        {{"--loud", "F", "plain"}, 2, "", "unknown option --loud"},
        {{"F", "plain", "now"}, 2, "", en(Msg::count_init)},
        {{"F", "number"}, 2, "", en(Msg::count_replay)},
        {{"F", "number", "x1"}, 2, "", "not a 64-bit number: x1"},
        {{"F", "plain", "--place", "1"}, 2, "", "--place is an option of place only"},
        {{"F", "plain", "--call", "1"}, 2, "", "--call is an option of number and place only"},
        {{"F", "place", "--place"}, 2, "", en(Msg::option_place_value)},
        {{"F", "place", "--place", "2147483648"}, 2, "", en(Msg::option_place_value)},
        {{"F", "place", "--place", "hall"}, 2, "", en(Msg::option_place_value)},
        {{"F", "place", "--call", "0"}, 2, "", "--call takes a call number (1, 2, ...)"},
        {{"F", "place", "--call", "1000001"}, 2, "", "--call takes a call number (1, 2, ...)"},
        {{"F", "place", "--call", "2x"}, 2, "", "--call takes a call number (1, 2, ...)"},
        {{"F", "place", "--only", "1"}, 2, "", en(Msg::cli_dll_misplaced)},
        {{"", "plain"}, 2, "", "the folder is empty"},
        // --dll names the DLL for a command with a folder, anywhere on the line.
        {{"--dll", "C:\\Host App\\brisvane.dll", "F", "plain"},
         1,
         "plain F dll=C:\\Host App\\brisvane.dll",
         ""},
        {{"F", "number", "1", "--dll", "d.dll"}, 1, "number F 1 dll=d.dll", ""},
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
        StringOutput out(kTestCatalog);
        EXPECT_EQ(runCommandLine(kTable, c.argv, out), c.status);
        EXPECT_EQ(ran, c.ran);
        if (c.error.empty()) {
            EXPECT_EQ(out.outText(), "ran\n");
            EXPECT_EQ(out.errText(), "");
        } else {
            // The complaint, at most the synopsis of the command named, and where the rest is.
            const std::string& err = out.errText();
            EXPECT_EQ(err.substr(0, c.error.size() + 10), "hostemu: " + c.error + "\n");
            if (!c.argv.empty()) {
                EXPECT_LE(std::count(err.begin(), err.end(), '\n'), 3);
            }
            EXPECT_EQ(out.outText(), "");
        }
    }
}

TEST(CommandLine, ComplaintsAreShort) {
    struct Case {
        std::vector<std::string> argv;
        std::string err;
    };
    const std::string more = "hostemu --help: every command, its options and exit statuses\n";
    const Case cases[] = {
        {{"F", "number"},
         "hostemu: " + en(Msg::count_replay) + "\nusage: hostemu " + en(Msg::usage_replay) + "\n" +
             more},
        {{"F", "plain", "--call", "1"},
         "hostemu: --call is an option of number and place only\nusage: hostemu " +
             en(Msg::usage_init) + "\n" + more},
        {{"F", "fly"}, "hostemu: unknown command fly\n" + more},
        {{"--loud", "files", "a"},
         "hostemu: unknown option --loud\nusage: hostemu " + en(Msg::usage_summary) + "\n" + more},
        // Nothing asked: the whole usage.
        {{}, "hostemu: give a folder and a command\n" + usageText(kTable, kTestCatalog)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
        StringOutput out(kTestCatalog);
        EXPECT_EQ(runCommandLine(kTable, c.argv, out), 2);
        EXPECT_EQ(out.errText(), c.err);
    }
}

// A command reads its options by the constants it declared them with; asking
// for one it does not declare (or a flag's text) is a fault, not a default.
TEST(CommandLine, OptionsAreReadAsDeclared) {
    const OptionSpec kCallElsewhere =
        numberOption("--call", Msg::option_place_value, parseCallNumber);
    struct Case {
        std::vector<std::string> argv;
        std::function<std::string(const Invocation&)> read;
        std::string seen;  // empty: throws
    } const cases[] = {
        {{"F", "place", "--place", "-4"},
         [](const Invocation& in) { return std::to_string(in.value(kPlaceCode, 9)); },
         "-4"},
        {{"F", "place"},
         [](const Invocation& in) { return std::to_string(in.value(kCall, 9)); },
         "9"},
        {{"files", "a", "--html", "p.html"},
         [](const Invocation& in) { return in.text(kHtml); },
         "p.html"},
        {{"files", "a", "--json"},
         [](const Invocation& in) { return std::to_string(in.has(kJson)); },
         "1"},
        {{"F", "place"},
         [](const Invocation& in) { return std::to_string(in.value(kOnly, 9)); },
         ""},
        {{"F", "place"},
         [&](const Invocation& in) { return std::to_string(in.has(kCallElsewhere)); },
         ""},
        {{"files", "a", "--json"}, [](const Invocation& in) { return in.text(kJson); }, ""},
        {{"files", "a"},
         [](const Invocation& in) { return std::to_string(in.value(kHtml, 9)); },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argv[1]);
        Invocation in;
        std::string error;
        ASSERT_NE(parseCommandLine(kTable, c.argv, kTestCatalog, in, error), nullptr) << error;
        if (c.seen.empty()) {
            EXPECT_THROW(c.read(in), std::logic_error);
        } else {
            EXPECT_EQ(c.read(in), c.seen);
        }
    }
}

TEST(CommandLine, HelpAnywhereWinsOverErrors) {
    for (const std::vector<std::string>& argv :
         {std::vector<std::string>{"--help"}, {"F", "fly", "-h"}, {"--loud", "--help"}}) {
        StringOutput out(kTestCatalog);
        EXPECT_EQ(runCommandLine(kTable, argv, out), 0);
        EXPECT_EQ(out.outText(), usageText(kTable, kTestCatalog));
        EXPECT_EQ(out.errText(), "");
    }
}

namespace {

// A command with the real table's texts, to see the language change.
const CommandSpec kInitLike = [] {
    CommandSpec c = command("init", Msg::usage_init, Msg::count_init);
    c.description = Msg::help_hostcall;
    return c;
}();
const CommandTable kRealTexts = {{&kInitLike}, Msg::help_closing};

}  // namespace

TEST(CommandLine, LanguageFromLangElseTheSinks) {
    struct Case {
        std::vector<std::string> argv;
        const Catalog* given;  // the sink's language before --lang
        int status;
        std::string out;  // the start of standard output
        std::string err;  // the start of standard error
    };
    const Case cases[] = {
        {{"F", "init", "x"},
         &kRussianCatalog,
         2,
         "",
         "hostemu: init не принимает аргументов\nИспользование: hostemu [--dll ПУТЬ] [--brief] "
         "<папка> init\n"},
        {{"--lang", "ru", "F", "init", "x"}, &kEnglishCatalog, 2, "", "hostemu: init не принимает"},
        {{"F", "init", "x", "--lang", "en"},
         &kRussianCatalog,
         2,
         "",
         "hostemu: init takes no further arguments\nusage: hostemu [--dll PATH] [--brief] <folder> "
         "init\n"},
        {{"--lang", "ru", "--help"},
         &kEnglishCatalog,
         0,
         "Использование: hostemu [--dll ПУТЬ] [--brief] <папка> init\n  Загружает",
         ""},
        {{"--lang", "en", "-h"},
         &kRussianCatalog,
         0,
         "usage: hostemu [--dll PATH] [--brief] <folder> init\n  Loads",
         ""},
        {{"F", "--lang", "ru", "init"}, &kEnglishCatalog, 1, "ran\n", ""},
        // The last --lang counts; an unknown one is a bad argument, said in
        // the language the sink had.
        {{"--lang", "ru", "--lang", "en", "F", "init", "x"},
         &kRussianCatalog,
         2,
         "",
         "hostemu: init takes"},
        {{"--lang", "de", "F", "init"},
         &kEnglishCatalog,
         2,
         "",
         "hostemu: --lang takes ru or en\nusage:"},
        {{"F", "init", "--lang"},
         &kRussianCatalog,
         2,
         "",
         "hostemu: после --lang укажите ru или en\nИспользование:"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& w : c.argv) shown += "[" + w + "]";
        SCOPED_TRACE(shown);
        StringOutput out(*c.given);
        EXPECT_EQ(runCommandLine(kRealTexts, c.argv, out), c.status);
        EXPECT_EQ(out.outText().substr(0, c.out.size()), c.out);
        EXPECT_EQ(out.errText().substr(0, c.err.size()), c.err);
        EXPECT_EQ(c.out.empty(), out.outText().empty());
        EXPECT_EQ(c.err.empty(), out.errText().empty());
    }
}

// The usage text (wrapped) and docs/hostemu.md give the exit statuses in the
// words built from the values the commands return.
TEST(CommandLine, ExitStatusesReadTheSameInTheUsageAndTheDocs) {
    const std::string text = exitStatusText();
    for (int status :
         {exitstatus::kDone, exitstatus::kFound, exitstatus::kBadInput, exitstatus::kCannotRun})
        EXPECT_NE(text.find(" " + std::to_string(status) + ": "), std::string::npos) << status;
    const std::string usage = wrapText(text, 80, 2);
    EXPECT_EQ(squeezed(usage), text);
    std::istringstream lines(usage);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 80u) << line;
        EXPECT_EQ(line.rfind("  ", 0), 0u) << line;
    }
    std::ifstream doc(BRISVANE_SOURCE_DIR "/docs/hostemu.md");
    ASSERT_TRUE(doc) << "docs/hostemu.md";
    const std::string docs((std::istreambuf_iterator<char>(doc)), std::istreambuf_iterator<char>());
    EXPECT_NE(squeezed(docs).find(text), std::string::npos)
        << "docs/hostemu.md should say, as a paragraph of its own:\n"
        << usage;
}

// Every language's exit statuses name each status and wrap at 80 characters
// (not bytes: Cyrillic takes two bytes a character).
TEST(CommandLine, ExitStatusesInEveryLanguage) {
    for (const Catalog* catalog : allCatalogs()) {
        SCOPED_TRACE(catalog->code);
        const std::string text = exitStatusText(*catalog);
        for (int status :
             {exitstatus::kDone, exitstatus::kFound, exitstatus::kBadInput, exitstatus::kCannotRun})
            EXPECT_NE(text.find(" " + std::to_string(status) + ": "), std::string::npos) << status;
        const std::string paragraph = exitStatusParagraph(*catalog, 80);
        EXPECT_EQ(squeezed(paragraph), text);
        std::istringstream lines(paragraph);
        std::size_t longest = 0;
        for (std::string line; std::getline(lines, line);) {
            longest = std::max(longest, utf8Characters(line));
        }
        EXPECT_LE(longest, 80u);
        EXPECT_GE(longest, 70u);  // filled, not broken early
    }
}
