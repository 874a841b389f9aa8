#include "http/HttpClient.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "http/Endpoint.h"
#include "http/ErrorText.h"
#include "http/Timings.h"
#include "log/LogEvents.h"
#include "log/Logger.h"
#include "platform/Platform.h"

using platform::NetHandle;

namespace {

constexpr const char* kTag = logtag::kSendRequest;
using logevent::Event;
constexpr uint32_t kReadChunk = 4096;

// The WinInet session: the root handle and the connection are module-wide,
// shared by every HttpClient, one set per loaded module (the exports' lock
// makes a host's parallel calls wait). What lives for one exchange (its
// request handle, its reply) is SendRequest's own.
NetHandle hInternet = nullptr;
NetHandle hConnect = nullptr;

std::atomic<int> openHandles{0};
std::atomic<int> runningWorkers{0};

std::wstring& probeUrlStorage() {
    static std::wstring url = timings::kProbeUrl;
    return url;
}

NetHandle tracked(NetHandle h) {
    if (h != nullptr) ++openHandles;
    return h;
}

void closeTracked(NetHandle& h) {
    if (h == nullptr) return;
    platform::closeHandle(h);
    --openHandles;
    h = nullptr;
}

// Closes the exchange's request handle on every way out of SendRequest.
struct RequestCloser {
    NetHandle& request;
    ~RequestCloser() { closeTracked(request); }
};

// What the worker needs and gives back; lives in SendRequest's frame, which
// outlives it. `error` starts as the module's record, so that a worker that
// never ran leaves the record as it was.
struct SendParams {
    const char* headers;
    const char* body;
    NetHandle request;
    uint32_t error;
};

uint32_t sendWorker(void* param) {
    ++runningWorkers;
    auto* p = static_cast<SendParams*>(param);
    bool sent = platform::sendRequest(p->request, p->headers, p->body,
                                      static_cast<uint32_t>(std::strlen(p->body)));
    p->error = platform::lastError();
    --runningWorkers;
    return sent ? 0 : 1;
}

enum class ReadOutcome { Done, Failed, Cut };

// Reads the reply body to its end into `replyBuffer` (no terminating zero
// yet), keeping at most kReplyLimit bytes. A failed read leaves its error in
// `error`.
ReadOutcome readReply(NetHandle request, ByteBuffer& replyBuffer, std::size_t& total,
                      uint32_t& error) {
    total = 0;
    for (;;) {
        if (total == kReplyLimit) {
            char extra = 0;
            uint32_t got = 0;
            bool ok = platform::readFile(request, &extra, 1, &got);
            return (ok && got > 0) ? ReadOutcome::Cut : ReadOutcome::Done;
        }
        uint32_t want =
            static_cast<uint32_t>(std::min<std::size_t>(kReadChunk, kReplyLimit - total));
        replyBuffer.resize(total + want);
        uint32_t got = 0;
        if (!platform::readFile(request, replyBuffer.data() + total, want, &got)) {
            error = platform::lastError();
            replyBuffer.resize(total);
            return ReadOutcome::Failed;
        }
        total += std::min(got, want);
        replyBuffer.resize(total);
        if (got == 0) return ReadOutcome::Done;
    }
}

}  // namespace

void setProbeUrl(const std::wstring& url) { probeUrlStorage() = url; }
const std::wstring& probeUrl() { return probeUrlStorage(); }
int openTransportHandles() { return openHandles.load(); }
int runningSendWorkers() { return runningWorkers.load(); }

int HttpClient::init(const std::string& host, bool secure) {
    this->secure = secure;
    // A connection a flow left open is closed, never overwritten.
    closeTracked(hConnect);
    closeTracked(hInternet);
    hInternet = tracked(platform::internetOpen(kUserAgent));
    if (hInternet == nullptr) return 1;
    hConnect = tracked(platform::internetConnect(hInternet, host, servicePort(secure)));
    if (hConnect == nullptr) return 1;
    return 0;
}

void HttpClient::close() {
    closeTracked(hConnect);
    closeTracked(hInternet);
}

