#include "cli/Wrap.h"

#include <algorithm>
#include <vector>

#include "encoding/Encodings.h"

namespace {

// The words of `text`; a dash stays with the word before it, so that no
// line begins with one (Russian sets "сервер — это" so).
std::vector<std::string> wordsOf(const std::string& text) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] == ' ') {
            ++at;
            continue;
        }
        std::size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        std::string word = text.substr(at, end - at);
        if (!words.empty() && (word == "\u2014" || word == "\u2013"))
            words.back() += " " + word;
        else
            words.push_back(word);
        at = end;
    }
    return words;
}

void wrapParagraph(const std::string& text, std::size_t width, const std::string& margin,
                   std::string& out, const std::string& hanging) {
    std::string line;
    std::size_t used = 0;  // characters on the line, margin included
    bool first = true;
    for (const std::string& word : wordsOf(text)) {
        const std::size_t length = utf8Characters(word);
        if (!line.empty() && used + 1 + length > width) {
            out += line + "\n";
            line.clear();
            first = false;
        }
        if (line.empty()) {
            const std::string& indent = first ? margin : hanging;
            line = indent + word;
            used = indent.size() + length;
        } else {
            line += " " + word;
            used += 1 + length;
        }
    }
    if (!line.empty()) out += line + "\n";
}

}  // namespace

std::string wrapText(const std::string& text, std::size_t width, std::size_t indent) {
    const std::string margin(indent, ' ');
    std::string out;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        wrapParagraph(text.substr(at, end - at), width, margin, out, margin);
        at = end + 1;
    }
    return out;
}

std::string wrapHanging(const std::string& text, std::size_t width, std::size_t hanging) {
    const std::size_t blanks = std::min(text.find_first_not_of(' '), text.size());
    std::string out;
    wrapParagraph(text.substr(blanks), width, std::string(blanks, ' '), out,
                  std::string(hanging, ' '));
    return out;
}
