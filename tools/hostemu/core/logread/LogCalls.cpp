// Entries -> the host's calls, each with what it needs to be made again.
#include "logread/LogCalls.h"

#include <cstdlib>
#include <cstring>

#include "encoding/Encodings.h"
#include "http/ServicePaths.h"
#include "http/Timings.h"
#include "log/LogPhrases.h"
#include "logread/RecordDump.h"
#include "platform/Platform.h"
#include "text/Prefix.h"

namespace replay {

namespace L = logphrase;

namespace {

bool isMessage(const LogEntry& e, const char* tag) {
    return e.kind == LogEntry::Kind::Message && e.tag == tag;
}

// Which call an entry opens, if any.
Call::Kind opens(const LogEntry& e, bool afterHousekeeping) {
    if (isMessage(e, L::kInit) && e.body == L::kStarted) return Call::Kind::Init;
    if (isMessage(e, L::kGetCardInfoEx) && e.body == L::kLookupStarted) return Call::Kind::Lookup;
    // A posting starts with the log housekeeping line, then "Started".
    if (isMessage(e, L::kClearTheLog)) return Call::Kind::Transaction;
    if (isMessage(e, L::kTransactionsEx) && e.body == L::kStarted && !afterHousekeeping)
        return Call::Kind::Transaction;
    return Call::Kind::Unknown;
}

const char* tagOf(Call::Kind kind) {
    return kind == Call::Kind::Lookup ? L::kGetCardInfoEx : L::kTransactionsEx;
}

// "RETURN n" or "RETURNS n" in a closing line; false when there is none.
bool returnedValue(const std::string& message, int& value) {
    const std::size_t word = std::strlen(L::kReturnWord);
    for (std::size_t p = message.find(L::kReturnWord); p != std::string::npos;
         p = message.find(L::kReturnWord, p + 1)) {
        std::size_t q = p + word;
        if (q < message.size() && message[q] == 'S') ++q;
        if (q >= message.size() || message[q] != ' ') continue;
        ++q;
        const bool negative = q < message.size() && message[q] == '-';
        if (negative) ++q;
        if (q >= message.size() || message[q] < '0' || message[q] > '9') continue;
        long v = 0;
        while (q < message.size() && message[q] >= '0' && message[q] <= '9' && v < 100000)
            v = v * 10 + (message[q++] - '0');
        value = static_cast<int>(negative ? -v : v);
        return true;
    }
    return false;
}

}  // namespace

bool recordedResult(const Call& call, int& result) {
    if (call.kind == Call::Kind::Init) {
        result = 0;
        for (const LogEntry& e : call.entries)
            if (isMessage(e, L::kInit) && e.body == L::kEnded) return true;
        return false;
    }
    const char* tag = tagOf(call.kind);
    for (std::size_t i = call.entries.size(); i-- > 0;) {
        const LogEntry& e = call.entries[i];
        if (!isMessage(e, tag)) continue;
        if (returnedValue(e.body, result)) return true;
        // Failures of an exchange that end the call with 1 without naming it.
        if (startsWith(e.body, L::kGuestInfoFailed) ||
            startsWith(e.body, L::kCloseOrderBodyFailed) ||
            startsWith(e.body, L::kCloseOrderFailed)) {
            result = 1;
            return true;
        }
    }
    // A lookup whose guest request got no reply ends with the wrapper's lines.
    const std::size_t n = call.entries.size();
    if (call.kind == Call::Kind::Lookup && n >= 2 &&
        call.entries[n - 1].kind == LogEntry::Kind::Dump &&
        call.entries[n - 1].tag == L::kSendRequestWrapper &&
        isMessage(call.entries[n - 2], L::kSendRequestWrapper) &&
        call.entries[n - 2].body == L::kInfoWasNull && !call.attempts.empty() &&
        startsWith(call.attempts.back().path, servicepath::kGuestInfo)) {
        result = 1;
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

// How the transport's lines end an exchange without a reply.
struct FailureLine {
    const char* head;  // the line starts with it
    Attempt::Outcome outcome;
    const char* cause;
    bool codeAfterPath;  // the Windows error code follows the request's path
};

const FailureLine kFailureLines[] = {
    {L::kSendTimedOut, Attempt::Outcome::TimedOut, "time-out", false},
    {L::kReadFailed, Attempt::Outcome::EmptyReply, "empty reply", false},
    {L::kNoRequestHandle, Attempt::Outcome::Refused, "send failed", true},
    {L::kWorkerFailed, Attempt::Outcome::Refused, "send failed", false},
    {L::kNoExitCode, Attempt::Outcome::Refused, "send failed", false},
};

// Leading decimal digits of `s` from `at` (at most nine, so no overflow); -1 if none.
long digitsAt(const std::string& s, std::size_t at, std::size_t* end = nullptr) {
    long v = 0;
    std::size_t p = at;
    while (p < s.size() && p - at < 9 && s[p] >= '0' && s[p] <= '9') v = v * 10 + (s[p++] - '0');
    if (end) *end = p;
    return p == at ? -1 : v;
}

std::string windowsError(long code) { return L::kWindowsError + std::to_string(code); }

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
        if (isMessage(e, L::kSendRequestWrapper) && startsWith(e.body, L::kTrySendRequestTo)) {
            const std::string rest = e.body.substr(std::strlen(L::kTrySendRequestTo));
            const std::size_t with = rest.find(L::kWith);
            Attempt a;
            a.path = rest.substr(0, with);
            a.body = with == std::string::npos ? std::string()
                                               : rest.substr(with + std::strlen(L::kWith));
            if (with == std::string::npos) a.pathKnown = false;
            add(std::move(a), e);
        } else if (isMessage(e, L::kSendRequestWrapper) &&
                   startsWith(e.body, L::kProbeWorksRetryTo)) {
            // The retry's entry shows the headers; the body is the first attempt's.
            const std::string rest = e.body.substr(std::strlen(L::kProbeWorksRetryTo));
            Attempt a;
            a.path = rest.substr(0, rest.find(L::kWith));
            a.pathKnown = false;
            for (std::size_t i = call.attempts.size(); i-- > 0;) {
                if (!call.attempts[i].direct && call.attempts[i].path == a.path) {
                    a.body = call.attempts[i].body;
                    a.pathKnown = true;
                    break;
                }
            }
            add(std::move(a), e);
        } else if (isMessage(e, L::kHolderLookup) && startsWith(e.body, L::kTryGetClientIdWith)) {
            Attempt a;
            a.path = servicepath::kGuestInfo;
            a.pathKnown = false;
            a.direct = true;
            a.body = e.body.substr(std::strlen(L::kTryGetClientIdWith));
            add(std::move(a), e);
        } else if (e.kind == LogEntry::Kind::Answer && open &&
                   open->outcome == Attempt::Outcome::Unknown) {
            if (!open->pathKnown && startsWith(e.tag, open->path.c_str())) {
                open->path = e.tag;
                open->pathKnown = true;
            }
            if (open->path != e.tag && problem.empty())
                problem = {"replay.reply-follows-other",
                           {{"path", e.tag}, {"request", open->path}}};
            open->outcome = Attempt::Outcome::Replied;
            open->reply = e.body;
            open->stamp = e.stamp;
        } else if (!isMessage(e, L::kSendRequest) || !open) {
            continue;
        } else if (startsWith(e.body, L::kHttpStatus)) {
            // The status the reply came with, logged before or after its dump;
            // an error page after the reply fails the exchange.
            const long status = digitsAt(e.body, std::strlen(L::kHttpStatus));
            if (status >= 100 && status <= 999) open->httpStatus = static_cast<int>(status);
            if (open->outcome == Attempt::Outcome::Replied && !open->failed() && status >= 100 &&
                (status < 200 || status > 299)) {
                open->cause = std::string(L::kHttpStatus) + std::to_string(status);
                open->stamp = e.stamp;
            }
        } else if (startsWith(e.body, L::kWindowsError)) {
            // The cause of the failure just logged.
            std::size_t end = 0;
            const long code = digitsAt(e.body, std::strlen(L::kWindowsError), &end);
            if (code >= 0 && open->failed()) {
                open->cause = windowsError(code);
                open->causeText =
                    e.body.compare(end, 2, ": ") == 0 ? e.body.substr(end + 2) : std::string();
            }
        } else if (open->outcome == Attempt::Outcome::Unknown) {
            for (const FailureLine& line : kFailureLines) {
                if (!startsWith(e.body, line.head)) continue;
                open->outcome = line.outcome;
                open->stamp = e.stamp;
                open->cause = line.cause;
                const std::size_t at = std::strlen(line.head);
                if (line.codeAfterPath && e.body.compare(at, open->path.size(), open->path) == 0) {
                    const long code = digitsAt(e.body, at + open->path.size());
                    if (code >= 0) open->cause = windowsError(code);
                }
                break;
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
            problem = {"replay.request-fate-unknown",
                       {{"number", std::to_string(i + 1)}, {"path", call.attempts[i].path}}};
        }
    }
    return problem;
}

unsigned waitsOf(const Call& call) {
    unsigned seconds = 0;
    for (const LogEntry& e : call.entries) {
        if (!isMessage(e, L::kSendRequestWrapper)) continue;
        if (e.body == L::kResponseWasNull) seconds += timings::shipped::kProbePauseMs / 1000;
        if (startsWith(e.body, L::kProbeWorksRetryTo))
            seconds += timings::shipped::kRetryPauseMs / 1000;
    }
    for (const Attempt& a : call.attempts)
        if (a.outcome == Attempt::Outcome::TimedOut)
            seconds += timings::shipped::kSendLimitMs / 1000;
    return seconds;
}

void complete(Call& call, const Reason& attemptsProblem) {
    if (call.kind == Call::Kind::Unknown || (call.kind == Call::Kind::Transaction &&
                                             !isMessage(call.entries.front(), L::kClearTheLog))) {
        call.notReplayable = {"replay.log-starts-within"};
        return;
    }
    if (call.kind != Call::Kind::Init) {
        const char* tag = tagOf(call.kind);
        bool found = false;
        for (const LogEntry& e : call.entries) {
            if (isMessage(e, tag) && startsWith(e.body, logformat::kInputBufWas)) {
                call.input = e.body.substr(std::strlen(logformat::kInputBufWas));
                found = true;
                break;
            }
        }
        if (!found) {
            call.notReplayable = {"replay.no-input-buffer"};
            return;
        }
    }
    // Init sends nothing; requests logged within one (a log written over
    // another) are held to the same rule as a lookup's.
    if (!attemptsProblem.empty()) {
        call.notReplayable = attemptsProblem;
        return;
    }
    if (!recordedResult(call, call.result)) {
        call.notReplayable = {"replay.log-ends-within"};
        return;
    }
    if (!call.configFromLog && !call.configPresent) {
        call.notReplayable = {"replay.no-config"};
        return;
    }
    call.waitSeconds = waitsOf(call);
    if (call.kind == Call::Kind::Lookup) {
        for (const Attempt& a : call.attempts) {
            if (!a.direct && startsWith(a.path, servicepath::kGuestInfo)) {
                if (!cardFromBody(a.body, call.card)) {
                    call.notReplayable = {"replay.body-names-no-card", {{"body", a.body}}};
                    return;
                }
                call.cardFromLog = true;
                break;
            }
        }
        for (const LogEntry& e : call.entries)
            if (isMessage(e, L::kGetCardInfoEx) && e.body == L::kRecordIsNull)
                call.recordGiven = false;
        prepareRecord(call);
    }
}

}  // namespace

std::string sayReason(const Catalog& catalog, const Reason& reason) {
    const auto& a = reason.args;
    // A message's parameters are an initializer list, made at the call.
    switch (a.size()) {
        case 0: return formatMessage(catalog, reason.key);
        case 1: return formatMessage(catalog, reason.key, {{a[0].first.c_str(), a[0].second}});
        case 2:
            return formatMessage(
                catalog, reason.key,
                {{a[0].first.c_str(), a[0].second}, {a[1].first.c_str(), a[1].second}});
        case 3:
            return formatMessage(catalog, reason.key,
                                 {{a[0].first.c_str(), a[0].second},
                                  {a[1].first.c_str(), a[1].second},
                                  {a[2].first.c_str(), a[2].second}});
        default:
            return formatMessage(catalog, reason.key,
                                 {{a[0].first.c_str(), a[0].second},
                                  {a[1].first.c_str(), a[1].second},
                                  {a[2].first.c_str(), a[2].second},
                                  {a[3].first.c_str(), a[3].second}});
    }
}

const char* kindName(Call::Kind kind) {
    switch (kind) {
        case Call::Kind::Init: return L::kInit;
        case Call::Kind::Lookup: return L::kGetCardInfoEx;
        case Call::Kind::Transaction: return L::kTransactionsEx;
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

std::vector<Call> splitCalls(const std::string& logBytes, const std::string& folderConfig,
                             bool folderConfigPresent) {
    std::vector<LogEntry> entries = splitEntries(logBytes);
    std::vector<Call> calls;
    bool configFromLog = false;
    bool configPresent = folderConfigPresent;
    auto config = std::make_shared<const std::string>(folderConfig);
    std::string byteOrderMark;
    bool afterHousekeeping = false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Call::Kind kind = opens(entries[i], afterHousekeeping);
        afterHousekeeping = isMessage(entries[i], L::kClearTheLog);
        if (kind != Call::Kind::Unknown || calls.empty()) {
            Call call;
            call.kind = kind;
            call.number = static_cast<int>(calls.size()) + 1;
            calls.push_back(std::move(call));
        }
        Call& call = calls.back();
        // Init's copy is in force from that Init on (the Init itself included).
        if (call.kind == Call::Kind::Init && isMessage(entries[i], L::kWriteConfToLog)) {
            configFromLog = true;
            configPresent = !entries[i].body.empty();
            config = std::make_shared<const std::string>(
                configPresent ? confCopyText(entries[i].body) : std::string());
            byteOrderMark = isUtf16(entries[i].body) ? entries[i].body.substr(0, 2) : std::string();
        }
        call.entries.push_back(std::move(entries[i]));
        call.configFromLog = configFromLog;
        call.configPresent = configPresent;
        call.configText = config;
        call.configByteOrderMark = byteOrderMark;
    }
    for (Call& call : calls) complete(call, readAttempts(call));
    return calls;
}

}  // namespace replay
