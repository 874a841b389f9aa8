#include "http/SendRequestWrapper.h"

#include <string>

#include "http/Timings.h"
#include "log/LogPhrases.h"
#include "log/Logger.h"
#include "platform/Platform.h"
#include "record/CardInfoRecord.h"

namespace {

constexpr const char* kTag = logphrase::kSendRequestWrapper;

// One attempt. A time-out is no reply, whatever the caller held before.
void attempt(WrapperResult& result, HttpClient& httpClient, const char* verb, const char* headers,
             const char* path, const char* body, const char* const* acceptTypes, Logger& logger) {
    ExchangeResult exchange =
        httpClient.SendRequest(verb, headers, path, body, acceptTypes, logger);
    result.reply = std::move(exchange.reply);
    result.windowsError = exchange.windowsError;
    if (exchange.outcome == ExchangeOutcome::TimedOut) {
        logger.logMessage(kTag, "Error TimeoutExceeded RETURN 0");
        dumpCardInfo(kTag, nullptr);
    }
}

// No caller hands in a card record, so the wrapper writes none: the log says so.
void finalFailure(Logger& logger) {
    logger.logMessage(kTag, logphrase::kInfoWasNull);
    dumpCardInfo(kTag, nullptr);
}

}  // namespace

WrapperResult SendRequestWrapper(HttpClient& httpClient, const char* verb, const char* headers,
                                 const char* path, const char* body, const char* const* acceptTypes,
                                 Logger& logger) {
    const std::string pathText = path ? path : "";
    const std::string headersText = headers ? headers : "";
    logger.logMessage(
        kTag, logphrase::kTrySendRequestTo + pathText + logphrase::kWith + (body ? body : ""));

    WrapperResult result;
    attempt(result, httpClient, verb, headers, path, body, acceptTypes, logger);
    if (!isEmptyReply(result.reply)) {
        result.outcome = WrapperOutcome::Replied;
        return result;
    }

    platform::sleepMs(timings::kProbePauseMs);
    logger.logMessage(kTag, logphrase::kResponseWasNull);
    if (!httpClient.checkConnection()) {
        logger.logMessage(kTag, logphrase::kProbeFailed);
        finalFailure(logger);
        result.outcome = WrapperOutcome::NoInternet;
        return result;
    }
    logger.logMessage(kTag,
                      logphrase::kProbeWorksRetryTo + pathText + logphrase::kWith + headersText);

    platform::sleepMs(timings::kRetryPauseMs);
    attempt(result, httpClient, verb, headers, path, body, acceptTypes, logger);
    if (!isEmptyReply(result.reply)) {
        result.outcome = WrapperOutcome::Replied;
        return result;
    }

    logger.logMessage(kTag, "RESPONSE WAS NULL AGAIN, ERROR!");
    finalFailure(logger);
    result.outcome = WrapperOutcome::NoReplyAgain;
    return result;
}
