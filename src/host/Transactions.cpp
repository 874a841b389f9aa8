// TransactionsEx: posting a paid (close) or returned check to the service.
#include <rapidjson/document.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "api/CloseOrder.h"
#include "api/Discount.h"
#include "api/JsonText.h"
#include "check/CheckXml.h"
#include "check/WorkingMode.h"
#include "check/XmlErrors.h"
#include "config/Config.h"
#include "config/Token.h"
#include "host/Entry.h"
#include "host/FlowSupport.h"
#include "host/PostingBody.h"
#include "http/Exchange.h"
#include "http/ServicePaths.h"
#include "log/LogEvents.h"
#include "log/Logger.h"
#include "text/TextCodec.h"

namespace {

constexpr const char* kTag = logtag::kTransactionsEx;
using logevent::Event;

class TransactionPosting {
  public:
    explicit TransactionPosting(Logger& log) : log_(log) {}
    int32_t run(const char* inpBuf, uint32_t inpLen);

  private:
    EarlyResult closeOrder();
    EarlyResult returnOrder();
    void send(const std::string& path, const ByteBuffer& body);
    int32_t checkReply();

    Logger& log_;
    pugi::xml_document configDoc_;
    // Starts as 1024 zero bytes: no text, yet not an empty buffer.
    ByteBuffer reply_ = ByteBuffer(1024, '\0');
    pugi::xml_node configuration_;
    CheckXml reader_;
    HttpClient client_;
    ConnectionCloser closer_{client_};
    std::string token_;
    uint32_t replyError_ = 0;  // the Windows error the close or return exchange left
    rapidjson::Document jsonResultRequest_;
};

int32_t TransactionPosting::run(const char* inpBuf, uint32_t inpLen) {
    configuration_ = GetConfig(log_, configDoc_);

    log_.log(kTag, Event::TryCheckReader);
    if (initCheckXml(reader_, inpBuf, inpLen, kTag, log_) == CheckInit::Failed) {
        log_.log(Event::NumNotPosting, {{"result", std::to_string(kCheckInitFailedResult)}});
        return kCheckInitFailedResult;
    }

    log_.log(Event::TryHttpClient);
    log_.log(kTag, Event::TryGetToken);
    std::optional<std::string> token = getToken(kTag, configuration_, reader_, client_, log_);
    if (!token) {
        log_.log(Event::NoTokenPosting);
        return 1;
    }
    token_ = std::move(*token);

    log_.log(Event::TryChmodPosting);
    const std::optional<int32_t> mode = checkChmod(kTag, reader_, log_);
    if (!mode) {
        log_.log(Event::NoChmodPosting);
        return 1;
    }

    log_.log(Event::TryLogicPosting);
    EarlyResult result;
    switch (postingPathFor(*mode)) {
        case PostingPath::Close: result = closeOrder(); break;
        case PostingPath::Return: result = returnOrder(); break;
        case PostingPath::Nothing: break;
    }
    // Any other mode sends nothing; the untouched buffer then fails the reply check.
    return result ? *result : checkReply();
}

EarlyResult TransactionPosting::closeOrder() {
    std::optional<CloseOrderRequest> request = closeOrderRequest(
        reader_, configuration_,
        [&](int64_t cardCode) { return askServiceAboutHolder(cardCode, token_, client_, log_); },
        log_);
    if (!request) return 1;
    const ByteBuffer& body = request->body;

    // The discount reply itself is not read: the service is only asked to price the order.
    if (!SendGetDiscount(client_, reader_, token_, request->clientId, log_)) {
        log_.log(kTag, Event::DiscountNotDone, {{"result", std::to_string(kDiscountFailedResult)}});
        return kDiscountFailedResult;
    }

    const std::string path = servicepath::kCloseOrder + token_;
    try {
        send(path, body);
    } catch (...) {
        log_.log(Event::CloseOrderFailed, {{"code", std::to_string(lastErrorCode)}});
        return 1;
    }
    return std::nullopt;
}

EarlyResult TransactionPosting::returnOrder() {
    const std::string path = servicepath::kReturnOrder + token_;
    const std::optional<ByteBuffer> body = returnOrderRequest(reader_, log_);
    if (!body) return 1;
    try {
        send(path, *body);
    } catch (...) {
        log_.log(Event::UnexpectedPosting);
        return 1;
    }
    return std::nullopt;
}

// The close or the return: its reply and error are what checkReply judges.
void TransactionPosting::send(const std::string& path, const ByteBuffer& body) {
    WrapperResult sent = SendRequestWrapper(client_, "POST", kJsonHeaders, path.c_str(),
                                            body.data(), kAcceptAnything, log_);
    reply_ = std::move(sent.reply);
    replyError_ = sent.windowsError;
}

int32_t TransactionPosting::checkReply() {
    if (reply_.empty()) {
        log_.log(Event::PostingNotSent, {{"code", std::to_string(replyError_)}});
        return 1;
    }
    const std::string text = replyText(reply_);
    parseJson(jsonResultRequest_, text.c_str());
    if (statusIsOne(jsonResultRequest_)) {
        closeConnection(kTag, client_, log_);
        log_.log(Event::PostingEnded);
        return 0;
    }
    log_.log(Event::PostingRefused, {{"reply", text}});
    return 1;
}

}  // namespace

int32_t runTransactionsEx(const char* inpBuf, uint32_t inpLen) {
    Logger log;
    ClearTheLog();
    log.log(Event::PostingStarted);
    log.logInputBuffer(kTag, inpBuf, inpLen);
    return runFlowGuarded(kTag, log, [&] {
        TransactionPosting posting(log);
        return posting.run(inpBuf, inpLen);
    });
}
