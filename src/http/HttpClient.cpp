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

using logevent::Event;
constexpr uint32_t kReadChunk = 4096;

// The module-wide transport state: one set per loaded module, never more than
// one exchange in flight (the exports' lock makes a host's parallel calls wait).
NetHandle hInternet = nullptr;
NetHandle hConnect = nullptr;
NetHandle hRequest = nullptr;
ByteBuffer replyBuffer;
uint32_t replyStatus = 0;
std::string replyDate;

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

// Closes the module's request handle on every way out of SendRequest.
struct RequestCloser {
    ~RequestCloser() { closeTracked(hRequest); }
};

// What the worker needs; lives in SendRequest's frame, which outlives it.
struct SendParams {
    const char* headers;
    const char* body;
    NetHandle request;
};

uint32_t sendWorker(void* param) {
    ++runningWorkers;
    auto* p = static_cast<SendParams*>(param);
    bool sent = platform::sendRequest(p->request, p->headers, p->body,
                                      static_cast<uint32_t>(std::strlen(p->body)));
    lastErrorCode = platform::lastError();
    --runningWorkers;
    return sent ? 0 : 1;
}

enum class ReadOutcome { Done, Failed, Cut };

// Reads the reply body to its end into replyBuffer (no terminating zero yet),
// keeping at most kReplyLimit bytes. A failed read leaves its error in `error`.
ReadOutcome readReply(NetHandle request, std::size_t& total, uint32_t& error) {
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
uint32_t lastReplyStatus() { return replyStatus; }
const std::string& lastReplyDate() { return replyDate; }

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

ByteBuffer HttpClient::SendRequest(const char* verb, const char* headers, const char* path,
                                   const char* body, const char* const* acceptTypes,
                                   Logger& logger) {
    const std::string pathText = path ? path : "";
    closeTracked(hRequest);
    replyStatus = 0;
    replyDate.clear();
    hRequest = tracked(platform::openRequest(hConnect, verb, path, acceptTypes, secure));
    if (hRequest == nullptr) {
        lastErrorCode = platform::lastError();
        logger.log(Event::NoRequestHandle,
                   {{"path", pathText}, {"code", std::to_string(lastErrorCode)}});
        return ByteBuffer();
    }
    RequestCloser closer;
    platform::setRequestTimeouts(hRequest, timings::kRequestIoTimeoutMs);

    SendParams params{headers ? headers : "", body ? body : "", hRequest};
    platform::WorkerThread worker(sendWorker, &params);
    replyBuffer.clear();

    if (worker.wait(timings::kSendLimitMs) == platform::WaitResult::TimedOut) {
        // Closing the handle aborts the blocked send; the worker is joined
        // before anything else, so it never outlives this frame.
        closeTracked(hRequest);
        worker.wait(platform::kInfinite);
        worker.close();
        logger.log(Event::SendTimedOut, {{"path", pathText}});
        throw TimeoutExceeded();
    }
    uint32_t dwExitCode = 0;
    if (!worker.exitCode(dwExitCode)) {
        worker.close();
        logger.log(Event::NoExitCode, {{"path", pathText}});
        return ByteBuffer();
    }
    worker.close();
    if (dwExitCode != 0) {
        logger.log(Event::WorkerFailed, {{"exitCode", std::to_string(dwExitCode)}});
        // The cause, which the entry above does not name.
        logger.logMessage(logtag::kSendRequest, windowsErrorMessage(lastErrorCode));
        return ByteBuffer();
    }
    // Read while the request handle is open; an error page is still the reply,
    // but the log says which status came with it.
    replyStatus = platform::httpStatus(hRequest);
    replyDate = platform::replyDate(hRequest);

    std::size_t dwBytesRead = 0;
    uint32_t readError = 0;
    ReadOutcome read = readReply(hRequest, dwBytesRead, readError);
    if (read == ReadOutcome::Failed || dwBytesRead == 0) {
        replyBuffer.clear();
        logger.log(Event::ReadFailed, {{"path", pathText}});
        // An empty body is no OS error; only a failed read call has a cause to
        // name. An empty error reply (a 403, a proxy's 407) names its status.
        if (read == ReadOutcome::Failed) {
            logger.logMessage(logtag::kSendRequest, windowsErrorMessage(readError));
        } else if (replyStatus != 0 && !isSuccessStatus(replyStatus)) {
            logger.log(Event::HttpStatus, {{"status", std::to_string(replyStatus)}});
        }
        return ByteBuffer();
    }
    if (read == ReadOutcome::Cut) {
        logger.log(Event::ReplyTooLong,
                   {{"limit", std::to_string(kReplyLimit)}, {"path", pathText}});
    }
    replyBuffer.push_back('\0');
    closeTracked(hRequest);
    logger.logAnswer(pathText, replyBuffer.data());
    if (replyStatus != 0 && !isSuccessStatus(replyStatus)) {
        logger.log(Event::HttpStatus, {{"status", std::to_string(replyStatus)}});
    }
    ByteBuffer reply;
    reply.swap(replyBuffer);
    return reply;
}
