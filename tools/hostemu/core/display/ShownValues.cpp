#include "display/ShownValues.h"

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string maskToken(const std::string& token, const Catalog& catalog) {
    const std::size_t n = token.size();
    std::string shown;
    if (n <= 4) {
        shown.assign(n, '*');
    } else if (n <= 8) {
        shown = token.substr(0, 2) + std::string(n - 2, '*');
    } else {
        shown = token.substr(0, 4) + std::string(n - 6, '*') + token.substr(n - 2);
    }
    return quoted(shown) + " " +
           formatPlural(catalog, PluralMsg::shown_characters, n, {{"count", std::to_string(n)}});
}

bool isPlainInteger(const std::string& text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
}

bool hasWhiteSpace(const std::string& text) {
    return text.find_first_of(" \t\r\n") != std::string::npos;
}
