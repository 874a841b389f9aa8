#include "i18n/Messages.h"

#include <cstring>

namespace {

MessageFaultHandler faultHandler = nullptr;

void fault(const std::string& what) {
    if (faultHandler) faultHandler(what);
}

bool nameChar(char c, bool first) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           (!first && ((c >= '0' && c <= '9') || c == '_'));
}

// Length of the "{name}" at text[i], 0 when there is none: other braces (in
// JSON or CSS quoted by a text) are kept as they are.
std::size_t placeholderAt(const char* text, std::size_t i) {
    if (text[i] != '{' || !nameChar(text[i + 1], true)) return 0;
    std::size_t j = i + 2;
    while (nameChar(text[j], false)) ++j;
    return text[j] == '}' ? j + 1 - i : 0;
}

}  // namespace

std::vector<const Catalog*> allCatalogs() { return {&kEnglishCatalog, &kRussianCatalog}; }

const Catalog& catalogFor(Language language) {
    for (const Catalog* c : allCatalogs()) {
        if (c->language == language) return *c;
    }
    return kEnglishCatalog;
}

const Catalog* catalogForCode(const std::string& code) {
    for (const Catalog* c : allCatalogs()) {
        if (code == c->code) return c;
    }
    return nullptr;
}

const char* findMessage(const Catalog& catalog, const std::string& key) {
    for (const Catalog* c = &catalog; c; c = c->fallback) {
        for (std::size_t i = 0; i < c->count; ++i) {
            if (key == c->messages[i].key) return c->messages[i].text;
        }
    }
    return nullptr;
}

std::vector<std::string> parameterNames(const char* text) {
    std::vector<std::string> names;
    for (std::size_t i = 0; text[i]; ++i) {
        const std::size_t n = placeholderAt(text, i);
        if (n == 0) continue;
        const std::string name(text + i + 1, n - 2);
        bool seen = false;
        for (const std::string& s : names) seen = seen || s == name;
        if (!seen) names.push_back(name);
        i += n - 1;
    }
    return names;
}

std::string formatMessage(const Catalog& catalog, const std::string& key, MessageArgs args) {
    const char* text = findMessage(catalog, key);
    if (!text) {
        fault(std::string("no message ") + key + " in catalog " + catalog.code);
        return key;
    }
    std::vector<bool> used(args.size(), false);
    std::string result;
    for (std::size_t i = 0; text[i]; ++i) {
        const std::size_t n = placeholderAt(text, i);
        if (n == 0) {
            result += text[i];
            continue;
        }
        const std::string name(text + i + 1, n - 2);
        std::size_t k = 0;
        for (const auto& arg : args) {
            if (name == arg.first) break;
            ++k;
        }
        if (k < args.size()) {
            result += (args.begin() + k)->second;
            used[k] = true;
        } else {
            result.append(text + i, n);
            fault("message " + key + " (" + catalog.code + ") is not given {" + name + "}");
        }
        i += n - 1;
    }
    std::size_t k = 0;
    for (const auto& arg : args) {
        if (!used[k++])
            fault("message " + key + " (" + catalog.code + ") has no {" + arg.first + "}");
    }
    return result;
}

std::string pluralForm(const Catalog& catalog, unsigned long long count) {
    if (catalog.language != Language::Russian) return count == 1 ? "one" : "many";
    const unsigned long long tens = count % 100, units = count % 10;
    if (units == 1 && tens != 11) return "one";
    if (units >= 2 && units <= 4 && (tens < 12 || tens > 14)) return "few";
    return "many";
}

MessageFaultHandler setMessageFaultHandler(MessageFaultHandler handler) {
    const MessageFaultHandler previous = faultHandler;
    faultHandler = handler;
    return previous;
}
