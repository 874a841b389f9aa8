#include "host/PostingBody.h"

#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "config/Config.h"
#include "http/LastError.h"
#include "log/LogPhrases.h"
#include "log/Logger.h"
#include "text/TextCodec.h"

namespace {
constexpr const char* kTag = logphrase::kTransactionsEx;
}  // namespace

const std::string& unexpectedReturnError() {
    static const std::string text = utf8ToCp1251("Непредвиденная ошибка! RETURNS 1");
    return text;
}

std::optional<CloseOrderRequest> closeOrderRequest(CheckXml& reader,
                                                   const pugi::xml_node& configuration,
                                                   const HolderLookup& holders, Logger& log) {
    log.logMessage(kTag, "TRY GET bonusCurrencyCodes");
    const std::vector<int32_t> bonusCodes = bonusCurrencyCodes(configuration);
    log.logMessage(kTag, "TRY GET depositCurrencyCodes");
    const std::vector<int32_t> depositCodes = depositCurrencyCodes(configuration);

    CloseOrderRequest request;
    log.logMessage(kTag, "TRY GET getJsonResponseForCloseOrder");
    try {
        buildCloseOrderBody(reader, bonusCodes, depositCodes, request.body, request.clientId,
                            holders, log);
    } catch (const ClientIdNotFound&) {
        log.logMessage(kTag, logphrase::kClientIdNotFound);
        return std::nullopt;
    } catch (const DepositAccountMissing&) {
        log.logMessage(kTag, logphrase::kDepositWithoutAccount);
        return std::nullopt;
    } catch (const XmlElementNotFound& e) {
        log.logMessage(kTag, logphrase::kErrorHead + e.message + " RETURN 1");
        return std::nullopt;
    } catch (...) {
        log.logMessage(kTag, logphrase::kCloseOrderBodyFailed + std::to_string(lastErrorCode));
        return std::nullopt;
    }
    return request;
}

std::optional<std::vector<char>> returnOrderRequest(CheckXml& reader, Logger& log) {
    std::vector<char> body;
    try {
        buildReturnOrderBody(reader, body);
    } catch (const XmlElementNotFound& e) {
        log.logMessage(kTag, logphrase::kErrorHead + e.message + " RETURNS 1");
        return std::nullopt;
    } catch (...) {
        log.logMessage(kTag, unexpectedReturnError());
        return std::nullopt;
    }
    return body;
}
