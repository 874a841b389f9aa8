#include "api/Discount.h"

#include "api/JsonText.h"
#include "api/OrderBody.h"
#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "http/Exchange.h"
#include "http/ServicePaths.h"
#include "log/Logger.h"

namespace {
using logevent::Event;
}  // namespace

std::optional<std::vector<char>> buildGetDiscountRequest(CheckXml& reader,
                                                         const std::string& clientId, Logger& log) {
    std::vector<char> body;
    try {
        buildGetDiscountBody(reader, clientId, body);
    } catch (const XmlElementNotFound& e) {
        log.log(Event::DiscountBodyMissing, {{"missing", e.message}});
        return std::nullopt;
    } catch (const BodyError& e) {
        log.log(Event::DiscountBodyNotSent, {{"what", e.message}});
        return std::nullopt;
    } catch (...) {
        // Nothing was sent, so the caller must not go on as if it had been.
        log.log(Event::DiscountBodyFailed, {{"code", std::to_string(lastErrorCode)}});
        return std::nullopt;
    }
    return body;
}

std::optional<std::vector<char>> SendGetDiscount(HttpClient& httpClient, CheckXml& reader,
                                                 const std::string& token,
                                                 const std::string& clientId, Logger& log) {
    log.log(Event::DiscountStarted);
    const std::string path = servicepath::kGetDiscount + token;
    std::optional<std::vector<char>> body = buildGetDiscountRequest(reader, clientId, log);
    if (!body) return std::nullopt;

    WrapperResult sent;
    try {
        sent = SendRequestWrapper(httpClient, "POST", kJsonHeaders, path.c_str(), body->data(),
                                  kAcceptAnything, log);
    } catch (...) {
        log.log(Event::DiscountSendFailed, {{"code", std::to_string(lastErrorCode)}});
        return std::nullopt;
    }

    if (isEmptyReply(sent.reply)) {
        log.log(Event::DiscountEmptyReply, {{"code", std::to_string(sent.windowsError)}});
        return std::nullopt;
    }
    log.log(Event::DiscountEnded);
    return std::move(sent.reply);
}
