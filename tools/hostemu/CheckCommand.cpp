#include "CheckCommand.h"

#include <rapidjson/document.h>
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Console.h"
#include "NetSteps.h"
#include "Report.h"
#include "ScratchFolder.h"
#include "api/GuestInfo.h"
#include "check/CheckXml.h"
#include "check/XmlErrors.h"
#include "config/Config.h"
#include "config/Token.h"
#include "http/ErrorText.h"
#include "http/Exchange.h"
#include "http/HttpClient.h"
#include "http/Timings.h"
#include "log/Logger.h"

namespace {

// A card token that no guest has: the exchange shows that the service
// answers without touching anyone's account.
constexpr int64_t kNobody = 0;
constexpr std::size_t kShownReply = 300;

void step(const std::string& name, const std::string& text) {
    std::string padded = name;
    if (padded.size() < 12) padded.resize(12, ' ');
    writeOut("  " + padded + " " + text + "\n");
    std::fflush(stdout);
}

void more(const std::string& text) {
    writeOut("               " + text + "\n");
    std::fflush(stdout);
}

// The system's text for a code, for the console.
std::string windowsError(uint32_t code) { return fromCp1251(windowsErrorMessage(code)); }

int verdict(bool ok, const std::string& text) {
    writeOut(std::string(ok ? "Verdict: OK: " : "Verdict: FAILED: ") + text + "\n");
    std::fflush(stdout);
    return ok ? 0 : 1;
}

std::string nowText() {
    SYSTEMTIME local;
    GetLocalTime(&local);
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u (local time)", local.wYear,
                  local.wMonth, local.wDay, local.wHour, local.wMinute);
    return text;
}

// What an installer does about a certificate problem.
std::string certificateAdvice(uint32_t code) {
    switch (code) {
        case 12045:
            return "the certificate's issuer is not trusted by this Windows: install the root "
                   "certificate updates (or the issuing CA's root certificate)";
        case 12038:
            return "the certificate is made out for another host name: ApiAddress must be the "
                   "name the certificate names";
        case 12037:
            return "the certificate's dates do not cover today: check the till's clock, now " +
                   nowText();
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

// What an installer does about a reply that is not the service's JSON.
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
        default: return "";
    }
}

// The reply on one line for the console, the token masked wherever it shows.
std::string shownReply(std::string text, const std::string& token, const std::string& masked) {
    for (std::size_t at; !token.empty() && (at = text.find(token)) != std::string::npos;) {
        text.replace(at, token.size(), masked);
    }
    text = oneLine(text);
    if (text.size() > kShownReply) text = text.substr(0, kShownReply) + " ...";
    return text;
}

struct Settings {
    std::string host;
    bool secure = false;
    std::string token;
};

// conf.xml and the token, by the DLL's own rules. False after a failed step.
bool readSettings(const Args& args, Settings& settings, std::string& failure) {
    const std::string path = args.folder + "\\" + kConfigFileName;
    pugi::xml_document document;
    const pugi::xml_parse_result loaded = document.load_file(path.c_str());
    if (!loaded) {
        const bool missing = GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
        failure = missing ? "conf.xml is missing: " + path
                          : std::string("conf.xml cannot be read as XML (") + loaded.description() +
                                ", at byte " + std::to_string(loaded.offset) + ")";
        step("conf.xml", "FAILED: " + failure);
        return false;
    }
    const pugi::xml_node configuration = document.child("Configuration");
    if (!configuration) {
        failure = "conf.xml has no <Configuration> element";
        step("conf.xml", "FAILED: " + failure);
        return false;
    }
    step("conf.xml", path);

    const ServiceAddress address = readServiceAddress(configuration);
    settings.host = address.host;
    settings.secure = address.secure;
    const std::string url = std::string(address.secure ? "https://" : "http://") + address.host +
                            (address.secure ? ":443" : ":80");
    if (address.host.empty() || hasWhiteSpace(address.host)) {
        failure = "ApiAddress " + quoted(address.host) +
                  " is empty or holds blanks or line feeds: no request can reach the service";
        step("service", "FAILED: " + failure);
        return false;
    }
    const std::string ssl = configuration.child("SSL").first_child().value();
    step("service", "ApiAddress " + quoted(address.host) + ", SSL " + quoted(ssl) + ": " + url +
                        (address.secure ? "" : " (only SSL \"true\" turns TLS on)"));

    CheckXml reader;
    const std::string number = std::to_string(args.hasPlace ? args.place : -1);
    std::string category = "-1, as for a check without CHECKDATA (--place CODE chooses a place)";
    if (args.hasPlace) {
        const std::string element = "<CHECKDATA order_cat=\"" + std::to_string(args.place) + "\"/>";
        reader.doc.load_string(element.c_str());
        reader.checkData = reader.doc.child("CHECKDATA");
        category = std::to_string(args.place) + " (--place)";
    }
    std::optional<std::string> token;
    try {
        token = selectToken(reader, configuration);
    } catch (const XmlElementNotFound& e) {
        failure = "no token: " + e.message;
        step("token", "FAILED: " + failure);
        return false;
    }
    if (!token) {
        failure = "no place of service has PlaceCode " + number +
                  " and none is marked Default=\"true\": the DLL finds no token";
        step("token", "FAILED: " + failure);
        return false;
    }
    if (token->empty()) {
        failure = "the LoyltyApiToken chosen for order category " + number +
                  " (its place's, or the fallback) is empty: the DLL fails every call";
        step("token", "FAILED: " + failure);
        return false;
    }
    settings.token = *token;
    step("token", maskToken(*token) + " for order category " + category);
    return true;
}

}  // namespace

