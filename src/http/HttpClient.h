#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "http/LastError.h"

class Logger;

// Byte buffers of requests and replies: text followed by one zero byte.
// A reply is "empty" when it holds no text.
using ByteBuffer = std::vector<char>;
inline bool isEmptyReply(const ByteBuffer& b) { return b.empty() || b.front() == '\0'; }

// How one exchange ended.
enum class ExchangeOutcome {
    Replied,          // a body came back (an error page too: see httpStatus)
    NoRequestHandle,  // the request handle could not be made
    TimedOut,         // the send did not finish within the limit
    NoExitCode,       // the worker's exit code could not be read (or it never started)
    SendFailed,       // the send failed
    NothingRead,      // the read failed, or the body was empty
};

// Everything one exchange gives back; nothing of it stays behind in the
// module but lastErrorCode.
struct ExchangeResult {
    ExchangeOutcome outcome = ExchangeOutcome::NoRequestHandle;
    ByteBuffer reply;         // Replied: the body and one zero byte; else empty
    uint32_t httpStatus = 0;  // the reply's status once the send succeeded; else 0
    std::string date;         // that reply's Date header; empty when it had none
    // The Windows error of the request handle that could not be made, else of
    // the send (what Windows left, after a successful send too): the code
    // failure lines append. lastErrorCode keeps a copy.
    uint32_t windowsError = 0;
};

// One service connection per exported call; the WinInet handles themselves are
// module-wide (see HttpClient.cpp).
class HttpClient {
  public:
    HttpClient() = default;
    // Every client works on the same module-wide handles: a copy would close
    // them under its original.
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // 0 on success, 1 when the root handle or the connection cannot be made.
    int init(const std::string& host, bool secure);
    // One exchange, whatever its end; failures are logged here.
    ExchangeResult SendRequest(const char* verb, const char* headers, const char* path,
                               const char* body, const char* const* acceptTypes, Logger& logger);
    // Closes the connection, then the root handle.
    void close();
    // Connectivity probe used by the wrapper.
    bool checkConnection();

    bool secure = false;
};

// The most of a reply that is kept; a longer one is cut here, with a log line.
inline constexpr std::size_t kReplyLimit = 1u << 20;

// Where the connectivity probe connects to (a wide root URL).
const std::wstring& probeUrl();
// Test seam: points the probe at a test server. The module never calls it.
void setProbeUrl(const std::wstring& url);

// Test seam: the module-wide transport state as tests observe it, the WinInet
// handles currently open and the send workers still running.
int openTransportHandles();
int runningSendWorkers();
