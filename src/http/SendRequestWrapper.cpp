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

// "Карта не найдена, обновите карту!" in Windows-1251 (33 bytes).
constexpr char kCardNotFound[] =
    "\xca\xe0\xf0\xf2\xe0 \xed\xe5 \xed\xe0\xe9\xe4\xe5\xed\xe0, "
    "\xee\xe1\xed\xee\xe2\xe8\xf2\xe5 \xea\xe0\xf0\xf2\xf3!";
static_assert(sizeof kCardNotFound == 34, "33 bytes of text and the zero byte");

// One attempt. A time-out empties the reply: a stale earlier reply in the
// caller's buffer must never pass for the answer to this request.
void attempt(CardInfoRecord* record, ByteBuffer& reply, HttpClient& httpClient, const char* verb,
             const char* headers, const char* path, const char* body,
             const char* const* acceptTypes, Logger& logger) {
    try {
        reply = httpClient.SendRequest(verb, headers, path, body, acceptTypes, logger);
    } catch (const TimeoutExceeded& e) {
        reply.clear();
        if (record != nullptr) setRecordText(record->Screen_comment, e.message);
        logger.log(kTag, Event::TimeoutExceeded);
        dumpCardInfo(kTag, record);
    }
}

void finalFailure(CardInfoRecord* record, Logger& logger) {
    if (record != nullptr) {
        setRecordText(record->Block_reason, kCardNotFound);
    } else {
        logger.log(Event::InfoWasNull);
    }
    dumpCardInfo(kTag, record);
}

}  // namespace

int SendRequestWrapper(CardInfoRecord* record, ByteBuffer& reply, HttpClient& httpClient,
                       const char* verb, const char* headers, const char* path, const char* body,
                       const char* const* acceptTypes, Logger& logger) {
    const std::string pathText = path ? path : "";
    const std::string headersText = headers ? headers : "";
    logger.log(Event::TrySend, {{"path", pathText}, {"body", body ? body : ""}});

    attempt(record, reply, httpClient, verb, headers, path, body, acceptTypes, logger);
    if (!isEmptyReply(reply)) return 0;

    platform::sleepMs(timings::kProbePauseMs);
    logger.log(Event::ResponseWasNull);
    if (!httpClient.checkConnection()) {
        logger.log(Event::ProbeFailed);
        finalFailure(record, logger);
        return 1;
    }
    logger.log(Event::RetryTo, {{"path", pathText}, {"headers", headersText}});

    platform::sleepMs(timings::kRetryPauseMs);
    attempt(record, reply, httpClient, verb, headers, path, body, acceptTypes, logger);
    if (!isEmptyReply(reply)) return 0;

    logger.log(Event::ResponseNullAgain);
    finalFailure(record, logger);
    return -1;
}
