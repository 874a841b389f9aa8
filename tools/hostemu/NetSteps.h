#pragma once
// The steps of the connection check below WinInet's exchange: what proxy
// WinInet is configured to use, name resolution, a TCP connection and the TLS
// handshake with the certificate's verdict. Windows XP SP3 functions only.
#include <cstdint>
#include <string>
#include <vector>

// What INTERNET_OPEN_TYPE_PRECONFIG gives this Windows account (Internet Options).
struct ProxySetting {
    bool known = false;       // the setting could be read
    bool direct = true;       // no manual proxy
    std::string proxy;        // e.g. "proxy:3128" or "http=p:80;https=p:443"
    std::string bypass;       // the bypass list, e.g. "<local>;*.example.com"
    bool autoDetect = false;  // "Automatically detect settings"
    std::string autoConfigUrl;
};
ProxySetting readProxySetting();

// The proxy ("host:port") WinInet uses for the service, or empty when it
// connects directly (no proxy, or the host is on the bypass list).
std::string proxyFor(const ProxySetting& setting, const std::string& host, bool secure);

// True when `host` matches an entry of a WinInet bypass list.
bool onBypassList(const std::string& list, const std::string& host);

// IPv4 addresses of a name, or false with the Winsock error.
bool resolveName(const std::string& host, std::vector<std::string>& addresses, uint32_t& error);

// Connects to the first address that accepts within `timeoutMs`; false with
// the Winsock error of the last attempt.
bool connectTcp(const std::vector<std::string>& addresses, uint16_t port, uint32_t timeoutMs,
                std::string& connected, uint32_t& error);

// A TLS handshake with the service through WinInet, as the DLL makes it (no
// request of the service's own is sent: a HEAD of "/").
struct TlsOutcome {
    uint32_t firstError = 0;         // what the DLL's exchange meets; 0: handshake done
    std::vector<uint32_t> problems;  // every certificate problem found, in order
    bool certificateSeen = false;
    std::string subject, issuer, validFrom, validTo;  // the server's certificate
};
TlsOutcome probeTls(const std::string& host, uint32_t timeoutMs);
