#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "http/LastError.h"
#include "http/TimeoutExceeded.h"

class Logger;

// Byte buffers of requests and replies: text followed by one zero byte.
// A reply is "empty" when it holds no text.
using ByteBuffer = std::vector<char>;
inline bool isEmptyReply(const ByteBuffer& b) { return b.empty() || b.front() == '\0'; }

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
    // The reply text on success, an empty buffer on a handled failure;
    // throws TimeoutExceeded when the send does not finish in time.
    ByteBuffer SendRequest(const char* verb, const char* headers, const char* path,
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
// The HTTP status of the last exchange whose send succeeded; 0 before one.
uint32_t lastReplyStatus();
// The Date header of that exchange's reply; empty when it had none.
const std::string& lastReplyDate();
