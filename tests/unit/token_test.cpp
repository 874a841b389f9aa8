#include "config/Token.h"

#include <gmock/gmock.h>

#include <regex>

#include "TestSupport.h"
#include "check/CheckXml.h"
#include "check/WorkingMode.h"
#include "http/HttpClient.h"
#include "log/Logger.h"

using namespace testsupport;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class TokenTest : public InTempDir {
  protected:
    // A loaded check with the given CHECK and (optional) CHECKDATA attributes.
    void check(const std::string& checkAttrs, const char* checkDataAttrs = nullptr) {
        std::string xml = "<CHECK " + checkAttrs + "/>";
        if (checkDataAttrs) xml += std::string("<CHECKDATA ") + checkDataAttrs + "/>";
        ASSERT_TRUE(reader.doc.load_string(xml.c_str()));
        reader.check = reader.doc.child("CHECK");
        reader.checkData = reader.doc.child("CHECKDATA");
    }
    void places(const std::string& body) {
        ASSERT_TRUE(conf.load_string(("<Configuration>" + body + "</Configuration>").c_str()));
    }
    // The chosen token, none when no place gives one.
    std::optional<std::string> select() {
        const TokenChoice choice = selectToken(orderCategory(reader), conf.child("Configuration"));
        return choice ? std::optional<std::string>(choice.token) : std::nullopt;
    }
    static std::string place(const std::string& code, const std::string& token,
                             const std::string& attrs = "") {
        return "<PlaceOfService><PlaceCode>" + code + "</PlaceCode><LoyltyApiToken" + attrs + ">" +
               token + "</LoyltyApiToken></PlaceOfService>";
    }

    CheckXml reader;
    pugi::xml_document conf;
    Logger log;
};

TEST_F(TokenTest, PlaceCodeFollowsAtoiRule) {
    places(place("abc", "A") + place("", "B") + place("12abc", "C"));
    check("chmode=\"1\"", "order_cat=\"0\"");
    EXPECT_EQ(select(), "A");
    check("chmode=\"1\"", "order_cat=\"12\"");
    EXPECT_EQ(select(), "C");
}

TEST_F(TokenTest, MatchWinsOverFallbackAndFirstMatchWins) {
    places(place("1", "fallback", " Default=\"true\"") + place("2", "first") +
           place("2", "second"));
    check("", "order_cat=\"2\"");
    EXPECT_EQ(select(), "first");
}

TEST_F(TokenTest, LastExactFallbackWinsWithoutMatch) {
    places(place("1", "one", " Default=\"true\"") + place("2", "two", " Default=\"true\"") +
           place("3", "three", " Default=\"True\""));
    check("", "order_cat=\"9\"");
    EXPECT_EQ(select(), "two");
    places(place("1", "one", " Default=\"True\"") + place("2", "two", " Default=\"yes\""));
    EXPECT_EQ(select(), std::nullopt);
}

TEST_F(TokenTest, MatchingPlaceWithEmptyTokenGivesEmptyNotFallback) {
    places(place("1", "fb", " Default=\"true\"") + place("4", ""));
    check("", "order_cat=\"4\"");
    EXPECT_EQ(select(), "");
    places(place("1", "fb", " Default=\"true\"") +
           "<PlaceOfService><PlaceCode>4</PlaceCode></PlaceOfService>");
    EXPECT_EQ(select(), "");
}

TEST_F(TokenTest, WithoutCheckDataTheCategoryIsMinusOne) {
    places(place("-1", "minus") + place("0", "zero", " Default=\"true\""));
    check("chmode=\"1\"");
    EXPECT_EQ(select(), "minus");
}

