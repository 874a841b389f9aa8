#include "connectioncheck/TillJudgement.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "connectioncheck/StepJudgement.h"
#include "http/Endpoint.h"
#include "http/ErrorText.h"

namespace {

constexpr int64_t kClockTolerance = 5 * 60;
constexpr int64_t kDay = 24 * 60 * 60;
constexpr int64_t kCertificateNotice = 30 * kDay;
constexpr uint32_t kDisconnectedByUser = 0x10;  // INTERNET_STATE_DISCONNECTED_BY_USER

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

std::string registryText(const RegistryNumber& n) {
    return n.present ? std::to_string(n.value) : "not set";
}

std::string protocolsText(const RegistryNumber& n) {
    return n.present ? hex(n.value) + " (" + protocolNames(n.value) + ")" : "not set";
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int64_t>(yoe) + era * 400 + (m <= 2);
}

int monthNumber(const std::string& name) {
    static const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                          "jul", "aug", "sep", "oct", "nov", "dec"};
    if (name.size() != 3) return 0;
    std::string low;
    for (char c : name) low += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (int i = 0; i < 12; ++i) {
        if (low == kMonths[i]) return i + 1;
    }
    return 0;
}

bool isWeekday(const std::string& name) {
    static const char* const kDays[] = {"mon", "tue", "wed", "thu", "fri", "sat", "sun"};
    if (name.size() < 3) return false;
    std::string low;
    for (char c : name) low += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static const char* const kLong[] = {"monday", "tuesday",  "wednesday", "thursday",
                                        "friday", "saturday", "sunday"};
    for (int i = 0; i < 7; ++i) {
        if (low == kDays[i] || low == kLong[i]) return true;
    }
    return false;
}

bool allDigits(const std::string& s) {
    if (s.empty() || s.size() > 4) return false;
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// "hh:mm:ss"
bool parseTimeOfDay(const std::string& s, int& seconds) {
    if (s.size() != 8 || s[2] != ':' || s[5] != ':') return false;
    for (int i : {0, 1, 3, 4, 6, 7}) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    }
    const int h = std::atoi(s.c_str()), m = std::atoi(s.c_str() + 3),
              sec = std::atoi(s.c_str() + 6);
    if (h > 23 || m > 59 || sec > 60) return false;
    seconds = h * 3600 + m * 60 + sec;
    return true;
}

std::string durationText(int64_t seconds) {
    if (seconds < 0) seconds = -seconds;
    if (seconds >= 2 * kDay) return std::to_string(seconds / kDay) + " days";
    if (seconds >= 2 * 3600) return std::to_string(seconds / 3600) + " hours";
    if (seconds >= 2 * 60) return std::to_string(seconds / 60) + " minutes";
    return std::to_string(seconds) + " s";
}

}  // namespace

std::string windowsName(const WindowsVersion& v) {
    const uint32_t version = v.major * 100 + v.minor;
    if (v.server) {
        switch (version) {
            case 502: return "Windows Server 2003";
            case 600: return "Windows Server 2008";
            case 601: return "Windows Server 2008 R2";
            case 602: return "Windows Server 2012";
            case 603: return "Windows Server 2012 R2";
            case 1000:
                return v.build >= 26100   ? "Windows Server 2025"
                       : v.build >= 20348 ? "Windows Server 2022"
                       : v.build >= 17763 ? "Windows Server 2019"
                                          : "Windows Server 2016";
            default: break;
        }
    } else {
        switch (version) {
            case 500: return "Windows 2000";
            case 501: return "Windows XP";
            case 502: return "Windows XP x64";
            case 600: return "Windows Vista";
            case 601: return "Windows 7";
            case 602: return "Windows 8";
            case 603: return "Windows 8.1";
            case 1000: return v.build >= 22000 ? "Windows 11" : "Windows 10";
            default: break;
        }
    }
    return "Windows " + std::to_string(v.major) + "." + std::to_string(v.minor);
}

StepVerdict judgeWindows(const WindowsVersion& v) {
    if (!v.known) return StepVerdict::ok("windows", "version not available on this Windows");
    std::string line = windowsName(v) + " (" + std::to_string(v.major) + "." +
                       std::to_string(v.minor) + ", build " + std::to_string(v.build) +
                       (v.servicePack.empty() ? "" : ", " + v.servicePack) + "), ";
    line += !v.bitnessKnown ? "32- or 64-bit not available on this Windows"
            : v.windows64   ? "64-bit Windows (hostemu and the DLL run as 32-bit programs)"
                            : "32-bit Windows";
    StepVerdict r = StepVerdict::ok("windows", line);
    if (v.major < 5 || (v.major == 5 && v.minor == 0) ||
        (v.major == 5 && v.minor == 1 && v.servicePackMajor < 3)) {
        r.warnings.push_back("the DLL needs Windows XP with Service Pack 3 or later");
    }
    return r;
}

