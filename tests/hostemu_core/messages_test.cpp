// The message catalogs: every language says every message with the same
// parameters, and a text asked for with a key or a parameter it lacks fails
// the test that asked (any test of this program), not a reader at a till.
#include "i18n/Messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>

#include "cli/Output.h"

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

std::set<std::string> keysOf(const Catalog& c) {
    std::set<std::string> keys;
    for (std::size_t i = 0; i < c.count; ++i) keys.insert(c.messages[i].key);
    return keys;
}

std::set<std::string> parametersOf(const char* text) {
    const std::vector<std::string> names = parameterNames(text);
    return {names.begin(), names.end()};
}

}  // namespace

TEST(Messages, EveryCatalogHasEveryKeyWithTheSameParameters) {
    const Catalog& english = kEnglishCatalog;
    ASSERT_GE(allCatalogs().size(), 2u);
    EXPECT_EQ(allCatalogs()[0], &english);
    std::set<std::string> codes;
    for (const Catalog* c : allCatalogs()) {
        SCOPED_TRACE(c->code);
        EXPECT_TRUE(codes.insert(c->code).second) << "two catalogs for one code";
        EXPECT_EQ(c->fallback, nullptr);
        EXPECT_EQ(&catalogFor(c->language), c);
        EXPECT_EQ(catalogForCode(c->code), c);
        EXPECT_EQ(keysOf(*c).size(), c->count) << "a key given twice";
        EXPECT_EQ(keysOf(*c), keysOf(english));
        for (std::size_t i = 0; i < c->count; ++i) {
            const Message& m = c->messages[i];
            SCOPED_TRACE(m.key);
            EXPECT_NE(std::string(m.text), "");
            const char* other = findMessage(english, m.key);
            if (other) {
                EXPECT_EQ(parametersOf(m.text), parametersOf(other));
            }
        }
    }
    EXPECT_EQ(catalogForCode("de"), nullptr);
    EXPECT_EQ(catalogForCode(""), nullptr);
}

TEST(Messages, FillsParametersAndReportsWhatDoesNotFit) {
    const Message messages[] = {
        {"one", "file {file} of {folder}"},
        {"twice", "{n} and {n}"},
        {"braces", "{\"Status\":1} { x } {1} {a-b} {"},
        {"none", "plain"},
    };
    const Catalog catalog = {Language::English, "xx", messages, std::size(messages)};
    struct Case {
        std::string key;
        std::vector<std::pair<const char*, std::string>> args;
        std::string text;
        std::size_t faults;
    };
    const Case cases[] = {
        {"one", {{"folder", "C:\\t"}, {"file", "a{folder}"}}, "file a{folder} of C:\\t", 0},
        {"twice", {{"n", "7"}}, "7 and 7", 0},
        {"braces", {}, "{\"Status\":1} { x } {1} {a-b} {", 0},
        {"none", {}, "plain", 0},
        {"one", {{"file", "a"}}, "file a of {folder}", 1},  // a parameter not given
        {"none", {{"extra", "x"}}, "plain", 1},             // one the text lacks
        {"absent", {}, "absent", 1},                        // a key no catalog has
        {"one", {{"fil", "a"}, {"folder", "b"}}, "file {file} of b", 2},
    };
    const MessageFaultHandler strict = setMessageFaultHandler(keepFault);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        faults.clear();
        std::string text;
        switch (c.args.size()) {  // an initializer list is built at the call
            case 0: text = formatMessage(catalog, c.key); break;
            case 1: text = formatMessage(catalog, c.key, {c.args[0]}); break;
            default: text = formatMessage(catalog, c.key, {c.args[0], c.args[1]});
        }
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(faults.size(), c.faults);
    }
    setMessageFaultHandler(strict);
    EXPECT_EQ(parameterNames("{b} {a} {b} {\"x\"}"), (std::vector<std::string>{"b", "a"}));
}

TEST(Messages, TheSinkSpeaksItsCatalogsLanguage) {
    const Message extra[] = {{"t.only", "only here"}};
    const Catalog layered = {Language::Russian, "ru", extra, std::size(extra), &kRussianCatalog};
    StringOutput english, russian(kRussianCatalog), both(layered);
    EXPECT_EQ(english.text("cli.unknown-command", {{"command", "fly"}}), "unknown command fly");
    EXPECT_EQ(russian.text("cli.unknown-command", {{"command", "fly"}}), "неизвестная команда fly");
    EXPECT_EQ(both.text("t.only") + " / " + both.text("cli.folder-and-command"),
              "only here / укажите папку и команду");
    EXPECT_EQ(russian.language(), Language::Russian);
    english.setCatalog(kRussianCatalog);
    EXPECT_EQ(english.text("cli.folder-empty"), russian.text("cli.folder-empty"));
}
