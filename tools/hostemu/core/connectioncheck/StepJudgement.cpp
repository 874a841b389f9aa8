#include "connectioncheck/StepJudgement.h"

#include <rapidjson/document.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "api/JsonText.h"
#include "confreport/Report.h"
#include "display/ShownValues.h"
#include "encoding/Encodings.h"
#include "http/Endpoint.h"
#include "http/ErrorText.h"
#include "http/Timings.h"
#include "log/LogPhrases.h"

namespace {

constexpr std::size_t kShownReply = 300;

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

bool onBypassList(const std::string& list, const std::string& host) {
    const std::string name = lower(host);
    for (const std::string& entry : splitList(lower(list))) {
        if (entry == "<local>") {
            if (name.find('.') == std::string::npos) return true;
        } else if (wildcardMatch(entry.c_str(), name.c_str())) {
            return true;
        }
    }
    return false;
}

std::string proxyFor(const ProxySetting& setting, const std::string& host, bool secure) {
    if (setting.direct || setting.proxy.empty() || onBypassList(setting.bypass, host)) return "";
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

StepVerdict judgeProxy(const ProxySetting& proxy, CheckContext& c) {
    const std::string& host = c.host;
    c.via = proxyFor(proxy, host, c.secure);
    const std::string& via = c.via;
    StepVerdict r;
    if (!proxy.known) {
        r = StepVerdict::ok(
            "proxy", "cannot be read from Internet Options; the steps below connect directly");
    } else if (proxy.direct || proxy.proxy.empty()) {
        r = StepVerdict::ok("proxy",
                            "none: this Windows account's Internet Options connect directly");
    } else if (via.empty()) {
        r = StepVerdict::ok("proxy", proxy.proxy + ", but " + host + " is on its bypass list (" +
                                         proxy.bypass + "): WinInet connects directly");
    } else {
        r = StepVerdict::ok("proxy", proxy.proxy + " (bypass list: " +
                                         (proxy.bypass.empty() ? "none" : proxy.bypass) +
                                         "): WinInet goes through " + via);
    }
    if (proxy.autoDetect || !proxy.autoConfigUrl.empty()) {
        r.more.push_back(std::string("automatic proxy configuration is on (") +
                         (proxy.autoDetect ? "detect settings" : "") +
                         (proxy.autoDetect && !proxy.autoConfigUrl.empty() ? ", " : "") +
                         (proxy.autoConfigUrl.empty() ? "" : "script " + proxy.autoConfigUrl) +
                         "): WinInet tries it before the setting above");
    }
    c.target = host;
    c.port = servicePort(c.secure);
    if (!via.empty()) goThroughProxy(via, c);
    return r;
}

StepVerdict judgeTls(const TlsOutcome& tls, const std::string& host, const std::string& now) {
    StepVerdict r = tls.firstError == 0
                        ? StepVerdict::ok("TLS", "handshake done, certificate trusted")
                        : StepVerdict::failed("TLS", systemText(tls.firstError), "");
    if (tls.certificateSeen) {
        r.more.push_back("certificate of " + oneLine(tls.subject) + ", issued by " +
                         oneLine(tls.issuer) + ", valid " + tls.validFrom + " to " + tls.validTo);
    }
    if (tls.firstError == 0) return r;
    // A chain that cannot be checked for revocation because something else is
    // wrong with it: the other problem is the cause.
    std::vector<uint32_t> causes;
    for (uint32_t code : tls.problems) {
        if (code != 12057 || tls.problems.size() == 1) causes.push_back(code);
    }
    for (uint32_t code : causes) {
        if (code != tls.firstError) r.more.push_back("past it: " + systemText(code));
        const std::string advice = certificateAdvice(code, now);
        if (!advice.empty()) r.more.push_back(advice);
        if (r.advice.empty()) r.advice = advice;
    }
    if (r.advice.empty())
        r.advice = "no TLS connection to " + host + ": " + systemText(tls.firstError);
    return r;
}

StepVerdict judgeGuestInfo(const GuestInfoExchange& x, const std::string& token,
                           const std::string& now) {
    const std::string& sent = x.sent;
    const std::string limit = std::to_string(timings::kSendLimitMs / 1000);
    if (x.timedOut) {
        return StepVerdict::failed(
            "GuestInfo", sent + ": no answer within " + limit + " s",
            "the service (or a gateway in front of it) does not answer within " + limit + " s");
    }
    const std::string status = std::to_string(x.status);
    if (x.emptyReply) {
        if (x.status == 0 && x.errorCode == 0) {
            // Windows names no error: the connection ended before any answer.
            return StepVerdict::failed(
                "GuestInfo", sent + ": the connection was closed without an answer",
                "the request got no answer: something closes the connection after the request "
                "(the service, a firewall or a proxy in between)");
        }
        if (x.status == 0) {
            const std::string advice = certificateAdvice(x.errorCode, now);
            return StepVerdict::failed(
                "GuestInfo", sent + ": " + systemText(x.errorCode),
                "the request failed: " + (advice.empty() ? systemText(x.errorCode) : advice));
        }
        return StepVerdict::failed("GuestInfo",
                                   sent + ": HTTP status " + status + " with an empty body",
                                   "the service's reply is empty (HTTP status " + status + ")");
    }
    rapidjson::Document json;
    parseJson(json, x.text.c_str());
    const bool isJson = !json.HasParseError();
    const bool hasStatus = isJson && json.IsObject() && json.HasMember("Status");
    const bool integerStatus = hasStatus && json["Status"].IsInt();
    // Worded as the DLL's log words it, so that the two read alike.
    std::string what = logphrase::kHttpStatus + status + ", " + std::to_string(x.text.size()) +
                       " bytes, " +
                       (hasStatus ? "JSON with \"Status\""
                        : isJson  ? "JSON without \"Status\""
                                  : "not JSON");
    if (integerStatus) what += " " + std::to_string(json["Status"].GetInt());
    if (hasStatus && !integerStatus) what += " that is not a whole number";
    StepVerdict r;
    r.label = "GuestInfo";
    r.line = sent + ": " + what;
    r.more.push_back("reply: " + shownReply(x.text, token));
    // Only the service's own reply says that it works: a gateway, a firewall
    // or a proxy answers with a page, or with JSON of its own.
    if (isSuccessStatus(x.status) && integerStatus) {
        r.advice = "the service answered with JSON (HTTP status " + status + ")";
        return r;
    }
    r.status = StepVerdict::Status::Failed;
    const std::string advice = statusAdvice(x.status);
    if (!advice.empty()) r.more.push_back(advice);
    const std::string came = !isJson      ? "a reply that is not JSON"
                             : !hasStatus ? "JSON that is not the service's reply (no \"Status\")"
                             : !integerStatus ? "JSON whose \"Status\" is not a whole number"
                                              : "the service's JSON";
    r.advice =
        logphrase::kHttpStatus + status + " with " + came + (advice.empty() ? "" : ": " + advice);
    return r;
}

std::string systemText(uint32_t code) { return fromHostText(windowsErrorMessage(code)); }

std::string certificateAdvice(uint32_t code, const std::string& now) {
    switch (code) {
        case 12045:
            return "the certificate's issuer is not trusted by this Windows: install the root "
                   "certificate updates (or the issuing CA's root certificate)";
        case 12038:
            return "the certificate is made out for another host name: ApiAddress must be the "
                   "name the certificate names";
        case 12037:
            return "the certificate's dates do not cover today: check the till's clock, now " + now;
        case 12057:
            return "the revocation check failed: the till cannot reach the certificate "
                   "authority's revocation servers (CRL/OCSP); let it through the firewall";
        case 12157:
            return "the TLS handshake failed: the till and the service share no TLS version "
                   "or cipher; this Windows needs TLS 1.2 (the TLS 1.1/1.2 update on XP-based "
                   "systems, TLS 1.2 enabled on Windows 7) and the service must keep TLS 1.2";
        default: return "";
    }
}

std::string statusAdvice(uint32_t status) {
    switch (status) {
        case 407:
            return "a proxy asks for a login; the DLL has no place for credentials: let the till "
                   "through the proxy by its address, or bypass the proxy for the service's host";
        case 502:
        case 503:
        case 504:
            return "a gateway in front of the service answered instead of it: the service behind "
                   "it is down or slow";
        case 404:
            return "the address answers but does not know the request: check ApiAddress and SSL";
        case 401:
        case 403:
            return "the request was refused: check the LoyltyApiToken with the service's "
                   "operator, and whether a firewall or gateway in front of the service lets "
                   "this till through";
        case 400:
            return "the service or a gateway did not accept the request: check ApiAddress and "
                   "SSL, and ask the service's operator";
        case 500: return "the service failed on the request: ask the service's operator";
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
