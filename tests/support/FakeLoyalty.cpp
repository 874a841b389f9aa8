#include "FakeLoyalty.h"

#include <rapidjson/document.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstring>
#include <stdexcept>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
// After winsock2.h.
#include <windows.h>
using SocketFd = SOCKET;
static const SocketFd kNoSocket = INVALID_SOCKET;
static void closeSocket(SocketFd s) { closesocket(s); }
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
using SocketFd = int;
static const SocketFd kNoSocket = -1;
static void closeSocket(SocketFd s) { ::close(s); }
#endif

namespace fakeloyalty {
namespace {

struct SocketsReady {
    SocketsReady() {
#ifdef _WIN32
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
#endif
    }
};

struct Socket {
    SocketFd fd = kNoSocket;
    ~Socket() {
        if (fd != kNoSocket) closeSocket(fd);
    }
};

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string Request::header(const std::string& name) const {
    for (const auto& h : headers) {
        if (h.first.size() != name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(h.first[i])) ==
                   std::tolower(static_cast<unsigned char>(name[i]));
        if (same) return h.second;
    }
    return std::string();
}

Service::Service(std::string address, unsigned short port)
    : address_(std::move(address)), port_(port) {
    static SocketsReady ready;
}

std::string Service::call(const std::string& method, const std::string& target,
                          const std::string& body) const {
    Socket s;
    s.fd = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s.fd == kNoSocket) throw std::runtime_error("fakeloyalty: no socket");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port_);
    inet_pton(AF_INET, address_.c_str(), &addr.sin_addr);
    if (::connect(s.fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        throw std::runtime_error("fakeloyalty: cannot connect to " + address_);
    std::string msg = method + " " + target + " HTTP/1.1\r\nHost: " + address_ +
                      "\r\nConnection: close\r\nContent-Length: " + std::to_string(body.size()) +
                      "\r\n\r\n" + body;
    std::size_t sent = 0;
    while (sent < msg.size()) {
        int n = ::send(s.fd, msg.data() + sent, static_cast<int>(msg.size() - sent), 0);
        if (n <= 0) throw std::runtime_error("fakeloyalty: send failed");
        sent += static_cast<std::size_t>(n);
    }
    std::string in;
    char buf[4096];
    for (int guard = 0; guard < 100000; ++guard) {  // bounded: at most ~400 MB
        int n = ::recv(s.fd, buf, sizeof buf, 0);
        if (n <= 0) break;
        in.append(buf, static_cast<std::size_t>(n));
    }
    std::size_t end = in.find("\r\n\r\n");
    if (in.compare(0, 12, "HTTP/1.1 200") != 0 || end == std::string::npos)
        throw std::runtime_error("fakeloyalty: control call failed: " + in.substr(0, 200));
    return in.substr(end + 4);
}

void Service::setScenario(const std::string& token, const std::string& pathsJson) const {
    call("POST", "/__control/scenario",
         "{\"token\":\"" + token + "\",\"paths\":" + pathsJson + "}");
}

std::vector<Request> Service::requests(const std::string& token) const {
    std::string text = call("GET", "/__control/requests?token=" + token, "");
    rapidjson::Document doc;
    doc.Parse(text.c_str(), text.size());
    if (doc.HasParseError() || !doc.IsObject() || !doc.HasMember("requests"))
        throw std::runtime_error("fakeloyalty: bad requests list");
    std::vector<Request> out;
    for (const auto& r : doc["requests"].GetArray()) {
        Request req;
        req.method = r["method"].GetString();
        req.path = r["path"].GetString();
        for (const auto& h : r["headers"].GetArray())
            req.headers.emplace_back(h[0].GetString(), h[1].GetString());
        const std::string hex = r["body_hex"].GetString();
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
            req.body += static_cast<char>(hexValue(hex[i]) * 16 + hexValue(hex[i + 1]));
        req.tls = r["tls"].GetBool();
        req.clientClosed = !r["client_closed"].IsNull();
        if (r.HasMember("fault")) {
            req.fault = r["fault"].GetString();
            req.replied = r["replied"].GetBool();
            if (r["reply_status"].IsInt64()) req.replyStatus = r["reply_status"].GetInt64();
        }
        out.push_back(std::move(req));
    }
    return out;
}

void Service::forget(const std::string& token) const {
    call("POST", "/__control/forget", "{\"token\":\"" + token + "\"}");
}

std::string uniqueToken(const std::string& prefix) {
    // Test processes run side by side (ctest -j, one process per native test)
    // against one service: the process id keeps their tokens apart, the clock
    // keeps apart processes that reuse an id, the counter the calls of one.
#ifdef _WIN32
    const unsigned long process = GetCurrentProcessId();
#else
    const unsigned long process = static_cast<unsigned long>(getpid());
#endif
    static std::atomic<unsigned> counter{0};
    auto now = std::chrono::system_clock::now().time_since_epoch().count();
    return prefix + std::to_string(process) + "x" + std::to_string(static_cast<long long>(now)) +
           "x" + std::to_string(++counter);
}

}  // namespace fakeloyalty