StepVerdict judgeAccount(const AccountInfo& a, uint32_t windowsMajor) {
    std::string line = "user " + (a.user.empty() ? std::string("not available") : a.user);
    line += a.sessionKnown ? ", session " + std::to_string(a.session) : "";
    line += a.station.empty() ? "" : ", window station " + a.station;
    StepVerdict r = StepVerdict::ok("account", line);
    const bool otherStation = !a.station.empty() && a.station != "WinSta0";
    const bool serviceSession = a.sessionKnown && a.session == 0 && windowsMajor >= 6;
    if (otherStation || !a.stationVisible || serviceSession) {
        r.warnings.push_back(
            std::string("this runs ") +
            (serviceSession ? "in session 0, where services run"
                            : "as a service or in the background") +
            (otherStation || !a.stationVisible ? ", without an interactive desktop" : "") +
            ": WinInet is not supported in services; the POS host must run in a user's session");
    }
    r.more.push_back(
        "WinInet takes the proxy and TLS settings from this account's profile: run the check as "
        "the Windows account the POS host runs as");
    return r;
}

void addAutomaticProxy(StepVerdict& r, const AutoProxy& a, const std::string& url,
                       CheckContext& c) {
    const std::string time = " (" + std::to_string(a.ms) + " ms)";
    if (!a.available) {
        r.more.push_back("what automatic configuration chooses: not available on this Windows");
        return;
    }
    if (!a.found) {
        r.more.push_back("automatic configuration chooses nothing for " + url + ": " +
                         systemText(a.error) + time + "; WinInet falls back to the setting above");
        return;
    }
    // Read as a manual setting would be: the first entry for the scheme.
    ProxySetting chosen;
    chosen.direct = false;
    chosen.proxy = a.proxy;
    const std::string proxy = proxyFor(chosen, c.host, c.secure);
    if (proxy.empty()) {
        r.more.push_back("automatic configuration chooses DIRECT for " + url + time +
                         ": WinInet connects directly");
        c.via.clear();
        c.target = c.host;
        c.port = servicePort(c.secure);
        return;
    }
    r.more.push_back("automatic configuration chooses " + a.proxy + " for " + url + time +
                     ": WinInet goes through " + proxy);
    c.via = proxy;
    goThroughProxy(proxy, c);
}

std::string protocolNames(uint32_t bits) {
    static const struct {
        uint32_t bit;
        const char* name;
    } kNames[] = {{kSsl2, "SSL 2.0"},  {kSsl3, "SSL 3.0"},  {kTls10, "TLS 1.0"},
                  {kTls11, "TLS 1.1"}, {kTls12, "TLS 1.2"}, {kTls13, "TLS 1.3"}};
    std::string list;
    for (const auto& n : kNames) {
        if (bits & n.bit) list += (list.empty() ? "" : ", ") + std::string(n.name);
    }
    return list.empty() ? "none" : list;
}

Tls12Verdict tls12Verdict(const InternetOptions& o, uint32_t major, uint32_t minor) {
    const uint32_t version = major * 100 + minor;
    struct Source {
        const RegistryNumber& value;
        const char* where;
    };
    const Source sources[] = {{o.machinePolicy, "the machine's policy"},
                              {o.userPolicy, "this account's policy"},
                              {o.user, "this account's Internet Options"},
                              {o.machine, "the machine's default"}};
    const Source* in = nullptr;
    for (const Source& s : sources) {
        if (s.value.present) {
            in = &s;
            break;
        }
    }
    if (in && !(in->value.value & kTls12)) {
        return {Tls12::NotAvailable,
                std::string("SecureProtocols of ") + in->where + " (" + hex(in->value.value) +
                    ") leaves TLS 1.2 out: tick \"Use TLS 1.2\" in Internet Options, Advanced" +
                    (in == &sources[0] || in == &sources[1] ? " (a policy sets it: ask whoever "
                                                              "manages the domain's policies)"
                                                            : "")};
    }
    if (o.tls12Enabled.present && o.tls12Enabled.value == 0) {
        return {Tls12::NotAvailable,
                "SCHANNEL's TLS 1.2 client key has Enabled=0: TLS 1.2 is switched off for every "
                "program; remove the value or set it to 1"};
    }
    if (version != 0 && version < 601) {
        // XP, Server 2003 and Vista have no TLS 1.2 of their own: only the
        // update for their embedded and server editions adds it, switched on
        // by the SCHANNEL key.
        if (o.tls12Enabled.present && o.tls12Enabled.value != 0 && in) {
            return {Tls12::Available,
                    "SCHANNEL's TLS 1.2 client key is enabled and SecureProtocols has it"};
        }
        return {Tls12::NotAvailable,
                "this Windows has no TLS 1.2 of its own: it needs the TLS 1.1/1.2 update for "
                "its edition, SCHANNEL's TLS 1.2 client key enabled and \"Use TLS 1.2\" ticked"};
    }
    if (in) return {Tls12::Available, std::string("SecureProtocols of ") + in->where + " has it"};
    if (version >= 603) return {Tls12::Available, "SecureProtocols is not set: the default has it"};
    return {Tls12::NotKnown,
            "SecureProtocols is not set: TLS 1.2 is on by default only from Internet Explorer 11; "
            "tick \"Use TLS 1.2\" in Internet Options, Advanced, to be sure"};
}

