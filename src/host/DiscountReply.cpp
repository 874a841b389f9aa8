#include "host/DiscountReply.h"

#include <string>

#include "api/ReplyAccess.h"
#include "config/Config.h"
#include "log/Logger.h"
#include "record/CardInfoRecord.h"
#include "text/TextCodec.h"

void fillFromDiscountReply(CardInfoRecord* record, const rapidjson::Value& reply, int64_t clientId,
                           const pugi::xml_node& configuration, Logger& log) {
    // Read every member first, so a malformed reply leaves the record as it was.
    const std::string fio = replyString(reply, "FIO");
    const int64_t notPayType = replyInteger(reply, "NotPayType");
    const int64_t bonusId = replyInteger(reply, "BonusId");
    const int64_t discountId = replyInteger(reply, "DiscountId");
    const double sumDiscount = replyNumber(reply, "SumDiscount");
    // "MaxBonus" is only read into a BonusAccount's slot: without one, a reply may omit it.
    const bool hasBonusAccount = static_cast<bool>(configuration.child("BonusAccount"));
    const double maxBonus = hasBonusAccount ? replyNumber(reply, "MaxBonus") : 0.0;
    const double maxDeposit = replyNumber(reply, "MaxDeposit");
    const bool hasMessage = hasReplyMember(reply, "Message");
    const std::string message = hasMessage ? replyString(reply, "Message") : std::string();
    const std::string loyaltyLevel = replyString(reply, "LoyaltyLevel");
    const std::string printMessage = replyString(reply, "PrintMessage");

    record->Blocked = 0;
    setRecordText(record->Card_owner, utf8ToCp1251(fio));
    record->Owner_id = clientId;
    record->Account_number = static_cast<uint32_t>(clientId);
    record->Not_pay_type = static_cast<uint32_t>(notPayType);
    record->Bonus_num = static_cast<uint16_t>(bonusId);
    record->Discount_num = static_cast<uint16_t>(discountId);
    record->Max_discount = amountToHundredths(sumDiscount);

    log.log(logevent::Event::TryBonusAccount);
    const int64_t bonus = amountToHundredths(maxBonus);
    for (pugi::xml_node account = configuration.child("BonusAccount"); account;
         account = account.next_sibling("BonusAccount")) {
        setAccessAmount(record, atoiText(account.child("CardSubAccount")), bonus);
    }

    log.log(logevent::Event::TryDepositAccount);
    const pugi::xml_node deposit = configuration.child("DepositAccount");
    setAccessAmount(record, atoiText(deposit.child("CardSubAccount")),
                    amountToHundredths(maxDeposit));

    if (hasMessage) setRecordText(record->Comment, utf8ToCp1251(message));
    setRecordText(record->Screen_comment, utf8ToCp1251(loyaltyLevel));
    setRecordText(record->Printer_comment, utf8ToCp1251(printMessage));
}
