#include "i18n/Messages.h"

#include <iterator>

namespace {

struct Texts {
    const char* name;
    const char* en;
    const char* ru;
};

struct PluralTexts {
    const char* name;
    const char* en[2];  // one, many
    const char* ru[3];  // one, few, many
};

const Texts kTexts[] = {
#define MESSAGE(id, en, ru) {#id, en, ru},
#define PLURAL(id, en_one, en_many, ru_one, ru_few, ru_many)
#include "i18n/Catalog.def"
#undef MESSAGE
#undef PLURAL
};

const PluralTexts kPlurals[] = {
#define MESSAGE(id, en, ru)
#define PLURAL(id, en_one, en_many, ru_one, ru_few, ru_many) \
    {#id, {en_one, en_many}, {ru_one, ru_few, ru_many}},
#include "i18n/Catalog.def"
#undef MESSAGE
#undef PLURAL
};

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

const char* codeOf(Language language) { return catalogFor(language).code; }

}  // namespace

extern const Catalog kEnglishCatalog = {Language::English, "en"};
extern const Catalog kRussianCatalog = {Language::Russian, "ru"};

std::size_t messageCount() { return std::size(kTexts); }
std::size_t pluralMessageCount() { return std::size(kPlurals); }

std::vector<const Catalog*> allCatalogs() { return {&kEnglishCatalog, &kRussianCatalog}; }

const Catalog& catalogFor(Language language) {
    return language == Language::Russian ? kRussianCatalog : kEnglishCatalog;
}

const Catalog* catalogForCode(const std::string& code) {
    for (const Catalog* c : allCatalogs()) {
        if (code == c->code) return c;
    }
    return nullptr;
}

const char* messageText(Language language, Msg id) {
    const Texts& t = kTexts[static_cast<std::size_t>(id)];
    return language == Language::Russian ? t.ru : t.en;
}

const char* pluralText(Language language, PluralMsg id, PluralForm form) {
    const PluralTexts& t = kPlurals[static_cast<std::size_t>(id)];
    if (language == Language::Russian) return t.ru[static_cast<int>(form)];
    return t.en[form == PluralForm::One ? 0 : 1];
}

PluralForm pluralForm(Language language, unsigned long long count) {
    if (language != Language::Russian) return count == 1 ? PluralForm::One : PluralForm::Many;
    const unsigned long long tens = count % 100, units = count % 10;
    if (units == 1 && tens != 11) return PluralForm::One;
    if (units >= 2 && units <= 4 && (tens < 12 || tens > 14)) return PluralForm::Few;
    return PluralForm::Many;
}

const char* messageName(Msg id) { return kTexts[static_cast<std::size_t>(id)].name; }
const char* messageName(PluralMsg id) { return kPlurals[static_cast<std::size_t>(id)].name; }

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

std::string fillParameters(const char* text, MessageArgs args, const std::string& name) {
    std::vector<bool> used(args.size(), false);
    std::string result;
    for (std::size_t i = 0; text[i]; ++i) {
        const std::size_t n = placeholderAt(text, i);
        if (n == 0) {
            result += text[i];
            continue;
        }
        const std::string param(text + i + 1, n - 2);
        std::size_t k = 0;
        for (const auto& arg : args) {
            if (param == arg.first) break;
            ++k;
        }
        if (k < args.size()) {
            result += (args.begin() + k)->second;
            used[k] = true;
        } else {
            result.append(text + i, n);
            fault("message " + name + " is not given {" + param + "}");
        }
        i += n - 1;
    }
    std::size_t k = 0;
    for (const auto& arg : args) {
        if (!used[k++]) fault("message " + name + " has no {" + arg.first + "}");
    }
    return result;
}

std::string formatMessage(const Catalog& catalog, Msg id, MessageArgs args) {
    return fillParameters(messageText(catalog.language, id), args,
                          std::string(messageName(id)) + " (" + codeOf(catalog.language) + ")");
}

std::string formatPlural(const Catalog& catalog, PluralMsg id, unsigned long long count,
                         MessageArgs args) {
    return fillParameters(pluralText(catalog.language, id, pluralForm(catalog.language, count)),
                          args,
                          std::string(messageName(id)) + " (" + codeOf(catalog.language) + ")");
}

MessageFaultHandler setMessageFaultHandler(MessageFaultHandler handler) {
    const MessageFaultHandler previous = faultHandler;
    faultHandler = handler;
    return previous;
}