int runConnectionCheck(const Args& args) {
    writeOut("Connection check of " + args.folder + "\n");
    Settings settings;
    std::string failure;
    if (!readSettings(args, settings, failure)) return verdict(false, failure);
    const std::string masked = maskToken(settings.token);
    const std::string& host = settings.host;

    // The proxy WinInet will use: the name and TCP steps go where it goes.
    const ProxySetting proxy = readProxySetting();
    const std::string via = proxyFor(proxy, host, settings.secure);
    if (!proxy.known) {
        step("proxy", "cannot be read from Internet Options; the steps below connect directly");
    } else if (proxy.direct || proxy.proxy.empty()) {
        step("proxy", "none: this Windows account's Internet Options connect directly");
    } else if (via.empty()) {
        step("proxy", proxy.proxy + ", but " + host + " is on its bypass list (" + proxy.bypass +
                          "): WinInet connects directly");
    } else {
        step("proxy", proxy.proxy +
                          " (bypass list: " + (proxy.bypass.empty() ? "none" : proxy.bypass) +
                          "): WinInet goes through " + via);
    }
    if (proxy.autoDetect || !proxy.autoConfigUrl.empty()) {
        more(std::string("automatic proxy configuration is on (") +
             (proxy.autoDetect ? "detect settings" : "") +
             (proxy.autoDetect && !proxy.autoConfigUrl.empty() ? ", " : "") +
             (proxy.autoConfigUrl.empty() ? "" : "script " + proxy.autoConfigUrl) +
             "): WinInet may use a proxy that this check cannot name");
    }

    std::string target = via.empty() ? host : via;
    uint16_t port = settings.secure ? 443 : 80;
    if (!via.empty()) {
        const std::size_t colon = via.rfind(':');
        port = colon == std::string::npos
                   ? 80
                   : static_cast<uint16_t>(std::atoi(via.c_str() + colon + 1));
        target = via.substr(0, colon);
    }

    std::vector<std::string> addresses;
    uint32_t error = 0;
    if (!resolveName(target, addresses, error)) {
        step("name", "FAILED: " + target + " cannot be resolved: " + windowsError(error));
        return verdict(false, "the name " + target +
                                  (via.empty() ? " is not known to this till: check ApiAddress, "
                                                 "the till's DNS server, or its hosts file"
                                               : " of the proxy in this account's Internet "
                                                 "Options is not known to this till"));
    }
    std::string list;
    for (const std::string& a : addresses) list += (list.empty() ? "" : ", ") + a;
    step("name", target + " -> " + list);

    std::string connected;
    if (!connectTcp(addresses, port, timings::kRequestIoTimeoutMs, connected, error)) {
        step("TCP", "FAILED: no connection to " + target + " port " + std::to_string(port) + ": " +
                        windowsError(error));
        return verdict(false, via.empty() ? "nothing accepts connections on " + target + " port " +
                                                std::to_string(port) +
                                                ": the service is down, the port is wrong (SSL), "
                                                "or a firewall stops the till"
                                          : "the proxy " + via +
                                                " of this account's Internet Options does not "
                                                "accept connections");
    }
    step("TCP", "connected to " + connected + " port " + std::to_string(port));

    if (!settings.secure) {
        step("TLS", "not used (plain HTTP)");
    } else {
        const TlsOutcome tls = probeTls(host, timings::kRequestIoTimeoutMs);
        if (tls.firstError == 0) {
            step("TLS", "handshake done, certificate trusted");
        } else {
            step("TLS", "FAILED: " + windowsError(tls.firstError));
        }
        if (tls.certificateSeen) {
            more("certificate of " + oneLine(tls.subject) + ", issued by " + oneLine(tls.issuer) +
                 ", valid " + tls.validFrom + " to " + tls.validTo);
        }
        if (tls.firstError != 0) {
            // A chain that cannot be checked for revocation because something
            // else is wrong with it: the other problem is the cause.
            std::vector<uint32_t> causes;
            for (uint32_t code : tls.problems) {
                if (code != 12057 || tls.problems.size() == 1) causes.push_back(code);
            }
            std::string first;
            for (uint32_t code : causes) {
                if (code != tls.firstError) more("past it: " + windowsError(code));
                const std::string advice = certificateAdvice(code);
                if (!advice.empty()) more(advice);
                if (first.empty()) first = advice;
            }
            if (first.empty())
                first = "no TLS connection to " + host + ": " + windowsError(tls.firstError);
            return verdict(false, first);
        }
    }

    // One exchange through the module's own transport: the DLL's WinInet calls,
    // flags and time-outs. Its log goes to a scratch folder, never the till's.
    const std::string path = "v1/GuestInfo/" + settings.token;
    const std::string body = buildGuestInfoBody(kNobody);
    ScratchFolder scratch;
    if (!scratch.ready()) return verdict(false, "no scratch folder for the exchange's log");
    Logger logger;
    HttpClient client;
    if (client.init(host, settings.secure) != 0) {
        step("GuestInfo", "FAILED: WinInet cannot be opened: " + windowsError(GetLastError()));
        return verdict(false, "WinInet cannot be opened on this till");
    }
    ByteBuffer reply;
    bool timedOut = false;
    try {
        reply = client.SendRequest("POST", kJsonHeaders, path.c_str(), body.c_str(),
                                   kAcceptAnything, logger);
    } catch (const TimeoutExceeded&) {
        timedOut = true;
    }
    client.close();
    const std::string sent = "POST v1/GuestInfo/<token> " + body;
    if (timedOut) {
        step("GuestInfo", "FAILED: " + sent + ": no answer within " +
                              std::to_string(timings::kSendLimitMs / 1000) + " s");
        return verdict(false, "the service (or a gateway in front of it) does not answer within " +
                                  std::to_string(timings::kSendLimitMs / 1000) + " s");
    }
    const uint32_t status = lastReplyStatus();
    if (isEmptyReply(reply)) {
        if (status == 0) {
            step("GuestInfo", "FAILED: " + sent + ": " + windowsError(lastErrorCode));
            const std::string advice = certificateAdvice(lastErrorCode);
            return verdict(false, "the request failed: " +
                                      (advice.empty() ? windowsError(lastErrorCode) : advice));
        }
        step("GuestInfo",
             "FAILED: " + sent + ": HTTP status " + std::to_string(status) + " with an empty body");
        return verdict(false,
                       "the service's reply is empty (HTTP status " + std::to_string(status) + ")");
    }
    const std::string text = replyText(reply);
    rapidjson::Document json;
    json.Parse(text.c_str());
    const bool isJson = !json.HasParseError();
    const bool hasStatus = isJson && json.IsObject() && json.HasMember("Status");
    std::string what = "HTTP status " + std::to_string(status) + ", " +
                       std::to_string(text.size()) + " bytes, " +
                       (hasStatus ? "JSON with \"Status\""
                        : isJson  ? "JSON without \"Status\""
                                  : "not JSON");
    if (hasStatus && json["Status"].IsInt()) what += " " + std::to_string(json["Status"].GetInt());
    step("GuestInfo", (isJson ? "" : "FAILED: ") + sent + ": " + what);
    more("reply: " + shownReply(text, settings.token, masked));
    if (!isJson) {
        const std::string advice = statusAdvice(status);
        if (!advice.empty()) more(advice);
        return verdict(false, "the reply is not the service's JSON (HTTP status " +
                                  std::to_string(status) + ")" +
                                  (advice.empty() ? "" : ": " + advice));
    }
    if (!isSuccessStatus(status)) {
        return verdict(
            true, "the service answered with JSON, with HTTP status " + std::to_string(status));
    }
    return verdict(true,
                   "the service answered with JSON (HTTP status " + std::to_string(status) + ")");
}
