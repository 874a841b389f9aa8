// GetCardInfoEx: the card or guest lookup, end to end.
#include <rapidjson/document.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "api/Discount.h"
#include "api/GuestInfo.h"
#include "api/JsonText.h"
#include "api/ReplyAccess.h"
#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "check/WorkingMode.h"
#include "check/XmlErrors.h"
#include "config/Config.h"
#include "config/Token.h"
#include "host/DiscountReply.h"
#include "host/Entry.h"
#include "host/FlowSupport.h"
#include "http/Exchange.h"
#include "http/ServicePaths.h"
#include "log/LogEvents.h"
#include "log/Logger.h"
#include "record/CardInfoRecord.h"
#include "text/DecimalText.h"
#include "text/TextCodec.h"

namespace {

constexpr const char* kTag = logtag::kGetCardInfoEx;
using logevent::Event;

class CardLookup {
  public:
    CardLookup(int64_t card, CardInfoRecord* record, Logger& log)
        : card_(card), record_(record), log_(log) {}

    int32_t run(const char* inpBuf, uint32_t inpLen);

  private:
    EarlyResult bonusPaymentPath();
    EarlyResult guestPath();
    EarlyResult discountAndFill(const std::string& clientId, int64_t ownerId);

    int64_t card_;
    CardInfoRecord* record_;
    Logger& log_;
    ByteBuffer reply_;
    pugi::xml_document configDoc_;
    pugi::xml_node configuration_;
    CheckXml reader_;
    rapidjson::Document jsonGuestInfo_;
    rapidjson::Document jsonDiscont_;
    HttpClient client_;
    ConnectionCloser closer_{client_};
    std::string token_;
    int32_t workingMode_ = 0;
};

int32_t CardLookup::run(const char* inpBuf, uint32_t inpLen) {
    record_->Deleted = 0;
    record_->Need_withdraw = 0;
    record_->Expired = 0;
    record_->Not_valid = 0;
    record_->Manager_confirm = 0;

    configuration_ = GetConfig(log_, configDoc_);

    log_.log(kTag, Event::TryCheckReader);
    if (initCheckXml(reader_, inpBuf, inpLen, kTag, log_) == CheckInit::Failed) {
        log_.log(Event::NumNotLookup, {{"result", std::to_string(kCheckInitFailedResult)}});
        return kCheckInitFailedResult;
    }

    log_.log(kTag, Event::TryGetToken);
    std::optional<std::string> token = getToken(kTag, configuration_, reader_, client_, log_);
    if (!token) {
        log_.log(Event::NoTokenLookup);
        return 1;
    }
    token_ = std::move(*token);

    log_.log(Event::TryChmodLookup);
    const std::optional<int32_t> mode = checkChmod(kTag, reader_, log_);
    if (!mode) {
        log_.log(Event::NoChmodLookup);
        return 1;
    }
    workingMode_ = *mode;

    log_.log(Event::TryLogicLookup);

    EarlyResult result;
    switch (lookupPathFor(workingMode_)) {
        case LookupPath::BonusPayment: result = bonusPaymentPath(); break;
        case LookupPath::GuestOnly:
        case LookupPath::GuestThenDiscount: result = guestPath(); break;
        case LookupPath::Nothing: break;
    }
    if (result) return *result;

    dumpCardInfo(logtag::kLookupResultInfo, record_);
    log_.log(Event::LookupEnded);
    return 0;
}

EarlyResult CardLookup::bonusPaymentPath() {
    log_.log(kTag, Event::TryBonusCodes);
    const std::string account = getPaymentAccount(reader_, bonusCurrencyCodes(configuration_));
    return discountAndFill(account, atoi32(account.c_str()));
}

// The discount exchange and the fill shared by the bonus-payment path and the
// guest-and-discount modes.
EarlyResult CardLookup::discountAndFill(const std::string& clientId, int64_t ownerId) {
    std::optional<ByteBuffer> discount = SendGetDiscount(client_, reader_, token_, clientId, log_);
    if (!discount) {
        log_.log(kTag, Event::DiscountNotDone, {{"result", std::to_string(kDiscountFailedResult)}});
        return kDiscountFailedResult;
    }
    reply_ = std::move(*discount);
    closeConnection(kTag, client_, log_);

    const std::string text = replyText(reply_);
    parseJson(jsonDiscont_, text.c_str());
    if (!statusIsOne(jsonDiscont_)) {
        log_.log(Event::DiscountRefused, {{"reply", text}});
        return 1;
    }
    fillFromDiscountReply(record_, jsonDiscont_, ownerId, configuration_, log_);
    return std::nullopt;
}

EarlyResult CardLookup::guestPath() {
    const std::string path = servicepath::kGuestInfo + token_;
    const std::string body = buildGuestInfoBody(card_);
    try {
        reply_ = SendRequestWrapper(client_, "POST", kJsonHeaders, path.c_str(), body.c_str(),
                                    kAcceptAnything, log_)
                     .reply;
    } catch (...) {
        log_.log(Event::GuestInfoFailed, {{"code", std::to_string(lastErrorCode)}});
        return 1;
    }
    if (isEmptyReply(reply_)) return 1;

    parseJson(jsonGuestInfo_, replyText(reply_).c_str());
    const GuestReply reading = readGuestReply(jsonGuestInfo_);
    switch (reading) {
        case GuestReply::Found: {
            if (lookupPathFor(workingMode_) == LookupPath::GuestOnly) {
                fillFromGuestInfo(jsonGuestInfo_, record_);
                return std::nullopt;
            }
            // LookupPath::GuestThenDiscount
            const std::string clientId = replyString(jsonGuestInfo_, "ClientId");
            return discountAndFill(clientId, atoi32(clientId.c_str()));
        }
        case GuestReply::Blocked:
            record_->Blocked = 1;
            setRecordText(record_->Block_reason, kBlockedCardText);
            log_.logMessage(kTag, guestReplyLogLine(reading));
            dumpCardInfo(kTag, record_);
            return 0;
        case GuestReply::NotJson:
        case GuestReply::Refused:
        case GuestReply::OtherStatus: break;
    }
    log_.logMessage(kTag, guestReplyLogLine(reading));
    return 1;
}

}  // namespace

int32_t runGetCardInfoEx(int64_t card, CardInfoRecord* record, const char* inpBuf,
                         uint32_t inpLen) {
    Logger log;
    log.log(Event::LookupStarted);
    log.logInputBuffer(kTag, inpBuf, inpLen);
    if (record == nullptr) {
        log.log(Event::RecordIsNull);
        return 1;
    }
    return runFlowGuarded(kTag, log, [&] {
        CardLookup lookup(card, record, log);
        return lookup.run(inpBuf, inpLen);
    });
}
