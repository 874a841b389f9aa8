#include "config/Config.h"

#include <gmock/gmock.h>

#include <regex>

#include "TestSupport.h"
#include "log/Logger.h"

using namespace testsupport;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class ConfigTest : public InTempDir {
  protected:
    Logger log;
    pugi::xml_document doc;
};

TEST_F(ConfigTest, LoadsConfigurationAndLogs) {
    writeFile("conf.xml", "<Configuration><ApiAddress>api.example</ApiAddress></Configuration>");
    pugi::xml_node conf = GetConfig(log, doc);
    ASSERT_TRUE(conf);
    EXPECT_STREQ(conf.child("ApiAddress").first_child().value(), "api.example");
    EXPECT_THAT(logText(), ::testing::HasSubstr("] GetConfig : TRY GET configuration" + kEol));
}

TEST_F(ConfigTest, MissingOrMalformedFileGivesEmptyNodeAndNoEntry) {
    EXPECT_FALSE(GetConfig(log, doc));
    writeFile("conf.xml", "<Configuration><ApiAddress>x</Configuration>");
    EXPECT_FALSE(GetConfig(log, doc));
    EXPECT_FALSE(std::filesystem::exists("brisvane.log"));
}

TEST_F(ConfigTest, OtherRootLoadsButYieldsEmptyNode) {
    writeFile("conf.xml", "<Settings><ApiAddress>x</ApiAddress></Settings>");
    pugi::xml_node conf = GetConfig(log, doc);
    EXPECT_FALSE(conf);
    EXPECT_FALSE(conf.child("ApiAddress"));  // lookups on the empty node stay empty
    EXPECT_THAT(logText(), ::testing::HasSubstr("GetConfig : TRY GET configuration"));
}

TEST_F(ConfigTest, CurrencyCodesFollowDocumentOrderWithAtoiRule) {
    writeFile("conf.xml", R"(<Configuration>
  <BonusAccount><CurrencyCode>5</CurrencyCode><CardSubAccount>2</CardSubAccount></BonusAccount>
  <DepositAccount><CurrencyCode> -7</CurrencyCode></DepositAccount>
  <BonusAccount><CurrencyCode>5</CurrencyCode></BonusAccount>
  <BonusAccount><CurrencyCode>12abc</CurrencyCode></BonusAccount>
  <BonusAccount><CurrencyCode>abc</CurrencyCode></BonusAccount>
  <BonusAccount><CardSubAccount>3</CardSubAccount></BonusAccount>
  <DepositAccount><CurrencyCode>+8</CurrencyCode></DepositAccount>
</Configuration>)");
    pugi::xml_node conf = GetConfig(log, doc);
    EXPECT_THAT(bonusCurrencyCodes(conf), ElementsAre(5, 5, 12, 0, 0));
    EXPECT_THAT(depositCurrencyCodes(conf), ElementsAre(-7, 8));
}

TEST_F(ConfigTest, NoConfigurationGivesEmptyLists) {
    pugi::xml_node conf = GetConfig(log, doc);
    EXPECT_THAT(bonusCurrencyCodes(conf), IsEmpty());
    EXPECT_THAT(depositCurrencyCodes(conf), IsEmpty());
}

TEST_F(ConfigTest, WriteConfToLogCopiesWholeFileOrEmptyMessage) {
    WriteConfToLog(log);
    const std::string conf = "<Configuration>\n  <SSL>true</SSL>\n</Configuration>\n";
    writeFile("conf.xml", conf);
    WriteConfToLog(log);
    std::string text = stampless(logText());
    EXPECT_EQ(text, "[S] WriteConfToLog : " + kEol + "[S] WriteConfToLog : <Configuration>" + kEol +
                        "  <SSL>true</SSL>" + kEol + "</Configuration>" + kEol + kEol);
}

}  // namespace
