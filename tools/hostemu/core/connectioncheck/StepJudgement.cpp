#include "connectioncheck/StepJudgement.h"

#include <rapidjson/document.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "api/GuestInfo.h"
#include "api/JsonText.h"
#include "api/ReplyAccess.h"
#include "confreport/Report.h"
#include "connectioncheck/TillJudgement.h"
#include "display/ShownValues.h"
#include "encoding/Encodings.h"
#include "http/Endpoint.h"
#include "http/ErrorText.h"
#include "http/ServicePaths.h"
#include "http/Timings.h"
#include "log/LogEvents.h"

namespace {

constexpr std::size_t kShownReply = 300;
constexpr std::size_t kQuotedReply = 80;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// '*' matches any run of characters, as in WinInet's bypass list.
bool wildcardMatch(const char* pattern, const char* text) {
    if (*pattern == '\0') return *text == '\0';
    if (*pattern == '*') {
        for (const char* t = text;; ++t) {
            if (wildcardMatch(pattern + 1, t)) return true;
            if (*t == '\0') return false;
        }
    }
    return *text != '\0' && *pattern == *text && wildcardMatch(pattern + 1, text + 1);
}

std::vector<std::string> splitList(const std::string& list) { return splitWords(list, "; \t,"); }

}  // namespace

void goThroughProxy(const std::string& proxy, CheckContext& context) {
    const std::size_t colon = proxy.rfind(':');
    context.target = proxy.substr(0, colon);
    context.port = colon == std::string::npos
                       ? 80
                       : static_cast<uint16_t>(std::atoi(proxy.c_str() + colon + 1));
}

