// The message catalog: every language says every message with the same
// parameters, and a text asked for with a parameter it lacks fails the test
// that asked (any test of this program), not a reader at a till.
#include "i18n/Messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <pugixml.hpp>
#include <set>

#include "cli/Output.h"
#include "confreport/XmlFault.h"
#include "connectioncheck/StepJudgement.h"
#include "http/ErrorText.h"

namespace {

void failOnFault(const std::string& fault) { ADD_FAILURE() << fault; }

// Every test of hostemu's core runs with faults as failures.
class StrictMessages : public ::testing::Environment {
    void SetUp() override { setMessageFaultHandler(failOnFault); }
};
const ::testing::Environment* const kStrict =
    ::testing::AddGlobalTestEnvironment(new StrictMessages);

std::vector<std::string> faults;
void keepFault(const std::string& fault) { faults.push_back(fault); }

std::set<std::string> parametersOf(const char* text) {
    const std::vector<std::string> names = parameterNames(text);
    return {names.begin(), names.end()};
}

const PluralForm kForms[] = {PluralForm::One, PluralForm::Few, PluralForm::Many};

}  // namespace

TEST(Messages, EveryLanguageSaysEveryMessageWithTheSameParameters) {
    ASSERT_GE(allCatalogs().size(), 2u);
    EXPECT_EQ(allCatalogs()[0], &kEnglishCatalog);
    std::set<std::string> codes;
    for (const Catalog* c : allCatalogs()) {
        EXPECT_TRUE(codes.insert(c->code).second) << "two catalogs for one code";
        EXPECT_EQ(&catalogFor(c->language), c);
        EXPECT_EQ(catalogForCode(c->code), c);
    }
    EXPECT_EQ(catalogForCode("de"), nullptr);
    EXPECT_EQ(catalogForCode(""), nullptr);
    for (std::size_t i = 0; i < messageCount(); ++i) {
        const Msg id = static_cast<Msg>(i);
        SCOPED_TRACE(messageName(id));
        const char* english = messageText(Language::English, id);
        const char* russian = messageText(Language::Russian, id);
        EXPECT_NE(std::string(english), "");
        EXPECT_NE(std::string(russian), "");
        EXPECT_EQ(parametersOf(russian), parametersOf(english));
    }
    for (std::size_t i = 0; i < pluralMessageCount(); ++i) {
        const PluralMsg id = static_cast<PluralMsg>(i);
        SCOPED_TRACE(messageName(id));
        const auto expected = parametersOf(pluralText(Language::English, id, PluralForm::One));
        for (Language language : {Language::English, Language::Russian}) {
            for (PluralForm form : kForms) {
                EXPECT_EQ(parametersOf(pluralText(language, id, form)), expected);
            }
        }
    }
}

TEST(Messages, FillsParametersAndReportsWhatDoesNotFit) {
    struct Case {
        const char* text;
        std::vector<std::pair<const char*, std::string>> args;
        std::string filled;
        std::size_t faults;
    };
    const Case cases[] = {
        {"file {file} of {folder}",
         {{"folder", "C:\\t"}, {"file", "a{folder}"}},
         "file a{folder} of C:\\t",
         0},
        {"{n} and {n}", {{"n", "7"}}, "7 and 7", 0},
        {"{\"Status\":1} { x } {1} {a-b} {", {}, "{\"Status\":1} { x } {1} {a-b} {", 0},
        {"plain", {}, "plain", 0},
        {"file {file} of {folder}", {{"file", "a"}}, "file a of {folder}", 1},  // not given
        {"plain", {{"extra", "x"}}, "plain", 1},  // one the text lacks
        {"file {file} of {folder}", {{"fil", "a"}, {"folder", "b"}}, "file {file} of b", 2},
    };
    const MessageFaultHandler strict = setMessageFaultHandler(keepFault);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        faults.clear();
        std::string text;
        switch (c.args.size()) {  // an initializer list is built at the call
            case 0: text = fillParameters(c.text, {}, "t"); break;
            case 1: text = fillParameters(c.text, {c.args[0]}, "t"); break;
            default: text = fillParameters(c.text, {c.args[0], c.args[1]}, "t");
        }
        EXPECT_EQ(text, c.filled);
        EXPECT_EQ(faults.size(), c.faults);
    }
    setMessageFaultHandler(strict);
    EXPECT_EQ(parameterNames("{b} {a} {b} {\"x\"}"), (std::vector<std::string>{"b", "a"}));
}

TEST(Messages, CountsTakeTheirLanguagesForm) {
    struct Case {
        unsigned long long count;
        PluralForm english, russian;
    };
    const Case cases[] = {
        {0, PluralForm::Many, PluralForm::Many},   {1, PluralForm::One, PluralForm::One},
        {2, PluralForm::Many, PluralForm::Few},    {4, PluralForm::Many, PluralForm::Few},
        {5, PluralForm::Many, PluralForm::Many},   {11, PluralForm::Many, PluralForm::Many},
        {12, PluralForm::Many, PluralForm::Many},  {21, PluralForm::Many, PluralForm::One},
        {22, PluralForm::Many, PluralForm::Few},   {111, PluralForm::Many, PluralForm::Many},
        {114, PluralForm::Many, PluralForm::Many}, {1001, PluralForm::Many, PluralForm::One},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        EXPECT_EQ(pluralForm(Language::English, c.count), c.english);
        EXPECT_EQ(pluralForm(Language::Russian, c.count), c.russian);
    }
    EXPECT_EQ(formatPlural(kRussianCatalog, PluralMsg::summary_calls, 3, {{"n", "3"}}), "3 вызова");
}

TEST(Messages, TheSinkSpeaksItsCatalogsLanguage) {
    StringOutput english, russian(kRussianCatalog);
    EXPECT_EQ(english.text(Msg::cli_unknown_command, {{"command", "fly"}}), "unknown command fly");
    EXPECT_EQ(russian.text(Msg::cli_unknown_command, {{"command", "fly"}}),
              "неизвестная команда fly");
    EXPECT_EQ(russian.language(), Language::Russian);
    english.setCatalog(kRussianCatalog);
    EXPECT_EQ(english.text(Msg::cli_folder_empty), russian.text(Msg::cli_folder_empty));
}

// Texts that say another's words in English (the parser's, the DLL's log) say
// exactly those words, and Russian has its own for each.
TEST(Messages, EnglishTextsQuoteTheirSourcesWordForWord) {
    for (int s = pugi::status_ok; s <= pugi::status_no_document_element; ++s) {
        pugi::xml_parse_result r;
        r.status = static_cast<pugi::xml_parse_status>(s);
        SCOPED_TRACE(r.description());
        EXPECT_EQ(xmlFaultText(r, kEnglishCatalog), r.description());
        const std::string russian = xmlFaultText(r, kRussianCatalog);
        EXPECT_NE(russian, r.description());
        if (s != pugi::status_internal_error) {
            EXPECT_NE(russian, formatMessage(kRussianCatalog, Msg::xml_internal_error))
                << "a status without its own text";
        }
    }
    int own = 0;
    for (uint32_t code = 12000; code < 12200; ++code) {
        if (const std::optional<Msg> m = errorTextMessage(code)) {
            ++own;
            EXPECT_EQ(formatMessage(kEnglishCatalog, *m), ownErrorText(code)) << code;
        } else {
            EXPECT_EQ(ownErrorText(code), "") << code;
        }
    }
    EXPECT_EQ(own, 15);
}
