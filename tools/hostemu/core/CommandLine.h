#pragma once
// hostemu's command line, read against a table of commands: each command is
// one CommandSpec; parsing, the usage text and the complaints about options
// that belong to another command all come from the table.
#include <map>
#include <string>
#include <vector>

class Output;

// An option of a command: its name ("--place") and what it takes. A flag
// ("--json") has neither `valueError` nor `parse`; an option with a text value
// ("--html FILE") has a `valueError` (said when the value is missing) and no
// `parse`; a number has both.
struct OptionSpec {
    const char* name;
    const char* valueError = nullptr;  // e.g. "--call takes a call number (1, 2, ...)"
    bool (*parse)(const std::string& text, long long& value) = nullptr;  // false: not valid
    // Said when another command is given the option; null: "--x is an option
    // of a and b only", from the table.
    const char* misplaced = nullptr;

    bool takesValue() const { return valueError != nullptr; }
};

// What the command line asked for, as the table read it.
struct Invocation {
    std::string folder;              // the host's working folder; empty for a command without
    std::string command;             // the command's name
    std::vector<std::string> words;  // the command's arguments, in order
    bool brief = false;              // --brief, read for every command
    std::string dll;                 // --dll PATH: the DLL to load instead of <folder>'s
    std::map<std::string, std::string>
        options;                               // the options given, with their text ("" for flags)
    std::map<std::string, long long> numbers;  // the number options' values

    bool has(const std::string& option) const { return options.count(option) != 0; }
    long long value(const std::string& option, long long otherwise) const {
        const auto it = numbers.find(option);
        return it == numbers.end() ? otherwise : it->second;
    }
    std::string text(const std::string& option) const {
        const auto it = options.find(option);
        return it == options.end() ? std::string() : it->second;
    }
};

struct CommandSpec {
    const char* name;
    // The usage line after "hostemu ", e.g. "<folder> check [--place CODE]".
    const char* usage;
    std::vector<OptionSpec> options;
    std::size_t arguments;   // how many words follow the command's name
    const char* countError;  // said when another number of words is given
    // Further checks of the words (a number where one is due); may be null.
    bool (*checkWords)(const std::vector<std::string>& words, std::string& error);
    // Runs the command; the result is the process exit status.
    int (*run)(const Invocation& invocation, Output& output);
    // `arguments` is the least number of words; more may follow ("<log>...").
    bool moreArguments = false;
    // False for a command that works on files alone: "hostemu <command> ...",
    // with no host folder before it.
    bool folder = true;
};

struct CommandTable {
    std::vector<const CommandSpec*> commands;
    const char* description;  // printed after the usage lines
};

// The usage text: one line per command, then the description.
std::string usageText(const CommandTable& table);

// Reads argv (without the program name) against the table. On failure returns
// null with a one-line reason in `error`.
const CommandSpec* parseCommandLine(const CommandTable& table, const std::vector<std::string>& argv,
                                    Invocation& invocation, std::string& error);

// The whole program: -h / --help, parsing, the complaint and usage on bad
// arguments (exit 2), else the command's own run.
int runCommandLine(const CommandTable& table, const std::vector<std::string>& argv, Output& output);

// Option value readers shared by the commands.
bool parseWholeNumber32(const std::string& text, long long& value);  // optional sign, digits
bool parseCallNumber(const std::string& text, long long& value);     // 1 .. 1000000
