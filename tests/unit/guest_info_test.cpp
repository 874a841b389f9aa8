#include <gtest/gtest.h>

#include <cstring>

#include "api/GuestInfo.h"
#include "api/ReplyAccess.h"
#include "record/CardInfoRecord.h"

namespace {

TEST(GuestInfoBody, ElevenCharactersMakeAPhone) {
    EXPECT_EQ(buildGuestInfoBody(79161234567LL), "{\"Phone\":79161234567}");
    EXPECT_EQ(buildGuestInfoBody(7916123456LL), "{\"CardToken\":7916123456}");
    EXPECT_EQ(buildGuestInfoBody(1234567890123456LL), "{\"CardToken\":1234567890123456}");
    EXPECT_EQ(buildGuestInfoBody(0), "{\"CardToken\":0}");
    // A negative ten-digit number has 11 characters with its sign; the value
    // goes out as the unsigned bit pattern.
    EXPECT_EQ(buildGuestInfoBody(-1234567890LL), "{\"Phone\":18446744072474983726}");
    EXPECT_EQ(buildGuestInfoBody(-1), "{\"CardToken\":18446744073709551615}");
}

class GuestInfoFill : public ::testing::Test {
  protected:
    void SetUp() override { std::memset(&record, 0x11, sizeof record); }
    void fill(const std::string& balance, const std::string& middle = "Petrovich",
              const std::string& extra = "") {
        const std::string json =
            R"({"Status":1,"ClientId":"00123","NotPayType":7,"LoyaltyLevel":"Золото",)"
            R"("DiscountId":65537,"BonusId":2,"BonusBalance":")" +
            balance + R"(","LastName":"Иванов","FirstName":"Ivan","MiddleName":")" + middle + "\"" +
            extra + "}";
        reply.Parse(json.c_str());
        ASSERT_FALSE(reply.HasParseError());
        fillFromGuestInfo(reply, &record);
    }
    CardInfoRecord record;
    rapidjson::Document reply;
};

TEST_F(GuestInfoFill, FillsTheNamedFieldsOnly) {
    fill("150.75", "");
    EXPECT_EQ(+record.Access_amount, 15075);
    EXPECT_EQ(+record.Owner_id, 123);
    EXPECT_EQ(+record.Account_number, 123u);
    EXPECT_EQ(+record.Not_pay_type, 7u);
    EXPECT_EQ(+record.Discount_num, 1);
    EXPECT_EQ(+record.Bonus_num, 2);
    EXPECT_EQ(+record.Max_discount, 99999900);
    EXPECT_STREQ(record.Screen_comment, "\xC7\xEE\xEB\xEE\xF2\xEE");
    EXPECT_STREQ(record.Card_owner,
                 "\xC8\xE2\xE0\xED\xEE\xE2 Ivan ");  // empty middle name keeps its blank
    EXPECT_EQ(record.Blocked, 0x11);
    EXPECT_EQ(+record.Access_amount2, 0x1111111111111111);
    EXPECT_EQ(record.Comment[0], 0x11);
}

TEST_F(GuestInfoFill, BalanceTextReadsItsLeadingNumber) {
    fill("0");
    EXPECT_EQ(+record.Access_amount, 0);
    fill("12.5abc");
    EXPECT_EQ(+record.Access_amount, 1250);
    fill("  -3.999");
    EXPECT_EQ(+record.Access_amount, -399);
}

TEST_F(GuestInfoFill, NegativeClientIdWidensWithItsSign) {
    reply.Parse(R"({"ClientId":"-5","NotPayType":0,"LoyaltyLevel":"","DiscountId":0,"BonusId":0,)"
                R"("BonusBalance":"1","LastName":"","FirstName":"","MiddleName":""})");
    fillFromGuestInfo(reply, &record);
    EXPECT_EQ(+record.Owner_id, -5);
    EXPECT_EQ(+record.Account_number, 4294967291u);
    EXPECT_STREQ(record.Card_owner, "  ");
}

TEST_F(GuestInfoFill, MalformedRepliesThrowAndLeaveTheRecord) {
    const CardInfoRecord before = record;
    for (const char* json : {
             R"({"Status":1})",
             R"({"ClientId":42,"NotPayType":0,"LoyaltyLevel":"","DiscountId":0,"BonusId":0,)"
             R"("BonusBalance":"1","LastName":"","FirstName":"","MiddleName":""})",
             R"({"ClientId":"1","NotPayType":0,"LoyaltyLevel":"","DiscountId":0,"BonusId":0,)"
             R"("BonusBalance":"abc","LastName":"","FirstName":"","MiddleName":""})",
             R"({"ClientId":"1","NotPayType":0,"LoyaltyLevel":"","DiscountId":0,"BonusId":0,)"
             R"("BonusBalance":1.5,"LastName":"","FirstName":"","MiddleName":""})",
             R"({"ClientId":"1","NotPayType":0.5,"LoyaltyLevel":"","DiscountId":0,"BonusId":0,)"
             R"("BonusBalance":"1","LastName":"","FirstName":"","MiddleName":""})",
         }) {
        reply.Parse(json);
        EXPECT_THROW(fillFromGuestInfo(reply, &record), ReplyFormatError) << json;
        EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0) << json;
    }
}

}  // namespace
