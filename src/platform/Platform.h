#pragma once
// The thin layer under the transport: what the platform does for one HTTP
// exchange, a worker thread with a timed join, and sleeping. Windows serves
// it with WinInet and Win32 threads, POSIX with sockets and std::thread.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Opaque handle: an HINTERNET on Windows.
using NetHandle = void*;

NetHandle internetOpen(const char* agent);
NetHandle internetConnect(NetHandle root, const std::string& host, uint16_t port);
// Makes the request handle only; nothing goes on the wire yet.
NetHandle openRequest(NetHandle connection, const char* verb, const char* path,
                      const char* const* acceptTypes, bool secure);
// Connect, send and receive time-outs of one request.
void setRequestTimeouts(NetHandle request, uint32_t ms);
// Blocks until the response headers are in. Closing the handle from another
// thread makes it fail (on Windows at once, under Wine at the time-out).
bool sendRequest(NetHandle request, const char* headers, const char* body, uint32_t bodyLength);
// One read of the reply body; true with *bytesRead 0 at its end.
bool readFile(NetHandle request, char* into, uint32_t capacity, uint32_t* bytesRead);
// The HTTP status of a request whose send succeeded; 0 when it cannot be read.
uint32_t httpStatus(NetHandle request);
// The reply's Date header as sent; empty when it has none or cannot be read.
std::string replyDate(NetHandle request);
void closeHandle(NetHandle handle);
// The calling thread's last error (GetLastError).
uint32_t lastError();
// The system's own text for an error code, as code points; empty when the
// system has none.
std::vector<uint32_t> systemErrorText(uint32_t code);
// Forces a real connection attempt to `url`.
bool checkConnection(const std::wstring& url);
void sleepMs(uint32_t ms);
// UTF-8 -> code points; malformed sequences yield U+FFFD.
std::vector<uint32_t> decodeUtf8(const std::string& text);

using WorkerProc = uint32_t (*)(void*);
inline constexpr uint32_t kInfinite = 0xFFFFFFFFu;
enum class WaitResult { Ended, TimedOut, Failed };

// A thread started on construction; waited for and released by its owner.
// The destructor joins a thread still running, so no frame ever returns
// while its worker uses that frame's data.
class WorkerThread {
  public:
    WorkerThread(WorkerProc proc, void* param);
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    WaitResult wait(uint32_t ms);
    // false when the thread never started or has not ended.
    bool exitCode(uint32_t& code);
    // Releases the thread handle (joins first if need be).
    void close();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