std::vector<std::string> splitWords(const std::string& text, const char* separators) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c != '\0' && std::strchr(separators, c) != nullptr) {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

std::string bypassEntryFor(const std::string& list, const std::string& host) {
    const std::string name = lower(host);
    for (const std::string& entry : splitList(list)) {
        const std::string low = lower(entry);
        if (low == "<local>") {
            if (name.find('.') == std::string::npos) return entry;
        } else if (wildcardMatch(low.c_str(), name.c_str())) {
            return entry;
        }
    }
    return "";
}

bool onBypassList(const std::string& list, const std::string& host) {
    return !bypassEntryFor(list, host).empty();
}

std::string configuredProxy(const ProxySetting& setting, bool secure) {
    if (setting.direct || setting.proxy.empty()) return "";
    const std::string scheme = secure ? "https=" : "http=";
    std::string any;
    for (const std::string& entry : splitList(setting.proxy)) {
        const std::string low = lower(entry);
        if (low.compare(0, scheme.size(), scheme) == 0) return entry.substr(scheme.size());
        if (entry.find('=') == std::string::npos && any.empty()) any = entry;
    }
    if (any.compare(0, 7, "http://") == 0) any = any.substr(7);
    return any;
}

std::string proxyFor(const ProxySetting& setting, const std::string& host, bool secure) {
    return onBypassList(setting.bypass, host) ? "" : configuredProxy(setting, secure);
}

std::string bypassAdvice(const ProxySetting& setting, const std::string& host,
                         const Catalog& catalog, const std::string& options) {
    const std::string entry = bypassEntryFor(setting.bypass, host);
    if (!entry.empty() && lower(entry) == lower(host))
        return formatMessage(catalog, Msg::check_bypass_exact_ignored, {{"host", host}});
    if (!entry.empty())
        return formatMessage(catalog, Msg::check_bypass_ignored,
                             {{"entry", entry}, {"host", host}, {"options", options}});
    // The pattern Windows documents for the neighbourhood: "10.1.2.*", "*.example.com".
    std::string pattern = host;
    const bool address = host.find_first_not_of("0123456789.") == std::string::npos;
    if (address && host.rfind('.') != std::string::npos) {
        pattern = host.substr(0, host.rfind('.')) + ".*";
    } else if (host.find('.') != std::string::npos) {
        pattern = "*" + host.substr(host.find('.'));
    }
    return formatMessage(catalog, Msg::check_bypass_add,
                         {{"host", host}, {"pattern", pattern}, {"options", options}});
}

StepVerdict judgeProxy(const ProxySetting& proxy, const RouteTaken& route, CheckContext& c) {
    const std::string& host = c.host;
    const std::string configured = configuredProxy(proxy, c.secure);
    c.via = proxyFor(proxy, host, c.secure);
    // The route the request took, when WinInet told it: the proxy's name or
    // address, or the service's.
    const std::string proxyHost = lower(configured.substr(0, configured.rfind(':')));
    const bool routeKnown =
        route.probed && !configured.empty() && (!route.name.empty() || !route.address.empty());
    const bool wentToProxy = routeKnown && (lower(route.name) == proxyHost ||
                                            (route.name.empty() && route.address == proxyHost));
    const bool seemsBypassed = !configured.empty() && c.via.empty();
    if (routeKnown) c.via = wentToProxy ? configured : "";
    const std::string& via = c.via;
    const std::string label = c.text(Msg::check_label_proxy);
    StepVerdict r;
    if (!proxy.known) {
        r = StepVerdict::ok(label,
                            c.text(Msg::check_proxy_unknown, {{"options", c.optionsName()}}));
    } else if (proxy.direct || proxy.proxy.empty()) {
        r = StepVerdict::ok(label, c.text(Msg::check_proxy_none, {{"options", c.optionsName()}}));
    } else if (via.empty()) {
        r = StepVerdict::ok(
            label,
            c.text(seemsBypassed ? Msg::check_proxy_bypassed : Msg::check_proxy_direct_anyway,
                   {{"proxy", proxy.proxy},
                    {"host", host},
                    {"bypass", proxy.bypass.empty() ? c.text(Msg::check_none) : proxy.bypass}}));
    } else if (seemsBypassed) {
        r = StepVerdict::ok(label, c.text(Msg::check_proxy_bypass_ignored,
                                          {{"proxy", proxy.proxy},
                                           {"host", host},
                                           {"bypass", proxy.bypass},
                                           {"entry", bypassEntryFor(proxy.bypass, host)},
                                           {"via", via}}));
    } else {
        r = StepVerdict::ok(
            label,
            c.text(Msg::check_proxy_through,
                   {{"proxy", proxy.proxy},
                    {"bypass", proxy.bypass.empty() ? c.text(Msg::check_none) : proxy.bypass},
                    {"via", via}}));
    }
    if (routeKnown) {
        r.more.push_back(c.text(wentToProxy ? Msg::check_route_proxy : Msg::check_route_direct,
                                {{"name", route.name.empty() ? route.address : route.name}}));
    }
    if (!via.empty()) c.bypassAdvice = bypassAdvice(proxy, host, *c.catalog, c.optionsName());
    if (proxy.autoDetect || !proxy.autoConfigUrl.empty()) {
        const std::string script =
            proxy.autoConfigUrl.empty()
                ? ""
                : c.text(Msg::check_proxy_auto_script, {{"url", proxy.autoConfigUrl}});
        r.more.push_back(
            c.text(Msg::check_proxy_auto_on,
                   {{"how", (proxy.autoDetect ? c.text(Msg::check_proxy_auto_detect) : "") +
                                (proxy.autoDetect && !proxy.autoConfigUrl.empty() ? ", " : "") +
                                script}}));
    }
    c.target = host;
    c.port = servicePort(c.secure);
    if (!via.empty()) goThroughProxy(via, c);
    return r;
}

bool certificateArrived(uint32_t sendError) {
    switch (sendError) {
        case 0:
        case 12037:  // ERROR_INTERNET_SEC_CERT_DATE_INVALID
        case 12038:  // ERROR_INTERNET_SEC_CERT_CN_INVALID
        case 12045:  // ERROR_INTERNET_INVALID_CA
        case 12057:  // ERROR_INTERNET_SEC_CERT_REV_FAILED
        case 12169:  // ERROR_INTERNET_SEC_INVALID_CERT
        case 12170:  // ERROR_INTERNET_SEC_CERT_REVOKED
            return true;
        default: return false;
    }
}

StepVerdict judgeTls(const TlsOutcome& tls, const std::string& host, const std::string& now,
                     const Catalog& catalog) {
    StepVerdict r = tls.firstError == 0
                        ? StepVerdict::ok("TLS", formatMessage(catalog, Msg::check_tls))
                        : StepVerdict::failed("TLS", systemText(tls.firstError, catalog), "");
    if (tls.certificateSeen) {
        const auto date = [&catalog](int64_t utc) {
            return utc != 0 ? utcText(utc, catalog.language) : std::string("?");
        };
        r.more.push_back(formatMessage(catalog, Msg::check_tls_certificate,
                                       {{"subject", oneLine(tls.subject)},
                                        {"issuer", oneLine(tls.issuer)},
                                        {"from", date(tls.validFrom)},
                                        {"to", date(tls.validTo)}}));
    }
    if (tls.firstError == 0) return r;
    // A chain that cannot be checked for revocation because something else is
    // wrong with it: the other problem is the cause.
    std::vector<uint32_t> causes;
    for (uint32_t code : tls.problems) {
        if (code != 12057 || tls.problems.size() == 1) causes.push_back(code);
    }
    for (uint32_t code : causes) {
        if (code != tls.firstError)
            r.more.push_back(
                formatMessage(catalog, Msg::check_tls_past, {{"why", systemText(code, catalog)}}));
        const std::string advice = certificateAdvice(code, now, catalog);
        if (!advice.empty()) r.more.push_back(advice);
        if (r.advice.empty()) r.advice = advice;
    }
    if (r.advice.empty()) {
        r.advice = formatMessage(catalog, Msg::check_tls_none,
                                 {{"host", host}, {"why", systemText(tls.firstError, catalog)}});
    } else {
        // The code the DLL's log shows for the same server.
        r.advice += " (" +
                    formatMessage(catalog, Msg::check_dll_logs,
                                  {{"line", loggedErrorText(tls.firstError)}}) +
                    ")";
    }
    return r;
}

namespace {

// The service's own words for a failure: its "ErrorMessage" or "Message";
// empty when it gave none.
std::string serviceMessage(const rapidjson::Document& json) {
    if (json.HasParseError() || !json.IsObject()) return "";
    for (const char* name : {"ErrorMessage", "Message"}) {
        const auto it = json.FindMember(name);
        if (it != json.MemberEnd() && it->value.IsString() && it->value.GetStringLength() != 0)
            return it->value.GetString();
    }
    return "";
}

}  // namespace

StepVerdict judgeGuestInfo(const GuestInfoExchange& x, const std::string& token,
                           const std::string& now, const Catalog& catalog) {
    const std::string& sent = x.sent;
    const std::string limit = std::to_string(timings::kSendLimitMs / 1000);
    const auto text = [&catalog](Msg key, MessageArgs args = {}) {
        return formatMessage(catalog, key, args);
    };
    const auto dllEnds = [&](const std::string& line) {
        return text(Msg::check_dll_ends, {{"line", fromHostText(line)}});
    };
    if (x.timedOut) {
        return StepVerdict::failed(
            "GuestInfo", sent + ": " + text(Msg::check_guestinfo_timeout, {{"limit", limit}}),
            text(Msg::check_guestinfo_timeout_advice, {{"limit", limit}}));
    }
    const std::string status = std::to_string(x.status);
    if (x.emptyReply) {
        if (x.status == 0 && x.errorCode == 0) {
            // Windows names no error: the connection ended before any answer.
            return StepVerdict::failed("GuestInfo", sent + ": " + text(Msg::check_guestinfo_closed),
                                       text(Msg::check_guestinfo_closed_advice));
        }
        if (x.status == 0) {
            const std::string advice = certificateAdvice(x.errorCode, now, catalog);
            return StepVerdict::failed(
                "GuestInfo", sent + ": " + systemText(x.errorCode, catalog),
                text(Msg::check_guestinfo_failed,
                     {{"why", advice.empty() ? systemText(x.errorCode, catalog) : advice}}) +
                    " (" + text(Msg::check_dll_logs, {{"line", loggedErrorText(x.errorCode)}}) +
                    ")");
        }
        // The transport's last line for an empty reply names its status, when
        // it is no success.
        const std::string advice = statusAdvice(x.status, x.place, catalog);
        return StepVerdict::failed(
            "GuestInfo", sent + ": " + text(Msg::check_guestinfo_empty, {{"status", status}}),
            text(Msg::check_guestinfo_empty_advice, {{"status", status}}) + ": " +
                dllEnds(isSuccessStatus(x.status)
                            ? logevent::format(
                                  logevent::Event::ReadFailed,
                                  {{"path", std::string(servicepath::kGuestInfo) + "<token>"}})
                            : logevent::format(logevent::Event::HttpStatus, {{"status", status}})) +
                (advice.empty() ? "" : ": " + advice));
    }
    rapidjson::Document json;
    parseJson(json, x.text.c_str());
    const bool isJson = !json.HasParseError();
    const bool hasStatus = isJson && json.IsObject() && json.HasMember("Status");
    const bool integerStatus = hasStatus && json["Status"].IsInt();
    // The DLL's own reading of the reply, and the line it logs for it.
    GuestReply reading = GuestReply::OtherStatus;
    std::string dllLine;
    bool unusable = false;
    try {
        reading = readGuestReply(json);
        dllLine = guestReplyLogLine(reading);
    } catch (const ReplyFormatError& e) {
        dllLine = logevent::format(logevent::Event::ReplyNotUsable, {{"what", e.message}});
        unusable = true;
    }
    std::string what =
        text(Msg::cause_http_status, {{"status", status}}) + ", " +
        text(Msg::check_guestinfo_bytes, {{"count", std::to_string(x.text.size())}}) + ", " +
        text(hasStatus ? Msg::check_guestinfo_json_status
             : isJson  ? Msg::check_guestinfo_json_no_status
                       : Msg::check_guestinfo_not_json);
    if (integerStatus) what += " " + std::to_string(json["Status"].GetInt());
    if (hasStatus && !integerStatus) what += text(Msg::check_guestinfo_status_not_whole);
    StepVerdict r;
    r.label = "GuestInfo";
    r.line = sent + ": " + what;
    r.more.push_back(text(Msg::check_guestinfo_reply, {{"reply", shownReply(x.text, token)}}));
    // Only the service's own reply says that it works: a gateway, a firewall
    // or a proxy answers with a page, or with JSON of its own; and only a guest
    // found or a card refused says that it took the request.
    // A refusal without its "ErrorMessage" is still the service's refusal of
    // the card: the lookup ends with 1 for it as for any other.
    const bool refusal = integerStatus && json["Status"].GetInt() == 2;
    const bool taken = refusal || (!unusable && reading == GuestReply::Found);
    if (isSuccessStatus(x.status) && taken) {
        r.advice = text(Msg::check_guestinfo_ok, {{"status", status}});
        return r;
    }
    r.status = StepVerdict::Status::Failed;
    const std::string message = serviceMessage(json);
    const bool pointsAtToken = x.status == 401 || x.status == 403 ||
                               (integerStatus && json["Status"].GetInt() == 0 && !message.empty());
    const std::string advice =
        pointsAtToken ? text(Msg::check_advice_token, {{"place", x.place}})
        : x.status == 407 && !x.bypassAdvice.empty()
            ? text(Msg::check_advice_407_bypass, {{"bypass", x.bypassAdvice}})
            : statusAdvice(x.status, x.place, catalog);
    if (!advice.empty()) r.more.push_back(advice);
    const std::string came = !isJson      ? text(Msg::check_guestinfo_came_not_json)
                             : !hasStatus ? text(Msg::check_guestinfo_came_no_status)
                             : !integerStatus
                                 ? text(Msg::check_guestinfo_came_not_whole)
                                 : text(Msg::check_guestinfo_came_json,
                                        {{"status", std::to_string(json["Status"].GetInt())}});
    // The service's words, else the start of what came.
    std::string quoted = message.empty() ? shownReply(x.text, token) : shownReply(message, token);
    if (quoted.size() > kQuotedReply) quoted = quoted.substr(0, kQuotedReply) + " ...";
    r.advice =
        text(Msg::cause_http_status, {{"status", status}}) + " " +
        text(Msg::check_guestinfo_came, {{"what", came}}) + " (\"" + quoted + "\")" +
        (dllLine.empty() ? ""
                         : ": " + text(Msg::check_dll_logs, {{"line", fromHostText(dllLine)}})) +
        (advice.empty() ? "" : ": " + advice);
    return r;
}

std::string loggedErrorText(uint32_t code) { return fromHostText(windowsErrorMessage(code)); }

std::optional<Msg> errorTextMessage(uint32_t code) {
    struct Known {
        uint32_t code;
        Msg text;
    };
    static const Known kKnown[] = {
        {12002, Msg::error_text_12002}, {12007, Msg::error_text_12007},
        {12017, Msg::error_text_12017}, {12029, Msg::error_text_12029},
        {12030, Msg::error_text_12030}, {12031, Msg::error_text_12031},
        {12037, Msg::error_text_12037}, {12038, Msg::error_text_12038},
        {12044, Msg::error_text_12044}, {12045, Msg::error_text_12045},
        {12057, Msg::error_text_12057}, {12152, Msg::error_text_12152},
        {12157, Msg::error_text_12157}, {12165, Msg::error_text_12165},
        {12175, Msg::error_text_12175},
    };
    for (const Known& k : kKnown)
        if (k.code == code) return k.text;
    return std::nullopt;
}

std::string systemText(uint32_t code, const Catalog& catalog) {
    // English keeps the text the DLL logs; Russian says the codes an
    // installer meets in Russian, whatever language the system speaks.
    const std::optional<Msg> own = errorTextMessage(code);
    const std::string text = catalog.language == Language::Russian && own
                                 ? formatMessage(catalog, *own)
                                 : fromHostText(describeError(code));
    return formatMessage(catalog, Msg::cause_windows_error_text,
                         {{"code", std::to_string(code)}, {"text", text}});
}

std::string certificateAdvice(uint32_t code, const std::string& now, const Catalog& catalog) {
    switch (code) {
        case 12045: return formatMessage(catalog, Msg::check_advice_12045);
        case 12038: return formatMessage(catalog, Msg::check_advice_12038);
        case 12037: return formatMessage(catalog, Msg::check_advice_12037, {{"now", now}});
        case 12057: return formatMessage(catalog, Msg::check_advice_12057);
        case 12157: return formatMessage(catalog, Msg::check_advice_12157);
        default: return "";
    }
}

std::string statusAdvice(uint32_t status, const std::string& place, const Catalog& catalog) {
    switch (status) {
        case 407: return formatMessage(catalog, Msg::check_advice_407);
        case 502:
        case 503:
        case 504: return formatMessage(catalog, Msg::check_advice_gateway);
        case 404:
            return formatMessage(catalog, Msg::check_advice_404,
                                 {{"path", servicepath::kGuestInfo}});
        case 401:
        case 403: return formatMessage(catalog, Msg::check_advice_token, {{"place", place}});
        case 400: return formatMessage(catalog, Msg::check_advice_400);
        case 500: return formatMessage(catalog, Msg::check_advice_500);
        default: return "";
    }
}

std::string shownReply(std::string text, const std::string& token) {
    const std::string masked = maskToken(token);
    // Past each replacement: the masked form may hold the token again (a token
    // "a" shows as "\"*\" (1 characters)").
    for (std::size_t at = token.empty() ? std::string::npos : text.find(token);
         at != std::string::npos; at = text.find(token, at + masked.size())) {
        text.replace(at, token.size(), masked);
    }
    text = oneLine(text);
    if (text.size() > kShownReply) text = text.substr(0, kShownReply) + " ...";
    return text;
}
