#pragma once
// hostemu's texts for people: one catalog (Catalog.def) that gives each
// message once, its English and Russian side by side. Messages are named at
// compile time (Msg::..., PluralMsg::...), so a mistyped name does not build.
// A text names its parameters in braces, "cannot read check file {file}";
// both languages name the same ones, which the tests hold them to.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

enum class Language { English, Russian };

// A message said one way whatever the numbers in it.
enum class Msg : unsigned short {
#define MESSAGE(id, en, ru) id,
#define PLURAL(id, en_one, en_many, ru_one, ru_few, ru_many)
#include "i18n/Catalog.def"
#undef MESSAGE
#undef PLURAL
};

// A message whose words follow a count: English has a form for one and one
// for the rest; Russian has three ("1 предупреждение", "3 предупреждения",
// "5 предупреждений").
enum class PluralMsg : unsigned short {
#define MESSAGE(id, en, ru)
#define PLURAL(id, en_one, en_many, ru_one, ru_few, ru_many) id,
#include "i18n/Catalog.def"
#undef MESSAGE
#undef PLURAL
};

std::size_t messageCount();
std::size_t pluralMessageCount();

// The language a reader asked for, as --lang takes it.
struct Catalog {
    Language language;
    const char* code;  // "en", "ru"
};

extern const Catalog kEnglishCatalog;
extern const Catalog kRussianCatalog;

// Every language's catalog, English first.
std::vector<const Catalog*> allCatalogs();
const Catalog& catalogFor(Language language);
// The catalog --lang CODE names; null for an unknown code.
const Catalog* catalogForCode(const std::string& code);

// The raw texts (UTF-8), for the tests that hold the catalog to its rules.
const char* messageText(Language language, Msg id);
enum class PluralForm { One, Few, Many };
const char* pluralText(Language language, PluralMsg id, PluralForm form);
// The form a count takes: English says One or Many, Russian all three.
PluralForm pluralForm(Language language, unsigned long long count);
// The catalog's name of a message, for fault reports ("check_tls_none").
const char* messageName(Msg id);
const char* messageName(PluralMsg id);

// The parameters a text names, in order of first appearance ("{file}" -> "file").
std::vector<std::string> parameterNames(const char* text);

using MessageArgs = std::initializer_list<std::pair<const char*, std::string>>;

// `text` with its parameters filled in; a parameter not given stays "{name}",
// and that or an argument the text lacks is reported to the fault handler
// (the tests fail on it; at a till the text is still printed). `name` says
// whose text it is in that report.
std::string fillParameters(const char* text, MessageArgs args, const std::string& name);

// The message in the catalog's language, parameters filled in.
std::string formatMessage(const Catalog& catalog, Msg id, MessageArgs args = {});
// The form that `count` takes, parameters filled in (the count is one of
// them, as the text names it).
std::string formatPlural(const Catalog& catalog, PluralMsg id, unsigned long long count,
                         MessageArgs args = {});

// Called with a one-line description of a mismatched parameter; null (the
// default) ignores them.
using MessageFaultHandler = void (*)(const std::string& fault);
// Returns the handler it replaces.
MessageFaultHandler setMessageFaultHandler(MessageFaultHandler handler);