StepVerdict judgeInternetOptions(const InternetOptions& o, const CheckContext& c) {
    const bool offline = (o.stateKnown && (o.connectedState & kDisconnectedByUser)) ||
                         (o.globalOffline.present && o.globalOffline.value != 0);
    const Tls12Verdict tls = tls12Verdict(o, c.windowsMajor, c.windowsMinor);
    std::string line = std::string("Work Offline ") + (offline ? "on" : "off") +
                       ", automatic detection " + (o.autoDetect ? "on" : "off") +
                       ", configuration script " +
                       (o.autoConfigUrl.empty() ? "none" : o.autoConfigUrl) + "; TLS 1.2 " +
                       (tls.state == Tls12::Available      ? "available to WinInet"
                        : tls.state == Tls12::NotAvailable ? "NOT available to WinInet"
                                                           : "perhaps not available to WinInet");
    StepVerdict r = StepVerdict::ok("internet options", line);
    r.more.push_back("SecureProtocols: machine policy " + protocolsText(o.machinePolicy) +
                     ", account policy " + protocolsText(o.userPolicy) + ", account " +
                     protocolsText(o.user) + ", machine default " + protocolsText(o.machine));
    r.more.push_back("SCHANNEL client keys: TLS 1.1 Enabled " + registryText(o.tls11Enabled) +
                     ", DisabledByDefault " + registryText(o.tls11DisabledByDefault) +
                     "; TLS 1.2 Enabled " + registryText(o.tls12Enabled) + ", DisabledByDefault " +
                     registryText(o.tls12DisabledByDefault));
    r.more.push_back("TLS 1.2: " + tls.why);
    if (offline) {
        r.warnings.push_back(
            "\"Work Offline\" is on for this account: WinInet fails every request; untick it "
            "(Internet Explorer, File menu)");
    }
    if (o.autoDetect || !o.autoConfigUrl.empty()) {
        r.warnings.push_back(
            "automatic proxy configuration is on: the first requests after each start can wait "
            "many seconds while WinInet looks for a proxy; untick it if the till needs none");
    }
    if (tls.state != Tls12::Available && c.secure) {
        if (tls.state == Tls12::NotAvailable) {
            r.status = StepVerdict::Status::Failed;
            r.advice = "SSL is \"true\" but TLS 1.2 is not available to WinInet: " + tls.why;
        } else {
            r.warnings.push_back("SSL is \"true\" and TLS 1.2 may be off: " + tls.why);
        }
    }
    return r;
}

bool parseHttpDate(const std::string& text, int64_t& utc) {
    const std::vector<std::string> tokens = splitWords(text, " ,-\t");
    int day = -1, month = 0, seconds = -1;
    int64_t year = -1;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::string& t = tokens[i];
        if (i == 0 && isWeekday(t)) continue;
        if (t == "GMT" || t == "UTC") {
            if (i + 1 != tokens.size()) return false;
            continue;
        }
        if (month == 0 && monthNumber(t) != 0) {
            month = monthNumber(t);
        } else if (seconds < 0 && t.find(':') != std::string::npos) {
            if (!parseTimeOfDay(t, seconds)) return false;
        } else if (allDigits(t) && day < 0 && t.size() <= 2) {
            day = std::atoi(t.c_str());
        } else if (allDigits(t) && year < 0 && day >= 0) {
            year = std::atoi(t.c_str());
            if (t.size() == 2)
                year += year < 70 ? 2000 : 1900;
            else if (t.size() != 4)
                return false;
        } else {
            return false;
        }
    }
    if (day < 1 || day > 31 || month == 0 || year < 0 || seconds < 0) return false;
    utc = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * kDay +
          seconds;
    return true;
}

std::string utcOffsetText(int32_t minutes) {
    char text[16];
    const int32_t m = minutes < 0 ? -minutes : minutes;
    std::snprintf(text, sizeof text, "UTC%c%02d:%02d", minutes < 0 ? '-' : '+',
                  static_cast<int>(m / 60), static_cast<int>(m % 60));
    return text;
}

