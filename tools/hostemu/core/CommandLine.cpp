#include "CommandLine.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "Output.h"

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
std::string commandsWith(const CommandTable& table, const std::string& option) {
    std::vector<std::string> names;
    for (const CommandSpec* command : table.commands) {
        if (findOption(*command, option)) names.push_back(command->name);
    }
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) list += i + 1 == names.size() ? " and " : ", ";
        list += names[i];
    }
    return list;
}

// A word that is an option, not a negative number given as an argument.
bool looksLikeOption(const std::string& word) {
    return word.size() > 1 && word[0] == '-' && !(word[1] >= '0' && word[1] <= '9');
}

}  // namespace

std::string usageText(const CommandTable& table) {
    std::string text;
    for (std::size_t i = 0; i < table.commands.size(); ++i) {
        text += i == 0 ? "usage: hostemu " : "       hostemu ";
        text += table.commands[i]->usage;
        text += "\n";
    }
    return text + table.description;
}

const CommandSpec* parseCommandLine(const CommandTable& table, const std::vector<std::string>& argv,
                                    Invocation& invocation, std::string& error) {
    std::vector<std::string> words;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& w = argv[i];
        if (w == "--brief") {
            invocation.brief = true;
        } else if (const OptionSpec* option = findOption(table, w)) {
            if (!option->valueError) {
                invocation.options[w] = 1;
                continue;
            }
            long long value = 0;
            if (i + 1 >= argv.size() || argv[i + 1].empty() ||
                (option->parse && !option->parse(argv[i + 1], value))) {
                error = option->valueError;
                return nullptr;
            }
            if (option->parse) {
                invocation.options[w] = value;
            } else {
                invocation.texts[w] = argv[i + 1];
            }
            ++i;
        } else if (looksLikeOption(w)) {
            error = "unknown option " + w;
            return nullptr;
        } else {
            words.push_back(w);
        }
    }
    const CommandSpec* command = nullptr;
    for (const CommandSpec* c : table.commands) {
        if (c->withoutFolder && !words.empty() && words[0] == c->name) command = c;
    }
    if (command) {
        invocation.command = words[0];
        invocation.words.assign(words.begin() + 1, words.end());
    } else {
        if (words.size() < 2) {
            error = "give a folder and a command";
            return nullptr;
        }
        invocation.folder = words[0];
        invocation.command = words[1];
        invocation.words.assign(words.begin() + 2, words.end());
        for (const CommandSpec* c : table.commands) {
            if (invocation.command == c->name) command = c;
        }
        if (!command) {
            error = "unknown command " + invocation.command;
            return nullptr;
        }
        if (command->withoutFolder) {
            error = command->name + std::string(" takes no folder: hostemu ") + command->usage;
            return nullptr;
        }
    }
    if (command->moreArguments ? invocation.words.size() < command->arguments
                               : invocation.words.size() != command->arguments) {
        error = command->countError;
        return nullptr;
    }
    if (command->checkWords && !command->checkWords(invocation.words, error)) return nullptr;
    std::vector<std::string> given;
    for (const auto& o : invocation.options) given.push_back(o.first);
    for (const auto& o : invocation.texts) given.push_back(o.first);
    for (const std::string& name : given) {
        if (!findOption(*command, name)) {
            const OptionSpec* option = findOption(table, name);
            error = option->misplaced
                        ? option->misplaced
                        : name + " is an option of " + commandsWith(table, name) + " only";
            return nullptr;
        }
    }
    if (!command->withoutFolder && invocation.folder.empty()) {
        error = "the folder is empty";
        return nullptr;
    }
    return command;
}

int runCommandLine(const CommandTable& table, const std::vector<std::string>& argv,
                   Output& output) {
    for (const std::string& w : argv) {
        if (w == "-h" || w == "--help") {
            output.out(usageText(table));
            return 0;
        }
    }
    Invocation invocation;
    std::string error;
    const CommandSpec* command = parseCommandLine(table, argv, invocation, error);
    if (!command) {
        output.err("hostemu: " + error + "\n" + usageText(table));
        return 2;
    }
    return command->run(invocation, output);
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
