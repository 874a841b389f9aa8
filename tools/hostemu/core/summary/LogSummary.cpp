// brisvane.log -> the figures of a summary. Calls come from the replay's
// reader; the exchanges of each call and their fate are read from its entries.
#include "summary/LogSummary.h"

#include <rapidjson/document.h>

#include <algorithm>
#include <cstring>

#include "api/JsonText.h"
#include "encoding/Encodings.h"
#include "log/LogPhrases.h"
#include "logread/LogCalls.h"

namespace summary {

namespace L = logphrase;

namespace {

const char kWindowsError[] = "Windows error ";

bool startsWith(const std::string& s, const char* prefix) {
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}

bool isMessage(const replay::LogEntry& e, const char* tag) {
    return e.kind == replay::LogEntry::Kind::Message && e.tag == tag;
}

// Leading decimal digits of `s` from `at` (at most nine, so no overflow); -1 if none.
long digitsAt(const std::string& s, std::size_t at, std::size_t* end = nullptr) {
    long v = 0;
    std::size_t p = at;
    while (p < s.size() && p - at < 9 && s[p] >= '0' && s[p] <= '9') v = v * 10 + (s[p++] - '0');
    if (end) *end = p;
    return p == at ? -1 : v;
}

bool isJson(const std::string& text) {
    rapidjson::Document d;
    parseJson(d, text.c_str(), text.size());
    return !d.HasParseError();
}

// The reason phrase of the statuses a till meets behind proxies and gateways.
std::string statusMeaning(long status) {
    static const std::map<long, const char*> phrases = {{400, "Bad Request"},
                                                        {401, "Unauthorized"},
                                                        {403, "Forbidden"},
                                                        {404, "Not Found"},
                                                        {405, "Method Not Allowed"},
                                                        {407, "Proxy Authentication Required"},
                                                        {408, "Request Timeout"},
                                                        {429, "Too Many Requests"},
                                                        {500, "Internal Server Error"},
                                                        {502, "Bad Gateway"},
                                                        {503, "Service Unavailable"},
                                                        {504, "Gateway Timeout"}};
    const auto it = phrases.find(status);
    return it == phrases.end() ? std::string() : it->second;
}

struct Sent {
    std::string stamp;
    std::string path;
    enum class State { Open, Replied, Failed } state = State::Open;
    std::string cause;
};

// What the call's own lines say went wrong, apart from its exchanges.
struct CallTrouble {
    bool unusableReply = false;
    std::string cause;  // empty: none named
};

CallTrouble troubleOf(const replay::Call& call, const char* tag) {
    static const char kDiscountCheck[] =
        "ERROR RETURN 1 in !ok || jsonDiscont[\"Status\"].GetInt() != 1";
    static const char kPostCheck[] =
        "ERROR in !ok || jsonResultRequest[\"Status\"].GetInt() != 1 RETURNS 1";
    static const char* const kCheckLines[] = {"num != 0 && num != 2 RETURN",
                                              "NUM IS NOT 0 RETURNS",
                                              "Cant get chmod RETURN",
                                              "chmod error! RETURN",
                                              "ERROR CheckdataNotFound",
                                              "ERROR check not usable: ",
                                              "ERROR Node ",
                                              "ERROR Attribute ",
                                              "ERROR deposit payment names no account"};
    CallTrouble t;
    bool configLoaded = false;
    for (const replay::LogEntry& e : call.entries) {
        if (isMessage(e, "GetConfig") && e.body == "TRY GET configuration") configLoaded = true;
        if (!isMessage(e, tag)) continue;
        const std::string& m = e.body;
        if (m == "Error: not ok jsonGuestInfo RETURN 1" ||
            startsWith(m, "ERROR service reply not usable: ")) {
            t.unusableReply = true;
        } else if (startsWith(m, kDiscountCheck) || startsWith(m, kPostCheck)) {
            const std::string reply =
                m.substr(std::strlen(startsWith(m, kPostCheck) ? kPostCheck : kDiscountCheck));
            if (reply.empty()) {
                t.cause = "nothing to send in this working mode";
            } else if (!isJson(reply)) {
                t.unusableReply = true;
            } else {
                t.cause = "refused by the service";
            }
        } else if (startsWith(m, "Error: status == 2 RETURN") ||
                   startsWith(m, "Error: status != 1 RETURN")) {
            t.cause = "refused by the service";
        } else if (startsWith(m, "Cant get token!") || startsWith(m, "token error RETURN")) {
            t.cause = configLoaded ? "no token for the check" : "no conf.xml (missing or not XML)";
        } else if (startsWith(m, "ERROR ClientId not found")) {
            t.cause = "no guest found for the close";
        } else if (startsWith(m, "ERROR card record is NULL")) {
            t.cause = "no card record from the host";
        } else {
            for (const char* line : kCheckLines)
                if (startsWith(m, line)) t.cause = "check not usable";
        }
    }
    return t;
}

// The requests of one call and what became of each.
std::vector<Sent> exchangesOf(const replay::Call& call, Summary& s) {
    std::vector<Sent> sent;
    auto open = [&](const replay::LogEntry& e, std::string path) {
        Sent x;
        x.stamp = e.stamp;
        x.path = std::move(path);
        sent.push_back(std::move(x));
    };
    auto fail = [](Sent& x, const replay::LogEntry& e, const std::string& cause) {
        x.state = Sent::State::Failed;
        x.stamp = e.stamp;
        x.cause = cause;
    };
    for (const replay::LogEntry& e : call.entries) {
        Sent* cur = sent.empty() ? nullptr : &sent.back();
        const bool pending = cur && cur->state == Sent::State::Open;
        const std::string& m = e.body;
        if (isMessage(e, L::kSendRequestWrapper) && startsWith(m, L::kTrySendRequestTo)) {
            const std::string rest = m.substr(std::strlen(L::kTrySendRequestTo));
            open(e, rest.substr(0, rest.find(L::kWith)));
        } else if (isMessage(e, L::kSendRequestWrapper) && startsWith(m, L::kProbeWorksRetryTo)) {
            const std::string rest = m.substr(std::strlen(L::kProbeWorksRetryTo));
            open(e, rest.substr(0, rest.find(L::kWith)));
            ++s.probesSucceeded;
        } else if (isMessage(e, L::kSendRequestWrapper) && m == L::kProbeFailed) {
            ++s.probesFailed;
        } else if (isMessage(e, L::kHolderLookup) && startsWith(m, L::kTryGetClientIdWith)) {
            open(e, "v1/GuestInfo/");
        } else if (e.kind == replay::LogEntry::Kind::Answer && pending) {
            cur->state = Sent::State::Replied;
            cur->stamp = e.stamp;
        } else if (!isMessage(e, L::kSendRequest) || !cur) {
            continue;
        } else if (startsWith(m, L::kHttpStatus)) {
            const long status = digitsAt(m, std::strlen(L::kHttpStatus));
            if (cur->state == Sent::State::Replied && status >= 100 &&
                (status < 200 || status > 299)) {
                fail(*cur, e, "HTTP status " + std::to_string(status));
                if (!statusMeaning(status).empty()) s.meanings[cur->cause] = statusMeaning(status);
            }
        } else if (startsWith(m, kWindowsError)) {
            std::size_t end = 0;
            const long code = digitsAt(m, std::strlen(kWindowsError), &end);
            if (code >= 0 && cur->state == Sent::State::Failed) {
                cur->cause = kWindowsError + std::to_string(code);
                if (m.compare(end, 2, ": ") == 0 && !s.meanings.count(cur->cause))
                    s.meanings[cur->cause] = forConsole(m.substr(end + 2));
            }
        } else if (!pending) {
            continue;
        } else if (startsWith(m, L::kSendTimedOut)) {
            fail(*cur, e, "time-out");
        } else if (startsWith(m, L::kReadFailed)) {
            fail(*cur, e, "empty reply");
        } else if (startsWith(m, L::kNoRequestHandle)) {
            // The code follows the path directly.
            const std::size_t at = std::strlen(L::kNoRequestHandle) + cur->path.size();
            const long code =
                m.compare(std::strlen(L::kNoRequestHandle), cur->path.size(), cur->path) == 0
                    ? digitsAt(m, at)
                    : -1;
            fail(*cur, e, code >= 0 ? kWindowsError + std::to_string(code) : "send failed");
        } else if (startsWith(m, L::kWorkerFailed) || startsWith(m, L::kNoExitCode)) {
            fail(*cur, e, "send failed");
        }
    }
    return sent;
}

void addCall(const replay::Call& call, Summary& s, std::vector<Sent>& allSent) {
    const std::string kind = replay::kindName(call.kind);
    ++s.calls[kind];
    CallFigures f;
    f.number = call.number;
    f.kind = kind;
    for (const replay::LogEntry& e : call.entries) {
        if (e.stamp.empty()) continue;
        if (f.start.empty()) f.start = e.stamp;
        f.end = e.stamp;
    }
    if (!f.start.empty()) s.callStamps.push_back(f.start);
    const long long from = stampSeconds(f.start), to = stampSeconds(f.end);
    if (from >= 0 && to >= from) f.seconds = to - from;
    f.resultKnown = replay::recordedResult(call, f.result);
    if (call.kind != replay::Call::Kind::Init) {
        if (f.resultKnown) {
            ++s.results[kind][f.result];
        } else {
            ++s.resultUnknown;
        }
    }
    if (call.kind == replay::Call::Kind::Init) {
        static const char kVersion[] = "CURRENT VERSION: ";
        for (const replay::LogEntry& e : call.entries) {
            if (!isMessage(e, L::kInit) || !startsWith(e.body, kVersion)) continue;
            const std::string v = e.body.substr(std::strlen(kVersion));
            auto it = std::find_if(s.versions.begin(), s.versions.end(),
                                   [&](const Version& x) { return x.version == v; });
            if (it == s.versions.end()) it = s.versions.insert(s.versions.end(), {v, 0, e.stamp});
            ++it->inits;
        }
    }
    s.longest.push_back(f);

    std::vector<Sent> sent = exchangesOf(call, s);
    if (call.kind == replay::Call::Kind::Lookup || call.kind == replay::Call::Kind::Transaction) {
        const CallTrouble trouble = troubleOf(call, kind.c_str());
        bool anyFailed = false;
        for (const Sent& x : sent) anyFailed |= x.state == Sent::State::Failed;
        const std::string lastStamp = f.end;
        if (trouble.unusableReply) {
            // The reply the call could not use; an error page is already counted by its status.
            Sent* last = nullptr;
            for (Sent& x : sent)
                if (x.state != Sent::State::Open) last = &x;
            if (last && last->state == Sent::State::Replied) {
                last->state = Sent::State::Failed;
                last->cause = "unusable reply";
            } else if (!last) {
                s.failures.push_back({lastStamp, "unusable reply"});
            }
        } else if (f.resultKnown && f.result != 0 && !anyFailed) {
            s.failures.push_back(
                {lastStamp, trouble.cause.empty() ? "other failure" : trouble.cause});
        }
    }
    for (Sent& x : sent) {
        if (x.state == Sent::State::Open) continue;  // the log does not show its fate
        ++s.exchanges;
        if (x.state == Sent::State::Failed) {
            ++s.failedExchanges;
            s.failures.push_back({x.stamp, x.cause});
        }
        allSent.push_back(std::move(x));
    }
}

void keepLongest(std::vector<CallFigures>& calls) {
    calls.erase(std::remove_if(calls.begin(), calls.end(),
                               [](const CallFigures& c) { return c.seconds <= 0; }),
                calls.end());
    std::stable_sort(calls.begin(), calls.end(), [](const CallFigures& a, const CallFigures& b) {
        return a.seconds > b.seconds;
    });
    if (calls.size() > 5) calls.resize(5);
}

}  // namespace

long long stampSeconds(const std::string& stamp) { return replay::stampSeconds(stamp); }

int Summary::knownCalls() const {
    int n = 0;
    for (const auto& c : calls) n += c.second;
    return n;
}

Summary summarize(const std::string& logBytes) {
    Summary s;
    for (const char* kind : {L::kInit, L::kGetCardInfoEx, L::kTransactionsEx}) s.calls[kind] = 0;
    s.results[L::kGetCardInfoEx];
    s.results[L::kTransactionsEx];
    const std::vector<replay::Call> calls = replay::splitCalls(logBytes, std::string(), false);
    std::vector<Sent> sent;
    for (const replay::Call& call : calls) {
        for (const replay::LogEntry& e : call.entries) {
            if (e.stamp.empty()) continue;
            if (s.first.empty()) s.first = e.stamp;
            s.last = e.stamp;
        }
        if (call.kind == replay::Call::Kind::Unknown) {
            ++s.cutAtStart;
            // Its exchanges still count; its result and kind are not known.
            for (Sent& x : exchangesOf(call, s)) {
                if (x.state == Sent::State::Open) continue;
                ++s.exchanges;
                if (x.state == Sent::State::Failed) {
                    ++s.failedExchanges;
                    s.failures.push_back({x.stamp, x.cause});
                }
                sent.push_back(std::move(x));
            }
            continue;
        }
        addCall(call, s, sent);
    }
    for (const Failure& f : s.failures) ++s.errors[f.cause];
    keepLongest(s.longest);
    // Runs of exchanges that all failed.
    for (std::size_t i = 0; i < sent.size();) {
        if (sent[i].state != Sent::State::Failed) {
            ++i;
            continue;
        }
        // From the earliest to the latest stamp of the run: a till's clock may be set back.
        Outage o;
        o.from = o.to = sent[i].stamp;
        for (; i < sent.size() && sent[i].state == Sent::State::Failed; ++i) {
            const long long t = stampSeconds(sent[i].stamp);
            if (t >= 0 && (stampSeconds(o.from) < 0 || t < stampSeconds(o.from)))
                o.from = sent[i].stamp;
            if (t >= 0 && t > stampSeconds(o.to)) o.to = sent[i].stamp;
            ++o.failed;
            if (std::find(o.causes.begin(), o.causes.end(), sent[i].cause) == o.causes.end())
                o.causes.push_back(sent[i].cause);
        }
        s.outages.push_back(std::move(o));
    }
    return s;
}

Summary total(const std::vector<NamedSummary>& each) {
    Summary t;
    for (const NamedSummary& named : each) {
        const Summary& s = named.summary;
        auto earlier = [](const std::string& a, const std::string& b) {
            return stampSeconds(a) < stampSeconds(b);
        };
        if (!s.first.empty() && (t.first.empty() || earlier(s.first, t.first))) t.first = s.first;
        if (!s.last.empty() && (t.last.empty() || earlier(t.last, s.last))) t.last = s.last;
        for (const auto& c : s.calls) t.calls[c.first] += c.second;
        for (const auto& r : s.results)
            for (const auto& n : r.second) t.results[r.first][n.first] += n.second;
        for (const auto& r : s.results) t.results[r.first];
        t.resultUnknown += s.resultUnknown;
        t.cutAtStart += s.cutAtStart;
        for (const auto& e : s.errors) t.errors[e.first] += e.second;
        for (const auto& m : s.meanings) t.meanings.insert(m);
        t.probesFailed += s.probesFailed;
        t.probesSucceeded += s.probesSucceeded;
        t.exchanges += s.exchanges;
        t.failedExchanges += s.failedExchanges;
        for (const Version& v : s.versions) {
            auto it = std::find_if(t.versions.begin(), t.versions.end(),
                                   [&](const Version& x) { return x.version == v.version; });
            if (it == t.versions.end()) {
                t.versions.push_back(v);
            } else {
                it->inits += v.inits;
            }
        }
        t.outages.insert(t.outages.end(), s.outages.begin(), s.outages.end());
        t.callStamps.insert(t.callStamps.end(), s.callStamps.begin(), s.callStamps.end());
        t.failures.insert(t.failures.end(), s.failures.begin(), s.failures.end());
        for (CallFigures c : s.longest) {
            c.log = named.name;
            t.longest.push_back(std::move(c));
        }
    }
    keepLongest(t.longest);
    return t;
}

}  // namespace summary
