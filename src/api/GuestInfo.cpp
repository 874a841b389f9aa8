#include "api/GuestInfo.h"

#include <cstdio>

#include "api/JsonText.h"
#include "api/ReplyAccess.h"
#include "log/LogEvents.h"
#include "record/CardInfoRecord.h"
#include "text/DecimalText.h"
#include "text/TextCodec.h"

std::string buildGuestInfoBody(int64_t card) {
    char digits[32];
    const int count = std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(card));
    rapidjson::Document body(rapidjson::kObjectType);
    rapidjson::Value name(rapidjson::StringRef(count == 11 ? "Phone" : "CardToken"));
    body.AddMember(name, rapidjson::Value(static_cast<uint64_t>(card)), body.GetAllocator());
    return writeJsonText(body);
}

void fillFromGuestInfo(const rapidjson::Value& reply, CardInfoRecord* record) {
    // Read and check every member first; a bad reply leaves the record untouched.
    const int64_t notPayType = replyInteger(reply, "NotPayType");
    const std::string clientIdText = replyString(reply, "ClientId");
    const std::string loyaltyLevel = replyString(reply, "LoyaltyLevel");
    const int64_t discountId = replyInteger(reply, "DiscountId");
    const int64_t bonusId = replyInteger(reply, "BonusId");
    const std::string balanceText = replyString(reply, "BonusBalance");
    double balance = 0;
    if (!parseLeadingDouble(balanceText.c_str(), balance)) {
        throw ReplyFormatError("reply member \"BonusBalance\" is not a decimal number");
    }
    const std::string owner = replyString(reply, "LastName") + " " +
                              replyString(reply, "FirstName") + " " +
                              replyString(reply, "MiddleName");

    record->Not_pay_type = static_cast<uint32_t>(notPayType);
    const int32_t clientId = atoi32(clientIdText.c_str());
    record->Owner_id = clientId;
    record->Account_number = static_cast<uint32_t>(clientId);
    setRecordText(record->Screen_comment, utf8ToCp1251(loyaltyLevel));
    record->Discount_num = static_cast<uint16_t>(discountId);
    record->Bonus_num = static_cast<uint16_t>(bonusId);
    record->Access_amount = amountToHundredths(balance);
    record->Max_discount = 99999900;  // 999999.00: the service sets no limit here
    setRecordText(record->Card_owner, utf8ToCp1251(owner));
}

// "Карта заблокирована. Продажа по карте невозможна." Its log line
// (Event::BlockedCard) is the text without the final full stop.
const char kBlockedCardText[] =
    "\xca\xe0\xf0\xf2\xe0 \xe7\xe0\xe1\xeb\xee\xea\xe8\xf0\xee\xe2\xe0\xed\xe0. "
    "\xcf\xf0\xee\xe4\xe0\xe6\xe0 \xef\xee \xea\xe0\xf0\xf2\xe5 "
    "\xed\xe5\xe2\xee\xe7\xec\xee\xe6\xed\xe0.";
static_assert(sizeof kBlockedCardText == 50, "49 bytes of text and the zero byte");

GuestReply readGuestReply(const rapidjson::Document& reply) {
    if (reply.HasParseError()) return GuestReply::NotJson;
    const int32_t status = replyInt32(reply, "Status");
    if (status == 2) {
        return utf8ToCp1251(replyString(reply, "ErrorMessage")) == kBlockedCardText
                   ? GuestReply::Blocked
                   : GuestReply::Refused;
    }
    return status == 1 ? GuestReply::Found : GuestReply::OtherStatus;
}

const char* guestReplyLogLine(GuestReply reply) {
    switch (reply) {
        case GuestReply::NotJson: return logevent::row(logevent::Event::GuestInfoNotOk).text;
        case GuestReply::Found: return "";
        case GuestReply::Blocked: return logevent::row(logevent::Event::BlockedCard).text;
        case GuestReply::Refused: return logevent::row(logevent::Event::GuestStatus2).text;
        case GuestReply::OtherStatus: return logevent::row(logevent::Event::GuestStatusNot1).text;
    }
    return "";
}
