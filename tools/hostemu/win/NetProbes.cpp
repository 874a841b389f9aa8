#include "NetProbes.h"

// winsock2.h must come before windows.h.
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <wininet.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "http/Endpoint.h"
#include "i18n/DateText.h"
#include "platform/Platform.h"

namespace {

class Winsock {
  public:
    Winsock() { ok_ = WSAStartup(MAKEWORD(2, 2), &data_) == 0; }
    ~Winsock() {
        if (ok_) WSACleanup();
    }
    Winsock(const Winsock&) = delete;
    Winsock& operator=(const Winsock&) = delete;
    bool ok() const { return ok_; }

  private:
    WSADATA data_;
    bool ok_ = false;
};

class Socket {
  public:
    Socket() : s_(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {}
    ~Socket() {
        if (s_ != INVALID_SOCKET) closesocket(s_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    SOCKET get() const { return s_; }

  private:
    SOCKET s_;
};

class NetHandles {
  public:
    ~NetHandles() {
        for (auto it = handles_.rbegin(); it != handles_.rend(); ++it) {
            if (*it) platform::closeHandle(*it);
        }
    }
    platform::NetHandle add(platform::NetHandle h) {
        handles_.push_back(h);
        return h;
    }

  private:
    std::vector<platform::NetHandle> handles_;
};

// Seconds since 1970; 0 for none.
int64_t unixSeconds(const FILETIME& utc) {
    const uint64_t ticks = (static_cast<uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
    if (ticks == 0) return 0;
    return static_cast<int64_t>(ticks / 10000000ull) - 11644473600ll;  // 100-ns steps since 1601
}

// The security flag that lets a second handshake look past one problem, so
// that every problem of the certificate is found, not only the first.
DWORD ignoreFlagFor(uint32_t code) {
    switch (code) {
        case ERROR_INTERNET_SEC_CERT_REV_FAILED: return SECURITY_FLAG_IGNORE_REVOCATION;
        case ERROR_INTERNET_INVALID_CA: return SECURITY_FLAG_IGNORE_UNKNOWN_CA;
        case ERROR_INTERNET_SEC_CERT_CN_INVALID: return SECURITY_FLAG_IGNORE_CERT_CN_INVALID;
        case ERROR_INTERNET_SEC_CERT_DATE_INVALID: return SECURITY_FLAG_IGNORE_CERT_DATE_INVALID;
        default: return 0;
    }
}

// The probe that WinInet's status callbacks report to; one at a time, on the
// check's own thread.
RouteTaken* routeBeingProbed = nullptr;

// The callback's text: Windows documents a SOCKADDR for the connection's
// address; an ANSI text comes from some WinInet versions (Wine's, for one).
std::string statusText(const void* info, DWORD length) {
    if (info == nullptr || length == 0) return "";
    const auto* address = static_cast<const sockaddr_in*>(info);
    if (length == sizeof(sockaddr_in) && address->sin_family == AF_INET)
        return inet_ntoa(address->sin_addr);
    const char* text = static_cast<const char*>(info);
    return std::string(text, strnlen(text, length));
}

void CALLBACK noteRoute(HINTERNET, DWORD_PTR, DWORD status, LPVOID info, DWORD length) {
    if (routeBeingProbed == nullptr) return;
    if (status == INTERNET_STATUS_RESOLVING_NAME && routeBeingProbed->name.empty())
        routeBeingProbed->name = statusText(info, length);
    if (status == INTERNET_STATUS_CONNECTING_TO_SERVER && routeBeingProbed->address.empty())
        routeBeingProbed->address = statusText(info, length);
}

}  // namespace

RouteTaken probeRoute(const std::string& host, bool secure, uint32_t timeoutMs) {
    RouteTaken route;
    NetHandles handles;
    static const char* const accept[] = {"*/*", nullptr};
    platform::NetHandle root = handles.add(platform::internetOpen(kUserAgent));
    if (root == nullptr) return route;
    // Inherited by the handles opened from it; WinInet calls it for handles
    // with a context, which the DLL's own have.
    InternetSetStatusCallbackA(static_cast<HINTERNET>(root), noteRoute);
    platform::NetHandle connection =
        handles.add(platform::internetConnect(root, host, servicePort(secure)));
    platform::NetHandle request =
        connection ? handles.add(platform::openRequest(connection, "HEAD", "/", accept, secure))
                   : nullptr;
    if (request == nullptr) return route;
    platform::setRequestTimeouts(request, timeoutMs);
    route.probed = true;
    routeBeingProbed = &route;
    platform::sendRequest(request, nullptr, "", 0);
    routeBeingProbed = nullptr;
    return route;
}

ProxySetting readProxySetting() {
    ProxySetting setting;
    NetHandles handles;
    platform::NetHandle root = handles.add(platform::internetOpen(kUserAgent));
    if (root == nullptr) return setting;
    DWORD size = 0;
    InternetQueryOptionA(static_cast<HINTERNET>(root), INTERNET_OPTION_PROXY, nullptr, &size);
    std::vector<char> buffer(size + sizeof(INTERNET_PROXY_INFO));
    size = static_cast<DWORD>(buffer.size());
    if (InternetQueryOptionA(static_cast<HINTERNET>(root), INTERNET_OPTION_PROXY, buffer.data(),
                             &size)) {
        const auto* info = reinterpret_cast<const INTERNET_PROXY_INFO*>(buffer.data());
        setting.known = true;
        setting.direct = info->dwAccessType != INTERNET_OPEN_TYPE_PROXY;
        if (info->lpszProxy) setting.proxy = reinterpret_cast<const char*>(info->lpszProxy);
        if (info->lpszProxyBypass)
            setting.bypass = reinterpret_cast<const char*>(info->lpszProxyBypass);
    }
    INTERNET_PER_CONN_OPTIONA options[2];
    options[0].dwOption = INTERNET_PER_CONN_FLAGS;
    options[1].dwOption = INTERNET_PER_CONN_AUTOCONFIG_URL;
    options[1].Value.pszValue = nullptr;
    INTERNET_PER_CONN_OPTION_LISTA list{};
    list.dwSize = sizeof list;
    list.dwOptionCount = 2;
    list.pOptions = options;
    DWORD listSize = sizeof list;
    if (InternetQueryOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, &listSize)) {
        setting.autoDetect = (options[0].Value.dwValue & PROXY_TYPE_AUTO_DETECT) != 0;
        if ((options[0].Value.dwValue & PROXY_TYPE_AUTO_PROXY_URL) && options[1].Value.pszValue) {
            setting.autoConfigUrl = options[1].Value.pszValue;
        }
        if (options[1].Value.pszValue) GlobalFree(options[1].Value.pszValue);
    }
    return setting;
}

bool resolveName(const std::string& host, std::vector<std::string>& addresses, uint32_t& error) {
    Winsock winsock;
    if (!winsock.ok()) {
        error = WSAGetLastError();
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int rc = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (rc != 0) {
        error = static_cast<uint32_t>(rc);
        return false;
    }
    for (addrinfo* a = found; a; a = a->ai_next) {
        const auto* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
        const std::string text = inet_ntoa(in->sin_addr);
        if (std::find(addresses.begin(), addresses.end(), text) == addresses.end()) {
            addresses.push_back(text);
        }
    }
    freeaddrinfo(found);
    return true;
}

bool connectTcp(const std::vector<std::string>& addresses, uint16_t port, uint32_t timeoutMs,
                std::string& connected, uint32_t& error) {
    Winsock winsock;
    error = WSAEADDRNOTAVAIL;
    if (!winsock.ok()) return false;
    for (const std::string& address : addresses) {
        Socket s;
        if (s.get() == INVALID_SOCKET) {
            error = WSAGetLastError();
            continue;
        }
        u_long nonBlocking = 1;
        ioctlsocket(s.get(), FIONBIO, &nonBlocking);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = inet_addr(address.c_str());
        if (connect(s.get(), reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) {
            connected = address;
            return true;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK) {
            error = WSAGetLastError();
            continue;
        }
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(s.get(), &writable);
        FD_SET(s.get(), &failed);
        timeval wait{static_cast<long>(timeoutMs / 1000),
                     static_cast<long>(timeoutMs % 1000) * 1000};
        const int ready = select(0, nullptr, &writable, &failed, &wait);
        if (ready == 0) {
            error = WSAETIMEDOUT;
            continue;
        }
        int soError = 0;
        int length = sizeof soError;
        getsockopt(s.get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soError), &length);
        if (ready > 0 && FD_ISSET(s.get(), &writable) && soError == 0) {
            connected = address;
            return true;
        }
        error = soError != 0 ? static_cast<uint32_t>(soError) : WSAGetLastError();
    }
    return false;
}

TlsOutcome probeTls(const std::string& host, uint32_t timeoutMs) {
    TlsOutcome outcome;
    const char* const accept[] = {"*/*", nullptr};
    DWORD ignored = 0;
    // At most one more handshake per kind of certificate problem.
    for (int attempt = 0; attempt < 5; ++attempt) {
        NetHandles handles;
        platform::NetHandle root = handles.add(platform::internetOpen(kUserAgent));
        platform::NetHandle connection =
            root ? handles.add(platform::internetConnect(root, host, servicePort(true))) : nullptr;
        platform::NetHandle request =
            connection ? handles.add(platform::openRequest(connection, "HEAD", "/", accept, true))
                       : nullptr;
        if (request == nullptr) {
            if (attempt == 0) outcome.firstError = GetLastError();
            return outcome;
        }
        platform::setRequestTimeouts(request, timeoutMs);
        if (ignored != 0) {
            DWORD flags = 0;
            DWORD size = sizeof flags;
            InternetQueryOptionA(static_cast<HINTERNET>(request), INTERNET_OPTION_SECURITY_FLAGS,
                                 &flags, &size);
            flags |= ignored;
            InternetSetOptionA(static_cast<HINTERNET>(request), INTERNET_OPTION_SECURITY_FLAGS,
                               &flags, sizeof flags);
        }
        const bool sent = platform::sendRequest(request, nullptr, "", 0);
        const uint32_t code = sent ? 0 : platform::lastError();
        if (attempt == 0) outcome.firstError = code;

        INTERNET_CERTIFICATE_INFO info{};
        DWORD size = sizeof info;
        if (certificateArrived(code) &&
            InternetQueryOptionA(static_cast<HINTERNET>(request),
                                 INTERNET_OPTION_SECURITY_CERTIFICATE_STRUCT, &info, &size)) {
            outcome.certificateSeen = true;
            if (info.lpszSubjectInfo) outcome.subject = info.lpszSubjectInfo;
            if (info.lpszIssuerInfo) outcome.issuer = info.lpszIssuerInfo;
            outcome.validFrom = unixSeconds(info.ftStart);
            outcome.validTo = unixSeconds(info.ftExpiry);
            for (LPSTR text : {info.lpszSubjectInfo, info.lpszIssuerInfo, info.lpszProtocolName,
                               info.lpszSignatureAlgName, info.lpszEncryptionAlgName}) {
                if (text) LocalFree(text);
            }
        }
        const DWORD flag = ignoreFlagFor(code);
        if (code != 0) outcome.problems.push_back(code);
        if (flag == 0 || (ignored & flag)) break;
        ignored |= flag;
    }
    return outcome;
}

std::string localNow(Language language, DateParts parts) {
    SYSTEMTIME local;
    GetLocalTime(&local);
    CivilTime t;
    t.year = local.wYear;
    t.month = local.wMonth;
    t.day = local.wDay;
    t.hour = local.wHour;
    t.minute = local.wMinute;
    t.second = local.wSecond;
    return dateText(language, t, parts, EnglishDate::Iso);
}

std::string localTimeText(const Catalog& catalog) {
    return formatMessage(catalog, Msg::check_local_time_short,
                         {{"time", localNow(catalog.language, DateParts::Minute)}});
}

bool sendPlainHttp(const std::string& host, const std::string& path, uint32_t timeoutMs) {
    NetHandles handles;
    static const char* const accept[] = {"*/*", nullptr};
    platform::NetHandle root = handles.add(platform::internetOpen(kUserAgent));
    platform::NetHandle connection =
        root ? handles.add(platform::internetConnect(root, host, servicePort(false))) : nullptr;
    platform::NetHandle request =
        connection
            ? handles.add(platform::openRequest(connection, "GET", path.c_str(), accept, false))
            : nullptr;
    if (!request) return false;
    platform::setRequestTimeouts(request, timeoutMs);
    return platform::sendRequest(request, nullptr, "", 0);
}
