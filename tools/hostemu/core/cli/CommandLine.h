#pragma once
// hostemu's command line, read against a table of commands: each command is
// one CommandSpec; parsing, the usage text and the complaints about options
// that belong to another command all come from the table. Every text a CommandSpec
// holds is a message of the catalog (i18n/Messages.h), so the usage and the
// complaints come in the reader's language.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/ExitStatus.h"
#include "cli/Wrap.h"
#include "i18n/Messages.h"

class Output;

using NumberParser = bool (*)(const std::string& text, long long& value);  // false: not valid

struct CommandSpec;

// An option of a command: its name ("--place") and what it takes. Made by the
// functions below it, which name the kind. A command declares each of its
// options once, as a constant, lists it in its CommandSpec and reads it back
// with that constant (Invocation::has, value, text), never by its name.
struct OptionSpec {
    const char* name = "";
    // Said when the value is missing or not valid; none for a flag.
    std::optional<Msg> valueError;
    NumberParser parse = nullptr;  // null: the value is text (or there is none)
    // Said when another command is given the option; none: "--x is an
    // option of a and b only", from the table.
    std::optional<Msg> misplaced;

    constexpr bool takesValue() const { return valueError.has_value(); }
};

// "--json": present or not.
constexpr OptionSpec flagOption(const char* name) {
    OptionSpec option;
    option.name = name;
    return option;
}
// "--html FILE": any text.
constexpr OptionSpec textOption(const char* name, Msg valueError) {
    OptionSpec option = flagOption(name);
    option.valueError = valueError;
    return option;
}
// "--call N": a number `parse` accepts.
constexpr OptionSpec numberOption(const char* name, Msg valueError, NumberParser parse) {
    OptionSpec option = textOption(name, valueError);
    option.parse = parse;
    return option;
}
// The option with its own complaint for a command that does not take it.
constexpr OptionSpec misplacedAs(OptionSpec option, Msg complaint) {
    option.misplaced = complaint;
    return option;
}

// Option value readers shared by the commands.
bool parseWholeNumber32(const std::string& text, long long& value);  // optional sign, digits
bool parseCallNumber(const std::string& text, long long& value);     // 1 .. 1000000

// "--call N": one call of a log, by its number; the same for every command
// that reads a log.
inline constexpr OptionSpec kCallOption =
    numberOption("--call", Msg::option_call_value, parseCallNumber);

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
    const CommandSpec* declared = nullptr;     // the command read, as the table declares it
    // The complaint is about a path split at a blank: one line says it all.
    bool splitPath = false;

    // An option by its declaration. One that the command's CommandSpec does not list
    // (or a flag's value, a text option's number) throws std::logic_error: it
    // could never be given, and would silently read as absent.
    bool has(const OptionSpec& option) const;
    long long value(const OptionSpec& option, long long otherwise) const;  // a number option
    std::string text(const OptionSpec& option) const;  // a text option; "" when not given
};

// One command, whole: what the help text says of it, what its command line
// holds, and what it does. Its texts are messages. Each command file
// fills one in by name, e.g.
//   const CommandSpec kInitCommand = [] {
//       CommandSpec c;
//       c.name = "init";
//       c.usage = Msg::usage_init;
//       ...
//       return c;
//   }();
// and the table lists it with one line.
struct CommandSpec {
    const char* name = "";
    // The usage line after "hostemu ", e.g. "<folder> check [--place CODE]".
    Msg usage{};
    // Its paragraph of the help text, printed after the usage lines in table
    // order; a paragraph shared by several commands (the same message) is
    // printed once, at the first of them. None: no paragraph.
    std::optional<Msg> description;
    std::vector<OptionSpec> options;
    std::size_t arguments = 0;  // how many words follow the command's name
    // `arguments` is the least number of words; more may follow ("<log>...").
    bool moreArguments = false;
    Msg countError{};  // said when another number of words is given
    // Further checks of the words (a number where one is due), saying why in
    // the catalog's language; may be null.
    bool (*checkWords)(const std::vector<std::string>& words, const Catalog& catalog,
                       std::string& error) = nullptr;
    // False for a command that works on files alone: "hostemu <command> ...",
    // with no host folder before it.
    bool folder = true;
    // Runs the command; the result is the process exit status.
    ExitStatus (*run)(const Invocation& invocation, Output& output) = nullptr;
};

struct CommandTable {
    std::vector<const CommandSpec*> commands;
    Msg closing{};  // the text printed after the commands' descriptions
    // Text printed after that, made for the language and laid out for a
    // line of `width` characters; may be null.
    std::string (*epilogue)(const Catalog& catalog, std::size_t width) = nullptr;
    // Whether a folder exists, to tell a folder path split at a blank; null:
    // not told (cli/PathSlip.h).
    bool (*folderExists)(const std::string& path) = nullptr;
};

// The usage text: one line per command, then their descriptions and the
// table's closing text, each a paragraph indented by two blanks and wrapped
// to `width` characters.
std::string usageText(const CommandTable& table, const Catalog& catalog,
                      std::size_t width = kDefaultTextWidth);

// Reads argv (without the program name) against the table. On failure returns
// null with a one-line reason in `error`, in the catalog's language.
// "--lang CODE" is skipped here: runCommandLine reads it first.
const CommandSpec* parseCommandLine(const CommandTable& table, const std::vector<std::string>& argv,
                                    const Catalog& catalog, Invocation& invocation,
                                    std::string& error);

// The whole program: "--lang ru|en" (anywhere; it sets the output's catalog,
// which otherwise keeps the language it was given), -h / --help, parsing, on
// bad arguments (kBadInput) the complaint with the synopsis of the command it
// concerns and a pointer to --help (the whole usage when nothing was given),
// else the command's own run.
ExitStatus runCommandLine(const CommandTable& table, const std::vector<std::string>& argv,
                          Output& output);
