#pragma once
// What the steps about the till's own Windows make of what their probes read:
// the version, the account, Internet Options and the TLS versions WinInet may
// use, the clock, the service's certificate and its revocation servers. Plain
// data in, a step result out.
#include <cstdint>
#include <string>
#include <vector>

#include "connectioncheck/CheckStep.h"

struct WindowsVersion {
    bool known = false;
    uint32_t major = 0, minor = 0, build = 0;
    uint16_t servicePackMajor = 0;
    std::string servicePack;  // "Service Pack 3"; empty for none
    bool server = false;
    bool bitnessKnown = false;
    bool windows64 = false;  // 64-bit Windows (this 32-bit program under WOW64)
};

// "Windows XP", "Windows 7", "Windows Server 2016", "Windows 11" ...
std::string windowsName(const WindowsVersion& version);
StepVerdict judgeWindows(const WindowsVersion& version, const Catalog& catalog = kEnglishCatalog);

struct AccountInfo {
    std::string user;  // empty when it cannot be read
    bool sessionKnown = false;
    uint32_t session = 0;
    std::string station;  // the window station; empty when it cannot be read
    bool stationVisible = true;
};

// `windowsMajor` tells whether session 0 is the services' own (Vista on).
StepVerdict judgeAccount(const AccountInfo& account, uint32_t windowsMajor,
                         const Catalog& catalog = kEnglishCatalog);

// A DWORD in the registry.
struct RegistryNumber {
    bool present = false;
    uint32_t value = 0;
};

// SecureProtocols bits.
inline constexpr uint32_t kSsl2 = 0x8, kSsl3 = 0x20, kTls10 = 0x80, kTls11 = 0x200, kTls12 = 0x800,
                          kTls13 = 0x2000;

// "TLS 1.0, TLS 1.2"; "none" when no known bit is set.
std::string protocolNames(uint32_t bits);

struct InternetOptions {
    bool stateKnown = false;
    uint32_t connectedState = 0;   // INTERNET_OPTION_CONNECTED_STATE
    RegistryNumber globalOffline;  // the account's GlobalUserOffline
    bool autoDetect = false;
    std::string autoConfigUrl;
    // SecureProtocols where Windows keeps it, strongest first: the machine's
    // policy, the account's policy, the account's own, the machine's default.
    RegistryNumber machinePolicy, userPolicy, user, machine;
    // SCHANNEL\Protocols\TLS 1.x\Client.
    RegistryNumber tls11Enabled, tls11DisabledByDefault, tls12Enabled, tls12DisabledByDefault;
};

// What automatic proxy configuration chose for the service's URL.
struct AutoProxy {
    bool available = true;  // this Windows has the resolver
    bool found = false;     // it gave an answer
    std::string proxy;      // "host:port[;...]"; empty: direct
    uint32_t error = 0;     // why it gave none
    uint32_t ms = 0;
};

// Adds to the proxy step what automatic configuration chooses for `url`; when
// it names a proxy, the name and TCP steps go there instead.
void addAutomaticProxy(StepVerdict& proxyStep, const AutoProxy& automatic, const std::string& url,
                       CheckContext& context);

enum class Tls12 { Available, NotAvailable, NotKnown };

struct Tls12Verdict {
    Tls12 state = Tls12::NotKnown;
    std::string why;
};

// `dialog`: how this Windows names Internet Options, where the advice points.
Tls12Verdict tls12Verdict(const InternetOptions& options, uint32_t windowsMajor,
                          uint32_t windowsMinor, OptionsDialog dialog,
                          const Catalog& catalog = kEnglishCatalog);

// Fails only when TLS 1.2 is not available and SSL is "true".
StepVerdict judgeInternetOptions(const InternetOptions& options, const CheckContext& context);

// Seconds since 1970 (UTC) of an HTTP date (RFC 1123, RFC 850 or asctime
// form); false when the text is none of them.
bool parseHttpDate(const std::string& text, int64_t& utc);

// "UTC+03:00" for a local time 180 minutes ahead of UTC.
std::string utcOffsetText(int32_t minutes);

// "2026-12-07 17:30 UTC"; Russian "07.12.2026 17:30 UTC".
std::string utcText(int64_t utc, Language language = Language::English);

struct ClockReading {
    int64_t utcNow = 0;         // this clock, seconds since 1970
    int32_t offsetMinutes = 0;  // local time minus UTC
    std::string localTime;      // as this Windows shows it
    std::string dateHeader;     // of the service's reply; empty when none
};

// Warns when the clocks differ by more than five minutes.
StepVerdict judgeClock(const ClockReading& clock, const Catalog& catalog = kEnglishCatalog);

struct CertificateFacts {
    bool seen = false;
    uint32_t error = 0;  // why none was read
    std::string subject, issuer;
    std::string topIssuer;  // the issuer of the last certificate of the chain
    std::size_t chainLength = 0;
    int64_t notBefore = 0, notAfter = 0;  // seconds since 1970; 0 when unknown
    std::vector<std::string> ocsp, crl;
    // This Windows hands out the certificate's texts only, not its chain
    // (WinInet before Internet Explorer 8).
    bool chainUnavailable = false;
};

// Sets the context's revocation addresses. Warns under 30 days left.
StepVerdict judgeCertificate(const CertificateFacts& facts, int64_t utcNow, CheckContext& context);

struct RevocationAnswer {
    std::string kind;  // "OCSP" or "CRL"
    std::string url;
    bool tried = false;  // an http:// address
    bool answered = false;
    uint32_t status = 0;  // HTTP status when it answered
    uint32_t error = 0;   // WinInet's error when it did not
    uint32_t ms = 0;
};

// Warns for each address that does not answer.
StepVerdict judgeRevocation(const std::vector<RevocationAnswer>& answers,
                            const CheckContext& context);
