#include "cli/CommandLine.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "cli/ExitStatus.h"
#include "cli/Output.h"
#include "cli/PathSlip.h"
#include "encoding/Encodings.h"

namespace {

const OptionSpec* findOption(const CommandSpec& command, const std::string& name) {
    for (const OptionSpec& option : command.options) {
        if (name == option.name) return &option;
    }
    return nullptr;
}

const OptionSpec* findOption(const CommandTable& table, const std::string& name) {
    for (const CommandSpec* command : table.commands) {
        if (const OptionSpec* option = findOption(*command, name)) return option;
    }
    return nullptr;
}

// "replay", "init and lookup", "init, lookup and transaction".
std::string commandsWith(const CommandTable& table, const std::string& option,
                         const Catalog& catalog) {
    std::vector<std::string> names;
    for (const CommandSpec* command : table.commands) {
        if (findOption(*command, option)) names.push_back(command->name);
    }
    std::string list;
    for (std::size_t i = 0; i + 1 < names.size(); ++i) list += (i > 0 ? ", " : "") + names[i];
    if (names.size() < 2) return names.empty() ? list : names[0];
    return formatMessage(catalog, Msg::cli_list_and, {{"list", list}, {"last", names.back()}});
}

const CommandSpec* findCommand(const CommandTable& table, const std::string& name,
                               bool withFolder) {
    for (const CommandSpec* command : table.commands) {
        if (name == command->name && command->folder == withFolder) return command;
    }
    return nullptr;
}

// The command a faulty command line names, for its synopsis; null if none.
const CommandSpec* namedCommand(const CommandTable& table, const std::vector<std::string>& argv) {
    for (const std::string& word : argv) {
        for (const CommandSpec* command : table.commands) {
            if (word == command->name) return command;
        }
    }
    return nullptr;
}

// A word that is an option, not a negative number given as an argument.
bool looksLikeOption(const std::string& word) {
    return word.size() > 1 && word[0] == '-' && !(word[1] >= '0' && word[1] <= '9');
}

// "usage: hostemu <line>": a line too long for the console goes on under its
// first argument.
// `head` with `line` in it, without its line feed.
std::string headed(const Catalog& catalog, Msg head, const std::string& line) {
    std::string text = formatMessage(catalog, head, {{"line", line}});
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

// "usage: hostemu <line>" (`first`), or "hostemu <line>" lined up under the
// first one's "hostemu"; a line too long for the console goes on under its
// first argument.
std::string usageLine(const Catalog& catalog, bool first, Msg usage, std::size_t width) {
    const std::size_t column = utf8Characters(headed(catalog, Msg::cli_usage_first, ""));
    const Msg head = first ? Msg::cli_usage_first : Msg::cli_usage_next;
    const std::size_t own = utf8Characters(headed(catalog, head, ""));
    const std::string pad(column > own ? column - own : 0, ' ');
    return wrapHanging(pad + headed(catalog, head, formatMessage(catalog, usage)), width, column);
}

}  // namespace

std::string usageText(const CommandTable& table, const Catalog& catalog, std::size_t width) {
    std::string text;
    for (std::size_t i = 0; i < table.commands.size(); ++i)
        text += usageLine(catalog, i == 0, table.commands[i]->usage, width);
    std::vector<Msg> described;
    for (const CommandSpec* command : table.commands) {
        if (!command->description) continue;
        const Msg description = *command->description;
        bool shown = false;
        for (Msg d : described) shown = shown || description == d;
        if (shown) continue;
        described.push_back(description);
        text += wrapText(formatMessage(catalog, description), width, 2);
    }
    text += wrapText(formatMessage(catalog, table.closing), width, 2);
    return table.epilogue ? text + table.epilogue(catalog, width) : text;
}

const CommandSpec* parseCommandLine(const CommandTable& table, const std::vector<std::string>& argv,
                                    const Catalog& catalog, Invocation& invocation,
                                    std::string& error) {
    auto say = [&](Msg id, MessageArgs args = {}) {
        error = formatMessage(catalog, id, args);
        return nullptr;
    };
    std::vector<std::string> words;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& w = argv[i];
        if (w == "--brief") {
            invocation.brief = true;
        } else if (w == "--lang") {
            ++i;  // read (and its value checked) by runCommandLine
        } else if (w == "--dll") {
            if (i + 1 >= argv.size() || argv[i + 1].empty()) return say(Msg::cli_dll_value);
            const std::string split = splitDllPath(argv, i + 1);
            if (!split.empty()) {
                invocation.splitPath = true;
                return say(Msg::cli_dll_split, {{"given", argv[i + 1]}, {"path", split}});
            }
            invocation.dll = argv[++i];
        } else if (const OptionSpec* option = findOption(table, w)) {
            if (!option->takesValue()) {
                invocation.options[w] = "";
                continue;
            }
            long long value = 0;
            if (i + 1 >= argv.size() || (option->parse && !option->parse(argv[i + 1], value)))
                return say(*option->valueError);
            invocation.options[w] = argv[i + 1];
            if (option->parse) invocation.numbers[w] = value;
            ++i;
        } else if (looksLikeOption(w)) {
            return say(Msg::cli_unknown_option, {{"option", w}});
        } else {
            words.push_back(w);
        }
    }
    // "<folder> <command> ..." unless the first word names a command that
    // takes no folder and the second names none that does.
    const CommandSpec* command = words.size() >= 2 ? findCommand(table, words[1], true) : nullptr;
    const CommandSpec* folderless = words.empty() ? nullptr : findCommand(table, words[0], false);
    if (!command && folderless) {
        command = folderless;
        invocation.command = words[0];
        invocation.words.assign(words.begin() + 1, words.end());
    } else if (words.size() < 2) {
        return say(Msg::cli_folder_and_command);
    } else {
        invocation.folder = words[0];
        invocation.command = words[1];
        invocation.words.assign(words.begin() + 2, words.end());
    }
    if (!command && table.folderExists) {
        const std::string split = splitFolder(
            words, [&](const std::string& w) { return findCommand(table, w, true) != nullptr; },
            table.folderExists);
        if (!split.empty()) {
            invocation.splitPath = true;
            return say(Msg::cli_folder_split, {{"word", words[1]}, {"path", split}});
        }
    }
    if (!command) return say(Msg::cli_unknown_command, {{"command", invocation.command}});
    if (command->moreArguments ? invocation.words.size() < command->arguments
                               : invocation.words.size() != command->arguments)
        return say(command->countError);
    if (command->checkWords && !command->checkWords(invocation.words, catalog, error))
        return nullptr;
    for (const auto& given : invocation.options) {
        if (!findOption(*command, given.first)) {
            const OptionSpec* option = findOption(table, given.first);
            if (option->misplaced) return say(*option->misplaced);
            return say(
                Msg::cli_option_of,
                {{"option", given.first}, {"commands", commandsWith(table, given.first, catalog)}});
        }
    }
    if (!command->folder && !invocation.dll.empty()) return say(Msg::cli_dll_misplaced);
    if (command->folder && invocation.folder.empty()) return say(Msg::cli_folder_empty);
    invocation.declared = command;
    return command;
}

