// The transport's platform calls natively: a small HTTP/1.1 client over
// sockets that behaves like WinInet where the transport relies on it (send
// blocks until the response headers are in, reads hand out the body, closing
// a request handle from another thread aborts its send). Error codes are the
// WinInet ones so that log lines read the same on both sides. Plain HTTP only:
// TLS is exercised through WinInet under Wine.
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/Platform.h"

namespace platform {
namespace {

constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorTimeout = 12002;            // ERROR_INTERNET_TIMEOUT
constexpr uint32_t kErrorNameNotResolved = 12007;    // ERROR_INTERNET_NAME_NOT_RESOLVED
constexpr uint32_t kErrorCancelled = 12017;          // ERROR_INTERNET_OPERATION_CANCELLED
constexpr uint32_t kErrorCannotConnect = 12029;      // ERROR_INTERNET_CANNOT_CONNECT
constexpr uint32_t kErrorConnectionAborted = 12030;  // ERROR_INTERNET_CONNECTION_ABORTED
constexpr uint32_t kErrorInvalidResponse = 12152;    // ERROR_HTTP_INVALID_SERVER_RESPONSE
constexpr uint32_t kErrorSecureChannel = 12157;      // ERROR_INTERNET_SECURITY_CHANNEL_ERROR
constexpr std::size_t kHeaderLimit = 64 * 1024;
constexpr uint32_t kProbeTimeoutMs = 5000;

thread_local uint32_t tlsLastError = 0;

struct Object {
    enum class Kind { Root, Connection, Request } kind;
    std::string agent;
    std::string host;
    uint16_t port = 0;
    // Request only.
    std::string verb, path, accept;
    bool secure = false;
    uint32_t timeoutMs = 60000;
    std::mutex m;  // guards fd and closed against a close from another thread
    int fd = -1;
    bool closed = false;
    uint32_t status = 0;       // the reply's HTTP status, once its headers are in
    std::string pending;       // body bytes that came in with the headers
    long long remaining = -1;  // body bytes still due; -1: up to the end of the stream

    explicit Object(Kind k) : kind(k) {}
    ~Object() {
        if (fd >= 0) ::close(fd);
    }
};

std::mutex registryMutex;
std::map<void*, std::shared_ptr<Object>>& registry() {
    static std::map<void*, std::shared_ptr<Object>> objects;
    return objects;
}

NetHandle track(std::shared_ptr<Object> obj) {
    std::lock_guard<std::mutex> lock(registryMutex);
    void* key = obj.get();
    registry()[key] = std::move(obj);
    return key;
}

std::shared_ptr<Object> find(NetHandle h, Object::Kind kind) {
    std::lock_guard<std::mutex> lock(registryMutex);
    auto it = registry().find(h);
    if (it == registry().end() || it->second->kind != kind) return nullptr;
    return it->second;
}

bool fail(uint32_t code) {
    tlsLastError = code;
    return false;
}

uint32_t ioError(const Object& req) {
    if (req.closed) return kErrorCancelled;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return kErrorTimeout;
    return kErrorConnectionAborted;
}

int connectTo(const std::string& host, uint16_t port, uint32_t timeoutMs, uint32_t& error) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) {
        error = kErrorNameNotResolved;
        return -1;
    }
    int fd = ::socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol);
    if (fd < 0) {
        freeaddrinfo(found);
        error = kErrorCannotConnect;
        return -1;
    }
    timeval tv{static_cast<time_t>(timeoutMs / 1000),
               static_cast<suseconds_t>((timeoutMs % 1000) * 1000)};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);  // bounds connect() as well
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    int rc = ::connect(fd, found->ai_addr, found->ai_addrlen);
    freeaddrinfo(found);
    if (rc != 0) {
        error = (errno == EINPROGRESS || errno == EAGAIN) ? kErrorTimeout : kErrorCannotConnect;
        ::close(fd);
        return -1;
    }
    return fd;
}

bool sendAll(int fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Reads the status line and headers; leaves the first body bytes in `pending`.
bool receiveHeaders(Object& req, int fd) {
    std::string in;
    char chunk[4096];
    std::size_t end = std::string::npos;
    while ((end = in.find("\r\n\r\n")) == std::string::npos) {
        if (in.size() > kHeaderLimit) return fail(kErrorInvalidResponse);
        ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n == 0) return fail(req.closed ? kErrorCancelled : kErrorInvalidResponse);
        if (n < 0) return fail(ioError(req));
        in.append(chunk, static_cast<std::size_t>(n));
    }
    if (in.compare(0, 5, "HTTP/") != 0) return fail(kErrorInvalidResponse);
    const std::size_t blank = in.find(' ');
    req.status = blank < end ? static_cast<uint32_t>(std::atoi(in.c_str() + blank + 1)) : 0;
    std::string head = lower(in.substr(0, end));
    req.pending = in.substr(end + 4);
    req.remaining = -1;
    if (head.find("\r\ntransfer-encoding: chunked") != std::string::npos) {
        return fail(kErrorInvalidResponse);  // the service never chunks its replies
    }
    std::size_t cl = head.find("\r\ncontent-length:");
    if (cl != std::string::npos) {
        req.remaining = std::atoll(head.c_str() + cl + 17);
        if (req.remaining < 0) return fail(kErrorInvalidResponse);
    }
    return true;
}

}  // namespace

NetHandle internetOpen(const char* agent) {
    auto obj = std::make_shared<Object>(Object::Kind::Root);
    obj->agent = agent ? agent : "";
    return track(std::move(obj));
}

