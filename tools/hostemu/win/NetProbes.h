#pragma once
// The probes under the connection check's steps: what proxy WinInet is
// configured to use, name resolution, a TCP connection and the TLS handshake
// with the certificate's verdict. Windows XP SP3 functions only; they print
// nothing.
#include <cstdint>
#include <string>
#include <vector>

#include "connectioncheck/StepJudgement.h"
#include "i18n/DateText.h"

ProxySetting readProxySetting();

// IPv4 addresses of a name, or false with the Winsock error.
bool resolveName(const std::string& host, std::vector<std::string>& addresses, uint32_t& error);

// Connects to the first address that accepts within `timeoutMs`; false with
// the Winsock error of the last attempt.
bool connectTcp(const std::vector<std::string>& addresses, uint16_t port, uint32_t timeoutMs,
                std::string& connected, uint32_t& error);

// A TLS handshake with the service through WinInet, as the DLL makes it (no
// request of the service's own is sent: a HEAD of "/").
TlsOutcome probeTls(const std::string& host, uint32_t timeoutMs);

// Sends one HEAD of "/" to the service through WinInet opened as the DLL
// opens it, and notes where WinInet looked up a name and connected.
RouteTaken probeRoute(const std::string& host, bool secure, uint32_t timeoutMs);

// Sends GET http://<host>/<path> through WinInet opened as the DLL opens it
// (this account's preconfigured proxy included); true when an answer came.
bool sendPlainHttp(const std::string& host, const std::string& path, uint32_t timeoutMs);

// The till's local time as the check shows it: "2026-12-07 17:30 (local time)".
std::string localTimeText(const Catalog& catalog);
// The local time now, as hostemu shows dates in `language`.
std::string localNow(Language language, DateParts parts);
