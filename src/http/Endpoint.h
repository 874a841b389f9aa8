#pragma once
// How the module reaches the service: the user agent it names and the port
// that SSL chooses. hostemu's check and report use the same rule.
#include <cstdint>
#include <string>

inline constexpr char kUserAgent[] = "WinInet Test";

// 443 with TLS (SSL exactly "true"), else 80; the address never names a port.
inline constexpr uint16_t servicePort(bool secure) { return secure ? 443 : 80; }

// "https://host:443" or "http://host:80": the service's root as the module reaches it.
inline std::string serviceRoot(const std::string& host, bool secure) {
    return std::string(secure ? "https://" : "http://") + host + ":" +
           std::to_string(servicePort(secure));
}
