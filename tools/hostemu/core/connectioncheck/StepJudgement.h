#pragma once
// What the network steps make of what the probes found: plain data in, a step
// result out, so that every line and piece of advice can be checked natively.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "connectioncheck/CheckStep.h"

// What INTERNET_OPEN_TYPE_PRECONFIG gives this Windows account (Internet Options).
struct ProxySetting {
    bool known = false;       // the setting could be read
    bool direct = true;       // no manual proxy
    std::string proxy;        // e.g. "proxy:3128" or "http=p:80;https=p:443"
    std::string bypass;       // the bypass list, e.g. "<local>;*.example.com"
    bool autoDetect = false;  // "Automatically detect settings"
    std::string autoConfigUrl;
};

// Where one request to the service went, as WinInet's status callbacks told
// it: the route taken, not the one the settings seem to give.
struct RouteTaken {
    bool probed = false;
    std::string name;     // the host WinInet looked up; empty when it said none
    std::string address;  // the address it connected to; empty when it said none
};

// The non-empty runs of `text` between any of the `separators`.
std::vector<std::string> splitWords(const std::string& text, const char* separators);

// True when `host` matches an entry of a WinInet bypass list.
bool onBypassList(const std::string& list, const std::string& host);
// The entry of the list that `host` matches by Windows' documented rules
// ("<local>", '*' as a wildcard); empty when none.
std::string bypassEntryFor(const std::string& list, const std::string& host);

// What to add to the bypass list for `host`: the exact name first, a pattern
// second; never an entry that is already there (it did not take effect).
// `options` names the dialog where the list is kept (optionsDialogName).
std::string bypassAdvice(const ProxySetting& setting, const std::string& host,
                         const Catalog& catalog, const std::string& options);

// The proxy of the setting for the scheme, whatever the bypass list says;
// empty when there is none.
std::string configuredProxy(const ProxySetting& setting, bool secure);

// The proxy ("host:port") WinInet uses for the service, or empty when it
// connects directly (no proxy, or the host is on the bypass list).
std::string proxyFor(const ProxySetting& setting, const std::string& host, bool secure);

// Points the name and TCP steps at `proxy` ("host:port"; port 80 when none is
// named), as WinInet connects to it.
void goThroughProxy(const std::string& proxy, CheckContext& context);

// The proxy step: says where WinInet connects and sets the context's `via`,
// `target` and `port` for the name and TCP steps. A probed route outweighs the
// setting's bypass list: a bypass entry that did not take effect is named.
StepVerdict judgeProxy(const ProxySetting& setting, const RouteTaken& route, CheckContext& context);

// A TLS handshake with the service (a HEAD of "/"), as the DLL makes it.
struct TlsOutcome {
    uint32_t firstError = 0;         // what the DLL's exchange meets; 0: handshake done
    std::vector<uint32_t> problems;  // every certificate problem found, in order
    bool certificateSeen = false;
    std::string subject, issuer;         // the server's certificate
    int64_t validFrom = 0, validTo = 0;  // seconds since 1970, UTC; 0 when not known
};

// True when a send that ended with `sendError` (0: it succeeded) got as far as
// the server's certificate: only then may WinInet be asked for it. After a
// refused handshake the request holds no security context, and asking for the
// certificate then crashes the process under Wine.
bool certificateArrived(uint32_t sendError);

// `now` is the till's local time as the advice on certificate dates shows it.
StepVerdict judgeTls(const TlsOutcome& tls, const std::string& host, const std::string& now,
                     const Catalog& catalog = kEnglishCatalog);

// The GuestInfo exchange through the module's transport.
struct GuestInfoExchange {
    std::string sent;          // "POST v1/GuestInfo/<token> {...}"
    bool timedOut = false;     // no answer within the module's limit
    bool emptyReply = false;   // the transport gave nothing
    uint32_t status = 0;       // HTTP status; 0 when no reply came
    uint32_t errorCode = 0;    // the transport's error when no reply came
    std::string text;          // the reply as text
    std::string place;         // whose token was sent, as advice names it
    std::string bypassAdvice;  // what to add to the proxy's bypass list, when one is in the way
};

// OK only when the service took the request: an HTTP success whose JSON the
// DLL reads as a guest found or a card refused ("Status" 1 or 2). Anything
// else fails with the line the DLL logs for it.
StepVerdict judgeGuestInfo(const GuestInfoExchange& exchange, const std::string& token,
                           const std::string& now, const Catalog& catalog = kEnglishCatalog);

// A Windows or WinInet error code with its text, as UTF-8, in the reader's
// language: "ошибка Windows 12029: ..." ("Windows error 12029: ...").
std::string systemText(uint32_t code, const Catalog& catalog);
// The catalog's own text of an error code an installer meets, if it has one.
std::optional<Msg> errorTextMessage(uint32_t code);
// The same as the DLL logs it ("Windows error 12029: ..."), to quote a log line.
std::string loggedErrorText(uint32_t code);

// What an installer does about a certificate problem; empty when nothing to say.
std::string certificateAdvice(uint32_t code, const std::string& now,
                              const Catalog& catalog = kEnglishCatalog);

// What an installer does about an HTTP status; empty when nothing to say.
// `place` names the place whose token was sent.
std::string statusAdvice(uint32_t status, const std::string& place = "",
                         const Catalog& catalog = kEnglishCatalog);

// The reply on one line for the console, the token masked wherever it shows.
std::string shownReply(std::string text, const std::string& token);