TEST_F(TokenTest, ChoiceNamesItsPlaceAndWhy) {
    using Why = TokenChoice::Why;
    const std::string marked = place("1", "fb1", " Default=\"true\"") + place("2", "two") +
                               place("2", "again") + place("3", "fb3", " Default=\"true\"");
    const struct {
        std::string places;
        int32_t category;
        Why why;
        int place;
        const char* token;
    } cases[] = {
        {marked, 2, Why::Match, 2, "two"},     // the first of two matches
        {marked, 3, Why::Match, 4, "fb3"},     // a marked place that matches is a match
        {marked, 9, Why::Fallback, 4, "fb3"},  // the last marked place
        {place("1", "one") + place("2", "two"), 9, Why::None, 0, ""},
    };
    for (const auto& c : cases) {
        places(c.places);
        const TokenChoice choice = selectToken(c.category, conf.child("Configuration"));
        EXPECT_EQ(choice.why, c.why) << c.category;
        EXPECT_EQ(choice.place, c.place) << c.category;
        EXPECT_EQ(choice.token, c.token) << c.category;
        EXPECT_EQ(static_cast<bool>(choice), c.why != Why::None);
    }
}

TEST_F(TokenTest, CheckDataWithoutOrderCategoryFailsGetToken) {
    places(place("1", "fb", " Default=\"true\""));
    check("chmode=\"1\"", "orderguid=\"g\"");
    HttpClient client;
    EXPECT_EQ(getToken("GetCardInfoEx", conf.child("Configuration"), reader, client, log),
              std::nullopt);
    std::string text = logText();
    EXPECT_THAT(text, HasSubstr("GetCardInfoEx : ERROR getToken XmlElementNotFoundAttribute "
                                "order_cat not found" +
                                kEol));
    EXPECT_THAT(text, Not(HasSubstr("getToken success")));
}

TEST_F(TokenTest, NoTokenLogsSuccessThenFinding) {
    places(place("1", "one"));
    check("", "order_cat=\"2\"");
    HttpClient client;
    EXPECT_EQ(getToken("TransactionsEx", conf.child("Configuration"), reader, client, log),
              std::nullopt);
    std::string text = stampless(logText());
    EXPECT_EQ(text, "[S] TransactionsEx : getToken success" + kEol +
                        "[S] TransactionsEx : ERROR finding token" + kEol);
}

TEST_F(TokenTest, ChmodIsReadOrNone) {
    const struct {
        const char* attrs;
        std::optional<int32_t> mode;
    } cases[] = {{"chmode=\"16\"", 16},
                 {"restaurantcode=\"7\"", std::nullopt},
                 {"chmode=\"x\"", 0},
                 {"chmode=\"-1\"", std::nullopt}};  // read, yet no mode for the flows
    for (const auto& c : cases) {
        check(c.attrs);
        EXPECT_EQ(checkChmod("GetCardInfoEx", reader, log), c.mode) << c.attrs;
    }
    std::string text = logText();
    EXPECT_THAT(text, HasSubstr("GetCardInfoEx : checkChmod is 16" + kEol));
    EXPECT_THAT(text, HasSubstr("GetCardInfoEx : checkChmod is -1" + kEol));
    EXPECT_THAT(text, HasSubstr("GetCardInfoEx : ERROR checkChmod XmlElementNotFoundAttribute "
                                "chmode not found" +
                                kEol));
}

}  // namespace

namespace {

ServiceAddress addressOf(const char* xml) {
    pugi::xml_document doc;
    doc.load_string(xml);
    return readServiceAddress(doc.child("Configuration"));
}

TEST(ServiceAddressTest, SslMustBeExactlyTrueAndHostIsUntrimmed) {
    EXPECT_TRUE(addressOf("<Configuration><SSL>true</SSL></Configuration>").secure);
    EXPECT_FALSE(addressOf("<Configuration><SSL>TRUE</SSL></Configuration>").secure);
    EXPECT_FALSE(addressOf("<Configuration><SSL>1</SSL></Configuration>").secure);
    EXPECT_FALSE(addressOf("<Configuration/>").secure);
    ServiceAddress spread = addressOf(
        "<Configuration><ApiAddress>\n  api.example\n</ApiAddress>"
        "</Configuration>");
    EXPECT_EQ(spread.host, "\n  api.example\n");
    EXPECT_EQ(addressOf("<Configuration/>").host, "");
}

}  // namespace
