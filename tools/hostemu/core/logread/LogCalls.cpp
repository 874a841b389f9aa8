// Entries -> the host's calls, each with what it needs to be made again.
#include "logread/LogCalls.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "encoding/Encodings.h"
#include "http/ServicePaths.h"
#include "http/Timings.h"
#include "log/LogEvents.h"
#include "logread/RecordDump.h"
#include "platform/Platform.h"
#include "text/Prefix.h"

namespace replay {

namespace L = logtag;

namespace {

using logevent::Event;
using logevent::Role;

bool isMessage(const LogEntry& e, const char* tag) {
    return e.kind == LogEntry::Kind::Message && e.tag == tag;
}

// Which call an entry opens, if any.
Call::Kind opens(const LogEntry& e, bool afterHousekeeping) {
    if (!e.has(Role::OpensCall) || (e.is(Event::PostingStarted) && afterHousekeeping))
        return Call::Kind::Unknown;
    switch (e.event.row->opens) {
        case logevent::CallKind::Init: return Call::Kind::Init;
        case logevent::CallKind::Lookup: return Call::Kind::Lookup;
        case logevent::CallKind::Transaction: break;
    }
    return Call::Kind::Transaction;
}

bool isHousekeeping(const LogEntry& e) {
    return e.is(Event::LogCleared) || e.is(Event::LogNotCleared);
}

// "RETURN n" or "RETURNS n" in a line the table does not hold (one of another
// version of the module); false when there is none.
bool returnedValue(const std::string& message, LoggedNumber& value) {
    const std::size_t word = std::strlen(logevent::kReturnWord);
    for (std::size_t p = message.find(logevent::kReturnWord); p != std::string::npos;
         p = message.find(logevent::kReturnWord, p + 1)) {
        std::size_t q = p + word;
        if (q < message.size() && message[q] == 'S') ++q;
        if (q >= message.size() || message[q] != ' ') continue;
        const std::size_t from = ++q;
        if (q < message.size() && message[q] == '-') ++q;
        const std::size_t digits = q;
        while (q < message.size() && message[q] >= '0' && message[q] <= '9') ++q;
        if (q == digits) continue;
        value = loggedNumber(message.substr(from, q - from));
        return true;
    }
    return false;
}

// The result a line of the call's own tag ends it with, if it ends it.
bool endsWith(const LogEntry& e, const char* tag, LoggedNumber& result) {
    if (!isMessage(e, tag)) return false;
    if (!e.event) return returnedValue(e.body, result);
    if (e.event.row->result == logevent::kNoResult) return false;
    const int fixed = e.event.row->result;
    result = loggedNumber(fixed == logevent::kResultParam ? e.event.arg("result")
                                                          : std::to_string(fixed));
    return true;
}

}  // namespace

bool recordedResult(const Call& call, LoggedNumber& result) {
    if (call.kind == Call::Kind::Unknown) return false;
    const char* tag = kindName(call.kind);
    for (std::size_t i = call.entries.size(); i-- > 0;)
        if (endsWith(call.entries[i], tag, result)) return true;
    // A lookup whose guest request got no reply ends with the wrapper's lines.
    const std::size_t n = call.entries.size();
    if (call.kind == Call::Kind::Lookup && n >= 2 &&
        call.entries[n - 1].kind == LogEntry::Kind::Dump &&
        call.entries[n - 1].tag == L::kSendRequestWrapper &&
        call.entries[n - 2].has(Role::NoReplyForCall) && !call.attempts.empty() &&
        startsWith(call.attempts.back().path, servicepath::kGuestInfo)) {
        result = loggedNumber("1");
        return true;
    }
    return false;
}

namespace {

// The card number from a guest-information body {"Phone":n} or {"CardToken":n}.
bool cardFromBody(const std::string& body, int64_t& card) {
    const char* prefixes[] = {"{\"Phone\":", "{\"CardToken\":"};
    for (const char* prefix : prefixes) {
        if (!startsWith(body, prefix)) continue;
        std::size_t p = std::strlen(prefix);
        uint64_t v = 0;
        const std::size_t digits = p;
        while (p < body.size() && body[p] >= '0' && body[p] <= '9') {
            const uint64_t d = static_cast<uint64_t>(body[p++] - '0');
            if (v > (UINT64_MAX - d) / 10) return false;
            v = v * 10 + d;
        }
        if (p == digits || p + 1 != body.size() || body[p] != '}') return false;
        card = static_cast<int64_t>(v);  // the body carries the bit pattern as unsigned
        return true;
    }
    return false;
}

// A status or code as written: its value when it has one, saturated.
long long valueOf(const std::string& number) {
    const LoggedNumber n = loggedNumber(number);
    return n.fits || number.size() < 19 ? n.value : LLONG_MAX;
}

// The call's requests and what became of each; returns why the call cannot be
// replayed for them (empty: it can).
Reason readAttempts(Call& call) {
    Reason problem;
    Attempt* open = nullptr;  // the request whose fate the next entries tell
    auto add = [&](Attempt a, const LogEntry& e) {
        a.stamp = e.stamp;
        call.attempts.push_back(std::move(a));
        open = &call.attempts.back();
    };
    for (const LogEntry& e : call.entries) {
        if (e.has(Role::ProbeStarts)) ++call.probesStarted;
        if (e.has(Role::ProbeFailed)) ++call.probesFailed;
        if (e.has(Role::AnnouncesRequest)) {
            Attempt a;
            a.path = e.event.arg("path");
            a.body = e.event.arg("body");
            add(std::move(a), e);
        } else if (e.has(Role::AnnouncesRetry)) {
            ++call.probesSucceeded;
            // The retry's entry shows the headers; the body is the first attempt's.
            Attempt a;
            a.path = e.event.arg("path");
            a.pathKnown = false;
            for (std::size_t i = call.attempts.size(); i-- > 0;) {
                if (!call.attempts[i].direct && call.attempts[i].path == a.path) {
                    a.body = call.attempts[i].body;
                    a.pathKnown = true;
                    break;
                }
            }
            add(std::move(a), e);
        } else if (e.has(Role::AnnouncesHolderLookup)) {
            Attempt a;
            a.path = servicepath::kGuestInfo;
            a.pathKnown = false;
            a.direct = true;
            a.body = e.event.arg("body");
            add(std::move(a), e);
        } else if (e.kind == LogEntry::Kind::Answer && open &&
                   open->outcome == Attempt::Outcome::Unknown) {
            if (!open->pathKnown && startsWith(e.tag, open->path.c_str())) {
                open->path = e.tag;
                open->pathKnown = true;
            }
            if (open->path != e.tag && problem.empty())
                problem = {Msg::replay_reply_follows_other,
                           {{"path", e.tag}, {"request", open->path}}};
            open->outcome = Attempt::Outcome::Replied;
            open->reply = e.body;
            open->stamp = e.stamp;
        } else if (!open) {
            continue;
        } else if (e.has(Role::NamesHttpStatus)) {
            // The status the reply came with, logged before or after its dump:
            // an error page after the reply fails the exchange, and an error
            // status names why one without a reply failed.
            const std::string number = e.event.arg("status");
            const long long status = valueOf(number);
            if (status >= 100 && status <= 999) open->httpStatus = static_cast<int>(status);
            const bool errorStatus = status >= 100 && (status < 200 || status > 299);
            if (errorStatus && open->outcome == Attempt::Outcome::Replied && !open->failed()) {
                open->cause = causeOf(logevent::Cause::HttpStatus, number);
                open->stamp = e.stamp;
            } else if (errorStatus && open->outcome != Attempt::Outcome::Replied &&
                       open->failed()) {
                open->cause = causeOf(logevent::Cause::HttpStatus, number);
            }
        } else if (e.has(Role::NamesWindowsError)) {
            // The cause of the failure just logged.
            if (open->failed()) {
                open->cause = causeOf(logevent::Cause::WindowsError, e.event.arg("code"));
                open->cause.text = e.event.arg("text");
            }
        } else if (e.has(Role::EndsExchange) && open->outcome == Attempt::Outcome::Unknown) {
            const logevent::Row& row = *e.event.row;
            open->outcome = row.outcome;
            open->stamp = e.stamp;
            open->cause = causeOf(row.cause);
            // "{path}{code}": the code is what follows the request's own path.
            const std::string pathAndCode = e.event.arg("path") + e.event.arg("code");
            if (e.is(Event::NoRequestHandle) &&
                pathAndCode.compare(0, open->path.size(), open->path) == 0 &&
                pathAndCode.size() > open->path.size()) {
                const std::string code = pathAndCode.substr(open->path.size());
                if (code.find_first_not_of("0123456789") == std::string::npos)
                    open->cause = causeOf(logevent::Cause::WindowsError, code);
            }
        }
    }
    // A holder lookup's path carries the token that the call's other requests show.
    std::string token;
    for (const Attempt& a : call.attempts) {
        if (!a.pathKnown || !startsWith(a.path, servicepath::kVersion)) continue;
        const std::size_t slash = a.path.find('/', std::strlen(servicepath::kVersion));
        if (slash != std::string::npos) token = a.path.substr(slash + 1);
    }
    for (Attempt& a : call.attempts) {
        if (!a.pathKnown && a.direct && !token.empty()) {
            a.path += token;
            a.pathKnown = true;
        }
    }
    for (std::size_t i = 0; i < call.attempts.size() && problem.empty(); ++i) {
        if (call.attempts[i].outcome == Attempt::Outcome::Unknown) {
            problem = {Msg::replay_request_fate_unknown,
                       {{"number", std::to_string(i + 1)}, {"path", call.attempts[i].path}}};
        }
    }
    return problem;
}

unsigned waitsOf(const Call& call) {
    unsigned seconds = call.probesStarted * (timings::shipped::kProbePauseMs / 1000) +
                       call.probesSucceeded * (timings::shipped::kRetryPauseMs / 1000);
    for (const Attempt& a : call.attempts)
        if (a.outcome == Attempt::Outcome::TimedOut)
            seconds += timings::shipped::kSendLimitMs / 1000;
    return seconds;
}

void complete(Call& call, const Reason& attemptsProblem) {
    if (call.kind == Call::Kind::Unknown ||
        (call.kind == Call::Kind::Transaction && !isHousekeeping(call.entries.front()))) {
        call.notReplayable = {Msg::replay_log_starts_within};
        return;
    }
    if (call.kind != Call::Kind::Init) {
        const char* tag = kindName(call.kind);
        bool found = false;
        for (const LogEntry& e : call.entries) {
            if (isMessage(e, tag) && e.has(Role::InputBuffer)) {
                call.input = e.event.arg("input");
                found = true;
                break;
            }
        }
        if (!found) {
            call.notReplayable = {Msg::replay_no_input_buffer};
            return;
        }
    }
    // Init sends nothing; requests logged within one (a log written over
    // another) are held to the same rule as a lookup's.
    if (!attemptsProblem.empty()) {
        call.notReplayable = attemptsProblem;
        return;
    }
    LoggedNumber result;
    if (!recordedResult(call, result)) {
        call.notReplayable = {Msg::replay_log_ends_within};
        return;
    }
    call.result = static_cast<int>(result.fits ? result.value : 0);
    call.resultText = result.text;
    if (!call.configFromLog && !call.configPresent) {
        call.notReplayable = {Msg::replay_no_config};
        return;
    }
    call.waitSeconds = waitsOf(call);
    if (call.kind == Call::Kind::Lookup) {
        for (const Attempt& a : call.attempts) {
            if (!a.direct && startsWith(a.path, servicepath::kGuestInfo)) {
                if (!cardFromBody(a.body, call.card)) {
                    call.notReplayable = {Msg::replay_body_names_no_card, {{"body", a.body}}};
                    return;
                }
                call.cardFromLog = true;
                break;
            }
        }
        for (const LogEntry& e : call.entries)
            if (isMessage(e, L::kGetCardInfoEx) && e.is(Event::RecordIsNull))
                call.recordGiven = false;
        prepareRecord(call);
    }
}

}  // namespace

std::string sayReason(const Catalog& catalog, const Reason& reason) {
    if (!reason.key) return "";
    const auto& a = reason.args;
    // A message's parameters are an initializer list, made at the call.
    switch (a.size()) {
        case 0: return formatMessage(catalog, *reason.key);
        case 1: return formatMessage(catalog, *reason.key, {{a[0].first.c_str(), a[0].second}});
        case 2:
            return formatMessage(
                catalog, *reason.key,
                {{a[0].first.c_str(), a[0].second}, {a[1].first.c_str(), a[1].second}});
        case 3:
            return formatMessage(catalog, *reason.key,
                                 {{a[0].first.c_str(), a[0].second},
                                  {a[1].first.c_str(), a[1].second},
                                  {a[2].first.c_str(), a[2].second}});
        default:
            return formatMessage(catalog, *reason.key,
                                 {{a[0].first.c_str(), a[0].second},
                                  {a[1].first.c_str(), a[1].second},
                                  {a[2].first.c_str(), a[2].second},
                                  {a[3].first.c_str(), a[3].second}});
    }
}

const char* kindName(Call::Kind kind) {
    switch (kind) {
        case Call::Kind::Init: return logevent::exportTag(logevent::CallKind::Init);
        case Call::Kind::Lookup: return logevent::exportTag(logevent::CallKind::Lookup);
        case Call::Kind::Transaction: return logevent::exportTag(logevent::CallKind::Transaction);
        default: return "(unknown)";
    }
}

std::string confCopyText(const std::string& body) { return utf16AsUtf8(body); }

std::string confFileBytes(const std::string& text, const std::string& byteOrderMark) {
    if (byteOrderMark.empty()) return text;
    const bool big = byteOrderMark == "\xFE\xFF";
    std::string out = byteOrderMark;
    auto unit = [&](uint32_t u) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += big ? hi : lo;
        out += big ? lo : hi;
    };
    for (uint32_t cp : platform::decodeUtf8(text)) {
        if (cp >= 0x10000) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

void forEachCall(ByteSource log, const std::string& folderConfig, bool folderConfigPresent,
                 const std::function<void(Call&)>& take, bool forReplay) {
    EntryReader reader(std::move(log));
    Call call;
    int count = 0;
    bool configFromLog = false;
    bool configPresent = folderConfigPresent;
    auto config = std::make_shared<const std::string>(folderConfig);
    std::string byteOrderMark;
    bool afterHousekeeping = false;
    // A handed call's entries, unless taken away: read into again, their
    // strings' storage kept, so that a long log is not one allocation after another.
    std::vector<LogEntry> spare;
    auto hand = [&] {
        const Reason attemptsProblem = readAttempts(call);
        if (forReplay) complete(call, attemptsProblem);
        take(call);
        spare = std::move(call.entries);
        call = Call();
        call.entries.reserve(spare.size());
    };
    LogEntry entry;
    for (;;) {
        if (!spare.empty()) {
            std::swap(entry, spare.back());
            spare.pop_back();
        }
        if (!reader.next(entry)) break;
        const Call::Kind kind = opens(entry, afterHousekeeping);
        afterHousekeeping = isHousekeeping(entry);
        if (kind != Call::Kind::Unknown || count == 0) {
            if (count > 0) hand();
            call.kind = kind;
            call.number = ++count;
        }
        // Init's copy is in force from that Init on (the Init itself included).
        if (call.kind == Call::Kind::Init && entry.has(Role::ConfigCopy)) {
            configFromLog = true;
            configPresent = !entry.body.empty();
            config = std::make_shared<const std::string>(configPresent ? confCopyText(entry.body)
                                                                       : std::string());
            byteOrderMark = isUtf16(entry.body) ? entry.body.substr(0, 2) : std::string();
        }
        call.entries.push_back(std::move(entry));
        call.configFromLog = configFromLog;
        call.configPresent = configPresent;
        call.configText = config;
        call.configByteOrderMark = byteOrderMark;
    }
    if (count > 0) hand();
}

std::vector<Call> splitCalls(const std::string& logBytes, const std::string& folderConfig,
                             bool folderConfigPresent) {
    std::vector<Call> calls;
    forEachCall(bytesOf(logBytes), folderConfig, folderConfigPresent,
                [&](Call& call) { calls.push_back(std::move(call)); });
    return calls;
}

}  // namespace replay