bool HttpClient::checkConnection() { return platform::checkConnection(probeUrl()); }

ExchangeResult HttpClient::SendRequest(const char* verb, const char* headers, const char* path,
                                       const char* body, const char* const* acceptTypes,
                                       Logger& logger) {
    const std::string pathText = path ? path : "";
    ExchangeResult result;
    NetHandle hRequest = tracked(platform::openRequest(hConnect, verb, path, acceptTypes, secure));
    if (hRequest == nullptr) {
        result.windowsError = lastErrorCode = platform::lastError();
        logger.log(Event::NoRequestHandle,
                   {{"path", pathText}, {"code", std::to_string(lastErrorCode)}});
        return result;
    }
    RequestCloser closer{hRequest};
    platform::setRequestTimeouts(hRequest, timings::kRequestIoTimeoutMs);

    SendParams params{headers ? headers : "", body ? body : "", hRequest, lastErrorCode};
    platform::WorkerThread worker(sendWorker, &params);
    // Read only once the worker has ended: the module's record, and what
    // failure lines elsewhere append, is what the send left.
    const auto recordError = [&] { result.windowsError = lastErrorCode = params.error; };

    if (worker.wait(timings::kSendLimitMs) == platform::WaitResult::TimedOut) {
        // Closing the handle aborts the blocked send; the worker is joined
        // before anything else, so it never outlives this frame.
        closeTracked(hRequest);
        worker.wait(platform::kInfinite);
        worker.close();
        recordError();
        logger.log(Event::SendTimedOut, {{"path", pathText}});
        result.outcome = ExchangeOutcome::TimedOut;
        return result;
    }
    uint32_t dwExitCode = 0;
    if (!worker.exitCode(dwExitCode)) {
        worker.close();
        recordError();
        logger.log(Event::NoExitCode, {{"path", pathText}});
        result.outcome = ExchangeOutcome::NoExitCode;
        return result;
    }
    worker.close();
    recordError();
    if (dwExitCode != 0) {
        logger.log(Event::WorkerFailed, {{"exitCode", std::to_string(dwExitCode)}});
        // The cause, which the entry above does not name.
        logger.logMessage(kTag, windowsErrorMessage(result.windowsError));
        result.outcome = ExchangeOutcome::SendFailed;
        return result;
    }
    // Read while the request handle is open; an error page is still the reply,
    // but the log says which status came with it.
    result.httpStatus = platform::httpStatus(hRequest);
    result.date = platform::replyDate(hRequest);

    ByteBuffer replyBuffer;
    std::size_t dwBytesRead = 0;
    uint32_t readError = 0;
    ReadOutcome read = readReply(hRequest, replyBuffer, dwBytesRead, readError);
    if (read == ReadOutcome::Failed || dwBytesRead == 0) {
        logger.log(Event::ReadFailed, {{"path", pathText}});
        // An empty body is no OS error; only a failed read call has a cause to
        // name. An empty error reply (a 403, a proxy's 407) names its status.
        if (read == ReadOutcome::Failed) {
            logger.logMessage(kTag, windowsErrorMessage(readError));
        } else if (result.httpStatus != 0 && !isSuccessStatus(result.httpStatus)) {
            logger.log(Event::HttpStatus, {{"status", std::to_string(result.httpStatus)}});
        }
        result.outcome = ExchangeOutcome::NothingRead;
        return result;
    }
    if (read == ReadOutcome::Cut) {
        logger.log(Event::ReplyTooLong,
                   {{"limit", std::to_string(kReplyLimit)}, {"path", pathText}});
    }
    replyBuffer.push_back('\0');
    closeTracked(hRequest);
    logger.logAnswer(pathText, replyBuffer.data());
    if (result.httpStatus != 0 && !isSuccessStatus(result.httpStatus)) {
        logger.log(Event::HttpStatus, {{"status", std::to_string(result.httpStatus)}});
    }
    result.outcome = ExchangeOutcome::Replied;
    result.reply = std::move(replyBuffer);
    return result;
}
