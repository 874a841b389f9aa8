#include "api/Discount.h"

#include "api/JsonText.h"
#include "api/OrderBody.h"
#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "http/Exchange.h"
#include "http/ServicePaths.h"
#include "log/Logger.h"

namespace {
constexpr const char* kTag = "SendGetDiscount";
}  // namespace

std::optional<std::vector<char>> buildGetDiscountRequest(CheckXml& reader,
                                                         const std::string& clientId, Logger& log) {
    std::vector<char> body;
    try {
        buildGetDiscountBody(reader, clientId, body);
    } catch (const XmlElementNotFound& e) {
        log.logMessage(kTag, "ERROR XmlElementNotFound" + e.message);
        return std::nullopt;
    } catch (const BodyError& e) {
        log.logMessage(kTag, "ERROR request body not sent: " + e.message);
        return std::nullopt;
    } catch (...) {
        // Nothing was sent, so the caller must not go on as if it had been.
        log.logMessage(kTag,
                       "ERROR getJsonResponseForGetDiscount " + std::to_string(lastErrorCode));
        return std::nullopt;
    }
    return body;
}

std::optional<std::vector<char>> SendGetDiscount(HttpClient& httpClient, CheckXml& reader,
                                                 const std::string& token,
                                                 const std::string& clientId, Logger& log) {
    log.logMessage(kTag, "Started");
    const std::string path = servicepath::kGetDiscount + token;
    std::optional<std::vector<char>> body = buildGetDiscountRequest(reader, clientId, log);
    if (!body) return std::nullopt;

    WrapperResult sent;
    try {
        sent = SendRequestWrapper(httpClient, "POST", kJsonHeaders, path.c_str(), body->data(),
                                  kAcceptAnything, log);
    } catch (...) {
        log.logMessage(kTag, "Error: GetDiscount, Error code" + std::to_string(lastErrorCode));
        return std::nullopt;
    }

    if (isEmptyReply(sent.reply)) {
        log.logMessage(kTag, "Error: GetDiscount(szData size = 0), Error code" +
                                 std::to_string(sent.windowsError));
        return std::nullopt;
    }
    log.logMessage(kTag, "Ended");
    return std::move(sent.reply);
}