ExitStatus runCommandLine(const CommandTable& table, const std::vector<std::string>& argv,
                          Output& output) {
    // The language first, so that even the complaint about an unknown one,
    // and the help, come in the language asked for where it is known.
    bool badLanguage = false;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        if (argv[i] != "--lang") continue;
        const Catalog* catalog = i + 1 < argv.size() ? catalogForCode(argv[i + 1]) : nullptr;
        if (catalog) {
            output.setCatalog(*catalog);
        } else {
            badLanguage = true;
        }
        ++i;
    }
    for (const std::string& w : argv) {
        if (w == "-h" || w == "--help") {
            output.out(usageText(table, output.catalog(), output.width()));
            return exitstatus::kDone;
        }
    }
    Invocation invocation;
    std::string error;
    const CommandSpec* command =
        badLanguage ? nullptr : parseCommandLine(table, argv, output.catalog(), invocation, error);
    if (badLanguage) error = output.text(Msg::cli_lang_value);
    if (!command) {
        std::string text = complaintText(error) + "\n";
        bool nothingGiven = true;  // but --lang
        for (std::size_t i = 0; i < argv.size(); ++i) {
            if (argv[i] == "--lang")
                ++i;
            else
                nothingGiven = false;
        }
        if (nothingGiven) {
            text += usageText(table, output.catalog(), output.width());
        } else if (!invocation.splitPath) {
            // Short enough that the complaint stays on an 80x25 console.
            if (const CommandSpec* named = namedCommand(table, argv))
                text += usageLine(output.catalog(), true, named->usage, output.width());
            text += output.text(Msg::cli_more_help);
        }
        output.err(text);
        return exitstatus::kBadInput;
    }
    return command->run(invocation, output);
}

namespace {

// Throws unless `command` lists `option` (the same declaration) and it has
// what is asked of it: a value, a number.
void requireDeclared(const CommandSpec* command, const OptionSpec& option, bool value,
                     bool number) {
    const OptionSpec* own = command ? findOption(*command, option.name) : nullptr;
    if (own && own->valueError == option.valueError && own->parse == option.parse &&
        (!value || option.takesValue()) && (!number || option.parse))
        return;
    const char* as = number ? "a number" : value ? "a text" : "a flag";
    throw std::logic_error(std::string("option ") + option.name + " read as " + as + " by " +
                           (command ? command->name : "no command") +
                           ", which does not declare it so");
}

}  // namespace

bool Invocation::has(const OptionSpec& option) const {
    requireDeclared(declared, option, false, false);
    return options.count(option.name) != 0;
}

long long Invocation::value(const OptionSpec& option, long long otherwise) const {
    requireDeclared(declared, option, true, true);
    const auto it = numbers.find(option.name);
    return it == numbers.end() ? otherwise : it->second;
}

std::string Invocation::text(const OptionSpec& option) const {
    requireDeclared(declared, option, true, false);
    const auto it = options.find(option.name);
    return it == options.end() ? std::string() : it->second;
}

bool parseWholeNumber32(const std::string& text, long long& value) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0' || v < INT32_MIN || v > INT32_MAX)
        return false;
    value = v;
    return true;
}

bool parseCallNumber(const std::string& text, long long& value) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0' || v < 1 || v > 1000000) return false;
    value = v;
    return true;
}
