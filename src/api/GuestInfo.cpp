#include "api/GuestInfo.h"

#include <cstdio>

#include "api/JsonText.h"
#include "api/ReplyAccess.h"
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
