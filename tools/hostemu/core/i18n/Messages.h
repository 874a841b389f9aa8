#pragma once
// hostemu's texts for people, by key, one catalog per language
// (messages_en.cpp, messages_ru.cpp; a further language is one more such file
// and one line in Messages.cpp). A text names its parameters in braces,
// "cannot read check file {file}"; every catalog gives every key with the same
// parameters, which the tests hold them to.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

enum class Language { English, Russian };

struct Message {
    const char* key;
    const char* text;  // UTF-8
};

struct Catalog {
    Language language;
    const char* code;  // as --lang takes it: "en", "ru"
    const Message* messages;
    std::size_t count;
    // Asked for a key this catalog lacks; null for a language's own catalog,
    // which holds every key.
    const Catalog* fallback = nullptr;
};

extern const Catalog kEnglishCatalog;
extern const Catalog kRussianCatalog;

// Every language's catalog, English first.
std::vector<const Catalog*> allCatalogs();
const Catalog& catalogFor(Language language);
// The catalog --lang CODE names; null for an unknown code.
const Catalog* catalogForCode(const std::string& code);

// The text of `key`, or null when neither the catalog nor its fallback has it.
const char* findMessage(const Catalog& catalog, const std::string& key);

// The parameters a text names, in order of first appearance ("{file}" -> "file").
std::vector<std::string> parameterNames(const char* text);

using MessageArgs = std::initializer_list<std::pair<const char*, std::string>>;

// The text of `key` with its parameters filled in. A missing key gives the key
// itself, a parameter not given stays "{name}": both are reported to the fault
// handler (the tests fail on them; at a till the text is still printed).
std::string formatMessage(const Catalog& catalog, const std::string& key, MessageArgs args = {});

// The plural form a count takes in the catalog's language, the end of a key:
// "one", "few" or "many" ("1 warning", "3 warnings"; in Russian "1
// предупреждение", "3 предупреждения", "5 предупреждений"). Every catalog
// gives all three forms of such a message.
std::string pluralForm(const Catalog& catalog, unsigned long long count);

// Called with a one-line description of a missing key or a mismatched
// parameter; null (the default) ignores them.
using MessageFaultHandler = void (*)(const std::string& fault);
// Returns the handler it replaces.
MessageFaultHandler setMessageFaultHandler(MessageFaultHandler handler);