NetHandle internetConnect(NetHandle root, const std::string& host, uint16_t port) {
    auto parent = find(root, Object::Kind::Root);
    if (!parent) {
        fail(kErrorInvalidHandle);
        return nullptr;
    }
    auto obj = std::make_shared<Object>(Object::Kind::Connection);
    obj->agent = parent->agent;
    obj->host = host;
    obj->port = port;
    return track(std::move(obj));
}

NetHandle openRequest(NetHandle connection, const char* verb, const char* path,
                      const char* const* acceptTypes, bool secure) {
    auto parent = find(connection, Object::Kind::Connection);
    if (!parent) {
        fail(kErrorInvalidHandle);
        return nullptr;
    }
    auto obj = std::make_shared<Object>(Object::Kind::Request);
    obj->agent = parent->agent;
    obj->host = parent->host;
    obj->port = parent->port;
    obj->verb = verb ? verb : "GET";
    obj->path = path ? path : "";
    if (obj->path.empty() || obj->path[0] != '/') obj->path.insert(0, "/");
    for (const char* const* a = acceptTypes; a && *a; ++a) {
        if (!obj->accept.empty()) obj->accept += ", ";
        obj->accept += *a;
    }
    obj->secure = secure;
    return track(std::move(obj));
}

void setRequestTimeouts(NetHandle request, uint32_t ms) {
    if (auto req = find(request, Object::Kind::Request)) req->timeoutMs = ms;
}

bool sendRequest(NetHandle request, const char* headers, const char* body, uint32_t bodyLength) {
    std::shared_ptr<Object> req = find(request, Object::Kind::Request);
    if (!req) return fail(kErrorInvalidHandle);
    if (req->secure) return fail(kErrorSecureChannel);

    uint32_t error = 0;
    int fd = connectTo(req->host, req->port, req->timeoutMs, error);
    if (fd < 0) return fail(error);
    {
        std::lock_guard<std::mutex> lock(req->m);
        if (req->closed) {
            ::close(fd);
            return fail(kErrorCancelled);
        }
        if (req->fd >= 0) ::close(req->fd);
        req->fd = fd;
    }

    std::string extra = headers ? headers : "";
    if (!extra.empty() &&
        extra.compare(extra.size() - std::min<std::size_t>(2, extra.size()), 2, "\r\n") != 0) {
        extra += "\r\n";
    }
    std::string message = req->verb + " " + req->path + " HTTP/1.1\r\n";
    if (!req->accept.empty()) message += "Accept: " + req->accept + "\r\n";
    message += "User-Agent: " + req->agent + "\r\nHost: " + req->host +
               "\r\nContent-Length: " + std::to_string(bodyLength) + "\r\nConnection: close\r\n" +
               extra + "\r\n";
    message.append(body ? body : "", body ? bodyLength : 0);
    if (!sendAll(fd, message)) return fail(ioError(*req));
    return receiveHeaders(*req, fd);
}

bool readFile(NetHandle request, char* into, uint32_t capacity, uint32_t* bytesRead) {
    *bytesRead = 0;
    std::shared_ptr<Object> req = find(request, Object::Kind::Request);
    if (!req || req->fd < 0) return fail(kErrorInvalidHandle);
    if (req->remaining == 0 || capacity == 0) return true;
    std::size_t want = capacity;
    if (req->remaining > 0)
        want = std::min<std::size_t>(want, static_cast<std::size_t>(req->remaining));
    std::size_t got = 0;
    if (!req->pending.empty()) {
        got = std::min(want, req->pending.size());
        std::memcpy(into, req->pending.data(), got);
        req->pending.erase(0, got);
    } else {
        ssize_t n = ::recv(req->fd, into, want, 0);
        if (n < 0) return fail(ioError(*req));
        got = static_cast<std::size_t>(n);
        if (n == 0 && req->remaining > 0) return fail(kErrorConnectionAborted);  // cut short
    }
    if (req->remaining > 0) req->remaining -= static_cast<long long>(got);
    *bytesRead = static_cast<uint32_t>(got);
    return true;
}

uint32_t httpStatus(NetHandle request) {
    std::shared_ptr<Object> req = find(request, Object::Kind::Request);
    return req ? req->status : 0;
}

// Only the status is taken from the replies here.
std::string replyDate(NetHandle) { return ""; }

void closeHandle(NetHandle handle) {
    std::shared_ptr<Object> obj;
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        auto it = registry().find(handle);
        if (it == registry().end()) return;
        obj = std::move(it->second);
        registry().erase(it);
    }
    // A send blocked on this request in another thread wakes up and fails;
    // the socket itself goes when that thread lets go of the object.
    std::lock_guard<std::mutex> lock(obj->m);
    obj->closed = true;
    if (obj->fd >= 0) ::shutdown(obj->fd, SHUT_RDWR);
}

uint32_t lastError() { return tlsLastError; }

// The codes here are WinInet's, and POSIX has no texts for them: the module's
// own short texts stand in.
std::vector<uint32_t> systemErrorText(uint32_t) { return {}; }

bool checkConnection(const std::wstring& url) {
    // http://host[:port]/... ; the probe only needs a TCP connection.
    std::string text(url.begin(), url.end());
    std::size_t start = text.find("://");
    start = (start == std::string::npos) ? 0 : start + 3;
    std::size_t stop = text.find('/', start);
    std::string hostPort =
        text.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
    uint16_t port = text.compare(0, 8, "https://") == 0 ? 443 : 80;
    std::size_t colon = hostPort.rfind(':');
    if (colon != std::string::npos) {
        port = static_cast<uint16_t>(std::atoi(hostPort.c_str() + colon + 1));
        hostPort.resize(colon);
    }
    uint32_t error = 0;
    int fd = connectTo(hostPort, port, kProbeTimeoutMs, error);
    if (fd < 0) return fail(error);
    ::close(fd);
    return true;
}

void sleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace platform
