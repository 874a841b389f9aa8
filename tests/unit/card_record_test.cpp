#include <gmock/gmock.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <regex>
#include <vector>

#include "TestSupport.h"
#include "api/ReplyAccess.h"
#include "host/DiscountReply.h"
#include "log/Logger.h"
#include "record/CardInfoRecord.h"

using namespace testsupport;

namespace {

TEST(AmountRule, TruncatesTowardZeroInHundredths) {
    EXPECT_EQ(amountToHundredths(15), 1500);
    EXPECT_EQ(amountToHundredths(12.345), 1234);
    EXPECT_EQ(amountToHundredths(0.1), 10);
    EXPECT_EQ(amountToHundredths(-2.999), -299);
    EXPECT_EQ(amountToHundredths(10.5), 1050);
    // Hostile magnitudes saturate instead of invoking undefined conversions.
    EXPECT_EQ(amountToHundredths(1e300), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(amountToHundredths(-1e300), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(amountToHundredths(std::nan("")), 0);
}

// Packed fields are compared through "+" copies: a reference to one would be misaligned.
TEST(AccessAmount, OnlySubAccountsOneToEightAreWritten) {
    CardInfoRecord r{};
    for (int32_t sub : {0, 9, -1, 100}) setAccessAmount(&r, sub, 77);
    EXPECT_EQ(std::memcmp(&r, std::vector<char>(sizeof r, 0).data(), sizeof r), 0);
    setAccessAmount(&r, 1, 11);
    setAccessAmount(&r, 8, 88);
    EXPECT_EQ(+r.Access_amount, 11);
    EXPECT_EQ(+r.Access_amount8, 88);
    EXPECT_EQ(+r.Access_amount7, 0);
}

TEST(RecordText, LongTextIsCutAtTheFieldWidth) {
    CardInfoRecord r{};
    r.Owner_id = 0x0102030405060708;
    setRecordText(r.Card_owner, std::string(100, 'N'));
    EXPECT_EQ(std::string(r.Card_owner), std::string(39, 'N'));
    EXPECT_EQ(+r.Owner_id, 0x0102030405060708);
}

class DumpTest : public InTempDir {};

TEST_F(DumpTest, EmptyRecordDumpsEveryLineInOrder) {
    CardInfoRecord r{};
    r.Size = 1164;
    r.Account_number = 4294967291u;
    r.Owner_id = -5;
    r.Access_amount3 = -300;
    std::strcpy(r.Card_owner, "Ivanov");
    dumpCardInfo("GetCardInfoEx RESULT INFO", &r);
    const std::string expected =
        "[S] GetCardInfoEx RESULT INFO : Info - \n"
        "Access_amount: 0;\nAccess_amount2: 0;\nAccess_amount3: -300;\nAccess_amount4: 0;\n"
        "Access_amount5: 0;\nAccess_amount6: 0;\nAccess_amount7: 0;\nAccess_amount8: 0;\n"
        "Account_number: 4294967291;\nMax_discount: 0;\nBlocked: 0;\nSize: 1164;\nDeleted: 0;\n"
        "Need_withdraw: 0;\nExpired: 0;\nNot_valid: 0;\nManager_confirm: 0;\nBlock_reason: ;\n"
        "Card_owner: Ivanov;\nOwner_id: -5;\nAccount_number: 4294967291;\nNot_pay_type: 0;\n"
        "Bonus_num: 0;\nDiscount_num: 0;\nComment: ;\nScreen_comment: ;\nPrinter_comment: ;\n";
    std::string text = stampless(logText());
    EXPECT_EQ(text, std::regex_replace(expected, std::regex("\n"), kEol));
}

TEST_F(DumpTest, NullRecordEndsWithoutLineFeed) {
    dumpCardInfo("SendRequestWrapper", nullptr);
    Logger().logMessage("X", "next");
    std::string text = stampless(logText());
    EXPECT_EQ(text, "[S] SendRequestWrapper : Info - " + kEol + "NULL[S] X : next" + kEol);
}

class DiscountReplyTest : public InTempDir {
  protected:
    void SetUp() override {
        InTempDir::SetUp();
        std::memset(&record, 0xAB, sizeof record);
    }
    void configure(const char* xml) { ASSERT_TRUE(confDoc.load_string(xml)); }
    pugi::xml_node conf() { return confDoc.child("Configuration"); }
    void fill(const std::string& json, int64_t clientId = 42) {
        reply.Parse(json.c_str());
        ASSERT_FALSE(reply.HasParseError()) << json;
        fillFromDiscountReply(&record, reply, clientId, conf(), log);
    }
    static std::string replyWith(const std::string& extra) {
        return R"({"Status":1,"FIO":"Иванов Иван","NotPayType":4294967298,"BonusId":65537,)"
               R"("DiscountId":3,"SumDiscount":0.1,"MaxBonus":10.5,"MaxDeposit":-2.999,)"
               R"("LoyaltyLevel":"Gold","PrintMessage":"Спасибо")" +
               extra + "}";
    }

    CardInfoRecord record;
    pugi::xml_document confDoc;
    rapidjson::Document reply;
    Logger log;
};

TEST_F(DiscountReplyTest, FillsFieldsAndConfiguredSubAccounts) {
    configure(R"(<Configuration>
        <BonusAccount><CardSubAccount>2</CardSubAccount></BonusAccount>
        <BonusAccount><CardSubAccount>5</CardSubAccount></BonusAccount>
        <BonusAccount><CardSubAccount>9</CardSubAccount></BonusAccount>
        <BonusAccount><CardSubAccount>0</CardSubAccount></BonusAccount>
        <BonusAccount/>
        <DepositAccount><CardSubAccount>3</CardSubAccount></DepositAccount>
        <DepositAccount><CardSubAccount>4</CardSubAccount></DepositAccount>
      </Configuration>)");
    fill(replyWith(R"(,"Message":"")"), -5);
    EXPECT_EQ(record.Blocked, 0);
    EXPECT_STREQ(record.Card_owner, "\xC8\xE2\xE0\xED\xEE\xE2 \xC8\xE2\xE0\xED");
    EXPECT_EQ(+record.Owner_id, -5);
    EXPECT_EQ(+record.Account_number, 4294967291u);
    EXPECT_EQ(+record.Not_pay_type, 2u);
    EXPECT_EQ(+record.Bonus_num, 1);
    EXPECT_EQ(+record.Discount_num, 3);
    EXPECT_EQ(+record.Max_discount, 10);
    EXPECT_EQ(+record.Access_amount2, 1050);
    EXPECT_EQ(+record.Access_amount5, 1050);
    EXPECT_EQ(+record.Access_amount3, -299);  // only the first DepositAccount counts
    const int64_t untouched = static_cast<int64_t>(0xABABABABABABABABull);
    for (int64_t v : {record.Access_amount, record.Access_amount4, record.Access_amount6,
                      record.Access_amount7, record.Access_amount8})
        EXPECT_EQ(v, untouched);
    EXPECT_STREQ(record.Comment, "");
    EXPECT_STREQ(record.Screen_comment, "Gold");
    EXPECT_STREQ(record.Printer_comment, "\xD1\xEF\xE0\xF1\xE8\xE1\xEE");
    EXPECT_EQ(+record.Size, 0xABAB);  // never written by the module
    EXPECT_EQ(static_cast<unsigned char>(record.Block_reason[0]), 0xAB);

    std::string text = logText();
    EXPECT_THAT(text,
                ::testing::HasSubstr(
                    "GetCardInfoEx : Try find configuration->first_node(\"BonusAccount\")" + kEol));
    EXPECT_THAT(text,
                ::testing::HasSubstr(
                    "GetCardInfoEx : Try find configuration->first_node(\"DepositAccount\")"));
}

TEST_F(DiscountReplyTest, AbsentMessageLeavesCommentAndChineseBecomesQuestionMark) {
    configure("<Configuration/>");
    std::strcpy(record.Comment, "host text");
    fill(R"({"FIO":"Li 李","NotPayType":0,"BonusId":0,"DiscountId":0,"SumDiscount":0,)"
         R"("MaxBonus":0,"MaxDeposit":0,"LoyaltyLevel":"","PrintMessage":""})");
    EXPECT_STREQ(record.Comment, "host text");
    EXPECT_STREQ(record.Card_owner, "Li ?");
}

TEST_F(DiscountReplyTest, MalformedReplyThrowsBeforeWritingAnything) {
    configure(
        "<Configuration><BonusAccount><CardSubAccount>1</CardSubAccount></BonusAccount>"
        "</Configuration>");
    const CardInfoRecord before = record;
    const std::string bad[] = {
        R"({"FIO":"x"})",              // members missing
        replyWith(R"(,"Message":5)"),  // Message of another type
        R"({"FIO":1,"NotPayType":0,"BonusId":0,"DiscountId":0,"SumDiscount":0,"MaxBonus":0,)"
        R"("MaxDeposit":0,"LoyaltyLevel":"","PrintMessage":""})",
        R"({"FIO":"","NotPayType":"0","BonusId":0,"DiscountId":0,"SumDiscount":0,"MaxBonus":0,)"
        R"("MaxDeposit":0,"LoyaltyLevel":"","PrintMessage":""})",
        R"({"FIO":"","NotPayType":0,"BonusId":0,"DiscountId":0,"SumDiscount":"1","MaxBonus":0,)"
        R"("MaxDeposit":0,"LoyaltyLevel":"","PrintMessage":""})",
        "[1,2]",
    };
    for (const std::string& json : bad) {
        reply.Parse(json.c_str());
        EXPECT_THROW(fillFromDiscountReply(&record, reply, 1, conf(), log), ReplyFormatError)
            << json;
        EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0) << json;
    }
}

TEST_F(DiscountReplyTest, LongTextsNeverWritePastTheRecord) {
    configure("<Configuration/>");
    std::vector<unsigned char> memory(sizeof(CardInfoRecord) + 64, 0xEE);
    auto* r = reinterpret_cast<CardInfoRecord*>(memory.data());
    const std::string longText(1000, 'x');
    reply.Parse(("{\"FIO\":\"" + longText +
                 "\",\"NotPayType\":0,\"BonusId\":0,\"DiscountId\":0,"
                 "\"SumDiscount\":0,\"MaxBonus\":0,\"MaxDeposit\":0,\"Message\":\"" +
                 longText + "\",\"LoyaltyLevel\":\"" + longText + "\",\"PrintMessage\":\"" +
                 longText + "\"}")
                    .c_str());
    fillFromDiscountReply(r, reply, 7, conf(), log);
    for (size_t i = sizeof(CardInfoRecord); i < memory.size(); ++i) ASSERT_EQ(memory[i], 0xEE) << i;
    EXPECT_EQ(std::strlen(r->Printer_comment), 255u);
    EXPECT_EQ(std::strlen(r->Card_owner), 39u);
    EXPECT_EQ(+r->Owner_id, 7);
}

}  // namespace
