#include "http/SendRequestWrapper.h"

#include <string>

#include "http/Timings.h"
#include "log/LogEvents.h"
#include "log/Logger.h"
#include "platform/Platform.h"
#include "record/CardInfoRecord.h"

namespace {

constexpr const char* kTag = logtag::kSendRequestWrapper;
using logevent::Event;

// One attempt. A time-out is no reply, whatever the caller held before.
void attempt(WrapperResult& result, HttpClient& httpClient, const char* verb, const char* headers,
             const char* path, const char* body, const char* const* acceptTypes, Logger& logger) {
    ExchangeResult exchange =
        httpClient.SendRequest(verb, headers, path, body, acceptTypes, logger);
    result.reply = std::move(exchange.reply);
    result.windowsError = exchange.windowsError;
    if (exchange.outcome == ExchangeOutcome::TimedOut) {
        logger.log(kTag, Event::TimeoutExceeded);
        dumpCardInfo(kTag, nullptr);
    }
}

// No caller hands in a card record, so the wrapper writes none: the log says so.
void finalFailure(Logger& logger) {
    logger.log(Event::InfoWasNull);
    dumpCardInfo(kTag, nullptr);
}

}  // namespace

WrapperResult SendRequestWrapper(HttpClient& httpClient, const char* verb, const char* headers,
                                 const char* path, const char* body, const char* const* acceptTypes,
                                 Logger& logger) {
    const std::string pathText = path ? path : "";
    const std::string headersText = headers ? headers : "";
    logger.log(Event::TrySend, {{"path", pathText}, {"body", body ? body : ""}});

    WrapperResult result;
    attempt(result, httpClient, verb, headers, path, body, acceptTypes, logger);
    if (!isEmptyReply(result.reply)) {
        result.outcome = WrapperOutcome::Replied;
        return result;
    }

    platform::sleepMs(timings::kProbePauseMs);
    logger.log(Event::ResponseWasNull);
    if (!httpClient.checkConnection()) {
        logger.log(Event::ProbeFailed);
        finalFailure(logger);
        result.outcome = WrapperOutcome::NoInternet;
        return result;
    }
    logger.log(Event::RetryTo, {{"path", pathText}, {"headers", headersText}});

    platform::sleepMs(timings::kRetryPauseMs);
    attempt(result, httpClient, verb, headers, path, body, acceptTypes, logger);
    if (!isEmptyReply(result.reply)) {
        result.outcome = WrapperOutcome::Replied;
        return result;
    }

    logger.log(Event::ResponseNullAgain);
    finalFailure(logger);
    result.outcome = WrapperOutcome::NoReplyAgain;
    return result;
}
