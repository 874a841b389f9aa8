#include "host/PostingBody.h"

#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "config/Config.h"
#include "http/LastError.h"
#include "log/LogEvents.h"
#include "log/Logger.h"
#include "text/TextCodec.h"

namespace {
constexpr const char* kTag = logtag::kTransactionsEx;
using logevent::Event;
}  // namespace

std::optional<CloseOrderRequest> closeOrderRequest(CheckXml& reader,
                                                   const pugi::xml_node& configuration,
                                                   const HolderLookup& holders, Logger& log) {
    log.log(kTag, Event::TryBonusCodes);
    const std::vector<int32_t> bonusCodes = bonusCurrencyCodes(configuration);
    log.log(Event::TryDepositCodes);
    const std::vector<int32_t> depositCodes = depositCurrencyCodes(configuration);

    CloseOrderRequest request;
    log.log(Event::TryCloseOrderBody);
    try {
        buildCloseOrderBody(reader, bonusCodes, depositCodes, request.body, request.clientId,
                            holders, log);
    } catch (const ClientIdNotFound&) {
        log.log(Event::ClientIdNotFound);
        return std::nullopt;
    } catch (const DepositAccountMissing&) {
        log.log(Event::DepositWithoutAccount);
        return std::nullopt;
    } catch (const XmlElementNotFound& e) {
        log.log(Event::CheckContentMissing, {{"missing", e.message}});
        return std::nullopt;
    } catch (...) {
        log.log(Event::CloseOrderBodyFailed, {{"code", std::to_string(lastErrorCode)}});
        return std::nullopt;
    }
    return request;
}

std::optional<std::vector<char>> returnOrderRequest(CheckXml& reader, Logger& log) {
    std::vector<char> body;
    try {
        buildReturnOrderBody(reader, body);
    } catch (const XmlElementNotFound& e) {
        log.log(Event::CheckContentMissingS, {{"missing", e.message}});
        return std::nullopt;
    } catch (...) {
        log.log(Event::UnexpectedPosting);
        return std::nullopt;
    }
    return body;
}
