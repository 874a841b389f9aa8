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
    std::optional<std::string> select() {
        return selectToken(orderCategory(reader), conf.child("Configuration"));
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

TEST_F(TokenTest, CheckDataWithoutOrderCategoryFailsGetToken) {
    places(place("1", "fb", " Default=\"true\""));
    check("chmode=\"1\"", "orderguid=\"g\"");
    HttpClient client;
    EXPECT_EQ(getToken("GetCardInfoEx", conf.child("Configuration"), reader, client, log), "");
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
    EXPECT_EQ(getToken("TransactionsEx", conf.child("Configuration"), reader, client, log), "");
    std::string text = stampless(logText());
    EXPECT_EQ(text, "[S] TransactionsEx : getToken success" + kEol +
                        "[S] TransactionsEx : ERROR finding token" + kEol);
}

TEST_F(TokenTest, ChmodIsReadOrMinusOne) {
    check("chmode=\"16\"");
    EXPECT_EQ(checkChmod("GetCardInfoEx", reader, log), 16);
    check("restaurantcode=\"7\"");
    EXPECT_EQ(checkChmod("GetCardInfoEx", reader, log), -1);
    check("chmode=\"x\"");
    EXPECT_EQ(checkChmod("GetCardInfoEx", reader, log), 0);
    std::string text = logText();
    EXPECT_THAT(text, HasSubstr("GetCardInfoEx : checkChmod is 16" + kEol));
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
