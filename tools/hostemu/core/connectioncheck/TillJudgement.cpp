#include "connectioncheck/TillJudgement.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "connectioncheck/StepJudgement.h"
#include "http/Endpoint.h"
#include "http/ErrorText.h"
#include "i18n/DateText.h"

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

std::string registryText(const RegistryNumber& n, const CheckContext& c) {
    return n.present ? std::to_string(n.value) : c.text(Msg::check_not_set);
}

std::string protocolsText(const RegistryNumber& n, const CheckContext& c) {
    if (!n.present) return c.text(Msg::check_not_set);
    const bool known = (n.value & (kSsl2 | kSsl3 | kTls10 | kTls11 | kTls12 | kTls13)) != 0;
    return hex(n.value) + " (" + (known ? protocolNames(n.value) : c.text(Msg::check_none)) + ")";
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

std::string durationText(int64_t seconds, const Catalog& catalog) {
    if (seconds < 0) seconds = -seconds;
    const auto in = [&catalog](Msg key, int64_t count) {
        return formatMessage(catalog, key, {{"count", std::to_string(count)}});
    };
    // To the nearest unit: a clock 3 hours behind measures a second or two
    // either side of it, and must not read as 2 hours.
    const auto nearest = [seconds](int64_t unit) { return (seconds + unit / 2) / unit; };
    if (seconds >= 2 * kDay) return in(Msg::check_days, nearest(kDay));
    if (seconds >= 2 * 3600) return in(Msg::check_hours, nearest(3600));
    if (seconds >= 2 * 60) return in(Msg::check_minutes, nearest(60));
    return in(Msg::check_seconds, seconds);
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

StepVerdict judgeWindows(const WindowsVersion& v, const Catalog& catalog) {
    const std::string label = formatMessage(catalog, Msg::check_label_windows);
    if (!v.known) return StepVerdict::ok(label, formatMessage(catalog, Msg::check_windows_unknown));
    // The service pack's name is Windows' own, in its language.
    std::string line =
        formatMessage(catalog, Msg::check_windows,
                      {{"name", windowsName(v)},
                       {"version", std::to_string(v.major) + "." + std::to_string(v.minor)},
                       {"build", std::to_string(v.build)},
                       {"pack", v.servicePack.empty() ? "" : ", " + v.servicePack}});
    line += formatMessage(catalog, !v.bitnessKnown ? Msg::check_windows_bits_unknown
                                   : v.windows64   ? Msg::check_windows_64
                                                   : Msg::check_windows_32);
    StepVerdict r = StepVerdict::ok(label, line);
    if (v.major < 5 || (v.major == 5 && v.minor == 0) ||
        (v.major == 5 && v.minor == 1 && v.servicePackMajor < 3)) {
        r.warnings.push_back(formatMessage(catalog, Msg::check_windows_too_old));
    }
    return r;
}

StepVerdict judgeAccount(const AccountInfo& a, uint32_t windowsMajor, const Catalog& catalog) {
    const auto text = [&catalog](Msg key, MessageArgs args = {}) {
        return formatMessage(catalog, key, args);
    };
    std::string line = text(Msg::check_account_user,
                            {{"user", a.user.empty() ? text(Msg::check_not_available) : a.user}});
    line += a.sessionKnown
                ? text(Msg::check_account_session, {{"session", std::to_string(a.session)}})
                : "";
    line += a.station.empty() ? "" : text(Msg::check_account_station, {{"station", a.station}});
    StepVerdict r = StepVerdict::ok(text(Msg::check_label_account), line);
    const bool otherStation = !a.station.empty() && a.station != "WinSta0";
    const bool serviceSession = a.sessionKnown && a.session == 0 && windowsMajor >= 6;
    if (otherStation || !a.stationVisible || serviceSession) {
        r.warnings.push_back(text(
            Msg::check_account_service,
            {{"where",
              text(serviceSession ? Msg::check_account_session_0 : Msg::check_account_background)},
             {"desktop",
              otherStation || !a.stationVisible ? text(Msg::check_account_no_desktop) : ""}}));
    }
    r.more.push_back(text(Msg::check_account_profile));
    return r;
}

void addAutomaticProxy(StepVerdict& r, const AutoProxy& a, const std::string& url,
                       CheckContext& c) {
    const std::string time = c.text(Msg::check_step_time, {{"ms", std::to_string(a.ms)}});
    if (!a.available) {
        r.more.push_back(c.text(Msg::check_auto_unavailable));
        return;
    }
    if (!a.found) {
        r.more.push_back(
            c.text(Msg::check_auto_nothing,
                   {{"url", url}, {"why", systemText(a.error, *c.catalog)}, {"time", time}}));
        return;
    }
    // Read as a manual setting would be: the first entry for the scheme.
    ProxySetting chosen;
    chosen.direct = false;
    chosen.proxy = a.proxy;
    const std::string proxy = proxyFor(chosen, c.host, c.secure);
    if (proxy.empty()) {
        r.more.push_back(c.text(Msg::check_auto_direct, {{"url", url}, {"time", time}}));
        c.via.clear();
        c.target = c.host;
        c.port = servicePort(c.secure);
        return;
    }
    r.more.push_back(c.text(Msg::check_auto_proxy,
                            {{"proxy", a.proxy}, {"url", url}, {"time", time}, {"via", proxy}}));
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

Tls12Verdict tls12Verdict(const InternetOptions& o, uint32_t major, uint32_t minor,
                          OptionsDialog dialog, const Catalog& catalog) {
    const uint32_t version = major * 100 + minor;
    const std::string options = optionsDialogName(catalog, dialog);
    const auto text = [&catalog](Msg key, MessageArgs args = {}) {
        return formatMessage(catalog, key, args);
    };
    struct Source {
        const RegistryNumber& value;
        Msg where;
    };
    const Source sources[] = {{o.machinePolicy, Msg::check_where_machine_policy},
                              {o.userPolicy, Msg::check_where_account_policy},
                              {o.user, Msg::check_where_account},
                              {o.machine, Msg::check_where_machine}};
    // Only the account's own setting is made in the dialog.
    const auto whereText = [&](Msg where) {
        return where == Msg::check_where_account ? text(where, {{"options", options}})
                                                 : text(where);
    };
    const Source* in = nullptr;
    for (const Source& s : sources) {
        if (s.value.present) {
            in = &s;
            break;
        }
    }
    if (in && !(in->value.value & kTls12)) {
        return {
            Tls12::NotAvailable,
            text(Msg::check_tls12_left_out, {{"where", whereText(in->where)},
                                             {"value", hex(in->value.value)},
                                             {"options", options}}) +
                (in == &sources[0] || in == &sources[1] ? text(Msg::check_tls12_by_policy) : "")};
    }
    if (o.tls12Enabled.present && o.tls12Enabled.value == 0) {
        return {Tls12::NotAvailable, text(Msg::check_tls12_schannel_off)};
    }
    if (version != 0 && version < 601) {
        // XP, Server 2003 and Vista have no TLS 1.2 of their own: only the
        // update for their embedded and server editions adds it, switched on
        // by the SCHANNEL key.
        if (o.tls12Enabled.present && o.tls12Enabled.value != 0 && in) {
            return {Tls12::Available, text(Msg::check_tls12_schannel_on)};
        }
        return {Tls12::NotAvailable, text(Msg::check_tls12_old_windows)};
    }
    if (in)
        return {Tls12::Available, text(Msg::check_tls12_set, {{"where", whereText(in->where)}})};
    if (version >= 603) return {Tls12::Available, text(Msg::check_tls12_default)};
    return {Tls12::NotKnown, text(Msg::check_tls12_not_known, {{"options", options}})};
}

StepVerdict judgeInternetOptions(const InternetOptions& o, const CheckContext& c) {
    const bool offline = (o.stateKnown && (o.connectedState & kDisconnectedByUser)) ||
                         (o.globalOffline.present && o.globalOffline.value != 0);
    const Tls12Verdict tls =
        tls12Verdict(o, c.windowsMajor, c.windowsMinor, c.dialog(), *c.catalog);
    const auto onOff = [&c](bool on) { return c.text(on ? Msg::check_on : Msg::check_off); };
    const std::string line =
        c.text(Msg::check_options,
               {{"offline", onOff(offline)},
                {"detect", onOff(o.autoDetect)},
                {"script", o.autoConfigUrl.empty() ? c.text(Msg::check_none) : o.autoConfigUrl},
                {"tls", c.text(tls.state == Tls12::Available      ? Msg::check_tls12_available
                               : tls.state == Tls12::NotAvailable ? Msg::check_tls12_not_available
                                                                  : Msg::check_tls12_perhaps)}});
    StepVerdict r = StepVerdict::ok(optionsDialogLabel(*c.catalog, c.dialog()), line);
    r.more.push_back(
        c.text(Msg::check_options_protocols, {{"machinePolicy", protocolsText(o.machinePolicy, c)},
                                              {"accountPolicy", protocolsText(o.userPolicy, c)},
                                              {"account", protocolsText(o.user, c)},
                                              {"machine", protocolsText(o.machine, c)}}));
    r.more.push_back(c.text(Msg::check_options_schannel,
                            {{"tls11", registryText(o.tls11Enabled, c)},
                             {"tls11Default", registryText(o.tls11DisabledByDefault, c)},
                             {"tls12", registryText(o.tls12Enabled, c)},
                             {"tls12Default", registryText(o.tls12DisabledByDefault, c)}}));
    r.more.push_back("TLS 1.2: " + tls.why);
    if (offline) r.warnings.push_back(c.text(Msg::check_options_offline));
    if (o.autoDetect || !o.autoConfigUrl.empty())
        r.warnings.push_back(c.text(Msg::check_options_auto_proxy, {{"options", c.optionsName()}}));
    if (tls.state != Tls12::Available && c.secure) {
        if (tls.state == Tls12::NotAvailable) {
            r.status = StepVerdict::Status::Failed;
            r.advice = c.text(Msg::check_options_no_tls12, {{"why", tls.why}});
        } else {
            r.warnings.push_back(c.text(Msg::check_options_maybe_tls12, {{"why", tls.why}}));
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

std::string utcText(int64_t utc, Language language) {
    return dateText(language, civilTime(utc), DateParts::Minute, EnglishDate::Iso) + " UTC";
}

StepVerdict judgeClock(const ClockReading& c, const Catalog& catalog) {
    const auto text = [&catalog](Msg key, MessageArgs args = {}) {
        return formatMessage(catalog, key, args);
    };
    const std::string label = text(Msg::check_label_clock);
    const std::string here = c.localTime + " (" + utcOffsetText(c.offsetMinutes) + ")";
    if (c.dateHeader.empty()) return StepVerdict::ok(label, here + text(Msg::check_clock_no_date));
    int64_t service = 0;
    if (!parseHttpDate(c.dateHeader, service))
        return StepVerdict::ok(label,
                               here + text(Msg::check_clock_bad_date, {{"date", c.dateHeader}}));
    const int64_t difference = service - c.utcNow;
    StepVerdict r = StepVerdict::ok(
        label,
        here + text(Msg::check_clock,
                    {{"date", utcText(service, catalog.language)},
                     {"difference", (difference > 0 ? "+" : "") + std::to_string(difference)},
                     {"which", difference > 0   ? text(Msg::check_clock_behind)
                               : difference < 0 ? text(Msg::check_clock_ahead)
                                                : ""}}));
    if (difference > kClockTolerance || difference < -kClockTolerance) {
        r.warnings.push_back(
            text(difference > 0 ? Msg::check_clock_warn_behind : Msg::check_clock_warn_ahead,
                 {{"duration", durationText(difference, catalog)}}));
    }
    return r;
}

StepVerdict judgeCertificate(const CertificateFacts& f, int64_t now, CheckContext& c) {
    c.certificateRead = f.seen;
    c.revocationUnavailable = f.chainUnavailable;
    c.ocspUrls = f.ocsp;
    c.crlUrls = f.crl;
    const std::string label = c.text(Msg::check_label_certificate);
    if (!f.seen) {
        return StepVerdict::skipped(
            label, c.text(Msg::check_certificate_none, {{"why", systemText(f.error, *c.catalog)}}));
    }
    StepVerdict r = StepVerdict::ok(
        label, c.text(Msg::check_certificate,
                      {{"subject", oneLine(f.subject)}, {"issuer", oneLine(f.issuer)}}));
    const std::string from = f.notBefore ? utcText(f.notBefore, c.catalog->language) : "?";
    const std::string until = f.notAfter ? utcText(f.notAfter, c.catalog->language) : "?";
    std::string valid = c.text(Msg::check_certificate_valid, {{"from", from}, {"to", until}});
    if (f.notAfter && f.notAfter > now) {
        valid += c.text(Msg::check_certificate_left,
                        {{"duration", durationText(f.notAfter - now, *c.catalog)}});
    }
    r.more.push_back(valid);
    r.more.push_back(
        c.text(Msg::check_certificate_top,
               {{"top", f.chainUnavailable    ? c.text(Msg::check_not_available_here)
                        : f.topIssuer.empty() ? c.text(Msg::check_not_available)
                                              : oneLine(f.topIssuer)},
                {"count", f.chainLength ? c.text(Msg::check_certificate_count,
                                                 {{"count", std::to_string(f.chainLength)}})
                                        : ""}}));
    if (f.notAfter && f.notAfter <= now) {
        r.warnings.push_back(c.text(Msg::check_certificate_ended, {{"until", until}}));
    } else if (f.notAfter && f.notAfter - now < kCertificateNotice) {
        r.warnings.push_back(
            c.text(Msg::check_certificate_ends,
                   {{"duration", durationText(f.notAfter - now, *c.catalog)}, {"until", until}}));
    }
    if (f.notBefore && f.notBefore > now)
        r.warnings.push_back(c.text(Msg::check_certificate_not_yet, {{"from", from}}));
    return r;
}

StepVerdict judgeRevocation(const std::vector<RevocationAnswer>& answers, const CheckContext& c) {
    const std::string label = c.text(Msg::check_label_revocation);
    if (!c.certificateRead)
        return StepVerdict::skipped(label, c.text(Msg::check_revocation_no_certificate));
    if (c.revocationUnavailable)
        return StepVerdict::ok(label, c.text(Msg::check_revocation_unavailable));
    if (answers.empty()) return StepVerdict::ok(label, c.text(Msg::check_revocation_none));
    std::size_t answering = 0;
    StepVerdict r;
    r.label = label;
    for (const RevocationAnswer& a : answers) {
        const std::string ms = std::to_string(a.ms);
        std::string text = a.kind + " " + a.url + ": ";
        if (!a.tried) {
            text += c.text(Msg::check_revocation_not_tried);
        } else if (a.answered) {
            ++answering;
            text += c.text(Msg::check_revocation_answers,
                           {{"status", std::to_string(a.status)}, {"ms", ms}});
        } else {
            text += c.text(Msg::check_revocation_no_answer,
                           {{"why", systemText(a.error, *c.catalog)}, {"ms", ms}});
            r.warnings.push_back(
                c.text(Msg::check_revocation_warning, {{"kind", a.kind}, {"url", a.url}}));
        }
        r.more.push_back(text);
    }
    r.line = c.plural(
        PluralMsg::check_revocation_count, answers.size(),
        {{"count", std::to_string(answers.size())}, {"answering", std::to_string(answering)}});
    return r;
}