std::string utcText(int64_t utc) {
    int64_t days = utc / kDay, rest = utc % kDay;
    if (rest < 0) {
        rest += kDay;
        --days;
    }
    int64_t y;
    unsigned m, d;
    civilFromDays(days, y, m, d);
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02d:%02d UTC", static_cast<long long>(y), m,
                  d, static_cast<int>(rest / 3600), static_cast<int>(rest % 3600 / 60));
    return text;
}

StepVerdict judgeClock(const ClockReading& c) {
    const std::string here = c.localTime + " (" + utcOffsetText(c.offsetMinutes) + ")";
    if (c.dateHeader.empty()) {
        return StepVerdict::ok("clock",
                               here + "; the service's reply has no Date header to compare with");
    }
    int64_t service = 0;
    if (!parseHttpDate(c.dateHeader, service)) {
        return StepVerdict::ok(
            "clock", here + "; the reply's Date header \"" + c.dateHeader + "\" cannot be read");
    }
    const int64_t difference = service - c.utcNow;
    StepVerdict r = StepVerdict::ok("clock", here + "; the service's Date " + utcText(service) +
                                                 ": difference " + (difference > 0 ? "+" : "") +
                                                 std::to_string(difference) + " s" +
                                                 (difference > 0   ? " (this clock is behind)"
                                                  : difference < 0 ? " (this clock is ahead)"
                                                                   : ""));
    if (difference > kClockTolerance || difference < -kClockTolerance) {
        r.warnings.push_back(
            "this clock is " + durationText(difference) +
            (difference > 0 ? " behind" : " ahead of") +
            " the service's: certificates and signed tokens fail on a wrong clock; set the till's "
            "date, time and time zone (or its time server)");
    }
    return r;
}

StepVerdict judgeCertificate(const CertificateFacts& f, int64_t now, CheckContext& c) {
    c.certificateRead = f.seen;
    c.revocationUnavailable = f.chainUnavailable;
    c.ocspUrls = f.ocsp;
    c.crlUrls = f.crl;
    if (!f.seen) {
        return StepVerdict::skipped(
            "certificate", "none read: " + systemText(f.error) + " (the TLS step below says why)");
    }
    StepVerdict r =
        StepVerdict::ok("certificate", oneLine(f.subject) + ", issued by " + oneLine(f.issuer));
    const std::string from = f.notBefore ? utcText(f.notBefore) : "?";
    const std::string until = f.notAfter ? utcText(f.notAfter) : "?";
    std::string valid = "valid " + from + " to " + until;
    if (f.notAfter && f.notAfter > now) valid += " (" + durationText(f.notAfter - now) + " left)";
    r.more.push_back(valid);
    r.more.push_back(
        "top of the chain: " +
        (f.chainUnavailable    ? std::string("not available on this Windows")
         : f.topIssuer.empty() ? std::string("not available")
                               : oneLine(f.topIssuer)) +
        (f.chainLength ? " (" + std::to_string(f.chainLength) + " certificates)" : ""));
    if (f.notAfter && f.notAfter <= now) {
        r.warnings.push_back("the certificate ended on " + until +
                             ": every request fails until the service renews it (or the till's "
                             "clock is wrong)");
    } else if (f.notAfter && f.notAfter - now < kCertificateNotice) {
        r.warnings.push_back("the certificate ends in " + durationText(f.notAfter - now) +
                             ": the service must renew it before " + until +
                             ", or every request fails from then on");
    }
    if (f.notBefore && f.notBefore > now) {
        r.warnings.push_back("the certificate is valid only from " + from +
                             ": check the till's clock");
    }
    return r;
}

StepVerdict judgeRevocation(const std::vector<RevocationAnswer>& answers, const CheckContext& c) {
    if (!c.certificateRead) return StepVerdict::skipped("revocation", "no certificate read");
    if (c.revocationUnavailable) {
        return StepVerdict::ok("revocation", "the addresses are not available on this Windows");
    }
    if (answers.empty()) return StepVerdict::ok("revocation", "none named");
    std::size_t answering = 0;
    StepVerdict r;
    r.label = "revocation";
    for (const RevocationAnswer& a : answers) {
        std::string text = a.kind + " " + a.url + ": ";
        if (!a.tried) {
            text += "not tried (not an http:// address)";
        } else if (a.answered) {
            ++answering;
            text += "answers (HTTP status " + std::to_string(a.status) + ", " +
                    std::to_string(a.ms) + " ms)";
        } else {
            text += "no answer: " + systemText(a.error) + " (" + std::to_string(a.ms) + " ms)";
            r.warnings.push_back(
                "the " + a.kind + " server " + a.url +
                " does not answer from this till: Windows may fail every HTTPS request with 12057; "
                "let the till reach it over HTTP (firewall, proxy)");
        }
        r.more.push_back(text);
    }
    r.line = std::to_string(answers.size()) + (answers.size() == 1 ? " address" : " addresses") +
             ", " + std::to_string(answering) + " answering";
    return r;
}
