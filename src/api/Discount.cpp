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

int SendGetDiscount(HttpClient& httpClient, CheckXml& reader, const std::string& token,
                    const std::string& clientId, std::vector<char>& reply, Logger& log) {
    log.logMessage(kTag, "Started");
    const std::string path = servicepath::kGetDiscount + token;
    std::vector<char> body;
    try {
        buildGetDiscountBody(reader, clientId, body);
    } catch (const XmlElementNotFound& e) {
        log.logMessage(kTag, "ERROR XmlElementNotFound" + e.message);
        return 1;
    } catch (const BodyError& e) {
        log.logMessage(kTag, "ERROR request body not sent: " + e.message);
        return 1;
    } catch (...) {
        // Nothing was sent, so the caller must not go on as if it had been.
        log.logMessage(kTag,
                       "ERROR getJsonResponseForGetDiscount " + std::to_string(lastErrorCode));
        return 1;
    }

    try {
        SendRequestWrapper(nullptr, reply, httpClient, "POST", kJsonHeaders, path.c_str(),
                           body.data(), kAcceptAnything, log);
    } catch (...) {
        log.logMessage(kTag, "Error: GetDiscount, Error code" + std::to_string(lastErrorCode));
        return 1;
    }

    if (isEmptyReply(reply)) {
        log.logMessage(kTag, "Error: GetDiscount(szData size = 0), Error code" +
                                 std::to_string(lastErrorCode));
        return 1;
    }
    log.logMessage(kTag, "Ended");
    return -1;
}
