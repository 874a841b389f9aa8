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

int SendGetDiscount(HttpClient& httpClient, CheckXml& reader, const std::string& token,
                    const std::string& clientId, std::vector<char>& reply, Logger& log) {
    log.log(Event::DiscountStarted);
    const std::string path = servicepath::kGetDiscount + token;
    std::vector<char> body;
    try {
        buildGetDiscountBody(reader, clientId, body);
    } catch (const XmlElementNotFound& e) {
        log.log(Event::DiscountBodyMissing, {{"missing", e.message}});
        return 1;
    } catch (const BodyError& e) {
        log.log(Event::DiscountBodyNotSent, {{"what", e.message}});
        return 1;
    } catch (...) {
        // Nothing was sent, so the caller must not go on as if it had been.
        log.log(Event::DiscountBodyFailed, {{"code", std::to_string(lastErrorCode)}});
        return 1;
    }

    try {
        SendRequestWrapper(nullptr, reply, httpClient, "POST", kJsonHeaders, path.c_str(),
                           body.data(), kAcceptAnything, log);
    } catch (...) {
        log.log(Event::DiscountSendFailed, {{"code", std::to_string(lastErrorCode)}});
        return 1;
    }

    if (isEmptyReply(reply)) {
        log.log(Event::DiscountEmptyReply, {{"code", std::to_string(lastErrorCode)}});
        return 1;
    }
    log.log(Event::DiscountEnded);
    return -1;
}
