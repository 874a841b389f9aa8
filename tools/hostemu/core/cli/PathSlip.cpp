#include "cli/PathSlip.h"

namespace {

bool endsInDll(const std::string& word) {
    if (word.size() < 4) return false;
    std::string end = word.substr(word.size() - 4);
    for (char& c : end) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return end == ".dll";
}

std::string joined(const std::vector<std::string>& words, std::size_t from, std::size_t to) {
    std::string path = words[from];
    for (std::size_t i = from + 1; i < to; ++i) path += " " + words[i];
    return path;
}

}  // namespace

std::string splitDllPath(const std::vector<std::string>& argv, std::size_t value) {
    if (value >= argv.size() || endsInDll(argv[value])) return "";
    for (std::size_t i = value + 1; i < argv.size(); ++i) {
        if (argv[i].compare(0, 2, "--") == 0) return "";
        if (endsInDll(argv[i])) return joined(argv, value, i + 1);
    }
    return "";
}

std::string splitFolder(const std::vector<std::string>& words,
                        const std::function<bool(const std::string& word)>& isCommand,
                        const std::function<bool(const std::string& path)>& folderExists) {
    if (words.size() < 3 || isCommand(words[1])) return "";
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (!isCommand(words[i])) continue;
        const std::string path = joined(words, 0, i);
        return !folderExists(words[0]) || folderExists(path) ? path : "";
    }
    return "";
}
