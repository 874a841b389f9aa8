#pragma once
// What the check reads of the till's own Windows: its version, the account the
// check runs as, Internet Options and the SCHANNEL keys, the clock, the
// service's certificate, and whether its revocation servers answer. What
// Windows XP SP3 lacks is looked up at run time. They print nothing.
#include <cstdint>
#include <string>

#include "connectioncheck/TillJudgement.h"

WindowsVersion readWindowsVersion();
// Internet Explorer's major version; 0 when the registry does not tell.
uint32_t readInternetExplorerMajor();
AccountInfo readAccount();
InternetOptions readInternetOptions();
// This clock now, with the Date header a reply brought.
ClockReading readClock(const std::string& dateHeader, const Catalog& catalog);
// The service's certificate from a handshake that looks past every problem
// (the TLS step judges those), and the chain WinInet built for it.
CertificateFacts readCertificate(const std::string& host, uint32_t timeoutMs);
// One GET of a revocation address through WinInet, timed.
RevocationAnswer askRevocationServer(const std::string& kind, const std::string& url,
                                     uint32_t timeoutMs);
// What automatic proxy configuration (detection, the script) chooses for `url`.
AutoProxy resolveAutomaticProxy(bool detect, const std::string& scriptUrl, const std::string& url,
                                uint32_t timeoutMs);
// Milliseconds since Windows started (wraps after 49 days).
uint32_t tickMs();
