// Causes and numbers as the log reader finds them, named for programs and
// said in the reader's language.
#include <climits>

#include "logread/LogCalls.h"

namespace replay {

namespace {

using logevent::Event;
using K = logevent::Cause;

// A row's text up to (and with) its parameter `name`: "HTTP status 502" of
// "HTTP status {status}", "Windows error 12029" of "Windows error {code}: {text}".
std::string textThrough(Event event, const char* name, const std::string& value) {
    const std::string full = logevent::format(event, {{name, value}});
    const std::string row = logevent::row(event).text;
    const std::size_t at = row.find(std::string("{") + name + "}");
    return full.substr(0, at + value.size());
}

struct CauseText {
    K kind;
    const char* name;  // for programs: the summary's JSON
    Msg key;
};

const CauseText kCauseTexts[] = {
    {K::TimedOut, "time-out", Msg::cause_time_out},
    {K::EmptyReply, "empty reply", Msg::cause_empty_reply},
    {K::SendFailed, "send failed", Msg::cause_send_failed},
    {K::UnusableReply, "unusable reply", Msg::summary_cause_unusable_reply},
    {K::Refused, "refused by the service", Msg::summary_cause_refused},
    {K::NoToken, "no token for the check", Msg::summary_cause_no_token},
    {K::NoConfig, "no conf.xml (missing or not XML)", Msg::summary_cause_no_config},
    {K::CheckNotUsable, "check not usable", Msg::summary_cause_check_not_usable},
    {K::NoGuest, "no guest found for the close", Msg::summary_cause_no_guest},
    {K::NoRecord, "no card record from the host", Msg::summary_cause_no_record},
    {K::NothingToSend, "nothing to send in this working mode", Msg::summary_cause_nothing_to_send},
    {K::Other, "other failure", Msg::summary_cause_other},
};

const CauseText* textOf(K kind) {
    for (const CauseText& t : kCauseTexts)
        if (t.kind == kind) return &t;
    return nullptr;
}

}  // namespace

LoggedNumber loggedNumber(const std::string& written) {
    LoggedNumber n;
    const bool negative = !written.empty() && written[0] == '-';
    long long v = 0;
    for (std::size_t i = negative ? 1 : 0; i < written.size(); ++i) {
        if (v > (LLONG_MAX - 9) / 10) {
            n.fits = false;
            break;
        }
        v = v * 10 + (written[i] - '0');
    }
    n.value = negative ? -v : v;
    if (n.fits && (n.value < INT_MIN || n.value > INT_MAX)) n.fits = false;
    n.text = n.fits ? std::to_string(n.value) : written;
    return n;
}

Cause causeOf(K kind, std::string number) {
    Cause c;
    c.kind = kind;
    c.number = std::move(number);
    return c;
}

std::string Cause::name() const {
    switch (kind) {
        case K::None: return std::string();
        case K::WindowsError: return textThrough(Event::WindowsError, "code", number);
        case K::HttpStatus: return textThrough(Event::HttpStatus, "status", number);
        default: break;
    }
    const CauseText* t = textOf(kind);
    return t ? t->name : std::string();
}

std::string sayCause(const Catalog& catalog, const Cause& cause) {
    // Numbers stay as the log writes them; the words around them are the reader's.
    if (cause.kind == K::WindowsError)
        return formatMessage(catalog, Msg::cause_windows_error, {{"code", cause.number}});
    if (cause.kind == K::HttpStatus)
        return formatMessage(catalog, Msg::cause_http_status, {{"status", cause.number}});
    const CauseText* t = textOf(cause.kind);
    return t ? formatMessage(catalog, t->key) : cause.name();
}

}  // namespace replay
