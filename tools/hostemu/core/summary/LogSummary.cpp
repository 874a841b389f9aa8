// brisvane.log -> the figures of a summary. The calls and their exchanges,
// each with its fate and cause, come from the log reader; the summary adds
// what the calls' own failure lines say.
#include "summary/LogSummary.h"

#include <rapidjson/document.h>

#include <algorithm>
#include <cstring>

#include "api/JsonText.h"
#include "encoding/Encodings.h"
#include "log/LogEvents.h"
#include "log/LogFormat.h"
#include "logread/LogCalls.h"
#include "text/Prefix.h"

namespace summary {

namespace L = logtag;
using logformat::kNoStamp;
using logformat::stampSeconds;

namespace {

bool isMessage(const replay::LogEntry& e, const char* tag) {
    return e.kind == replay::LogEntry::Kind::Message && e.tag == tag;
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
    enum class State { Replied, Failed } state = State::Replied;
    Cause cause;
};

using logevent::Role;
using K = logevent::Cause;

// What the call's own closing line says went wrong, apart from its exchanges:
// the row's cause, read in the light of the call (none named: Cause::None).
struct CallTrouble {
    bool unusableReply = false;
    K cause = K::None;
};

CallTrouble troubleOf(const replay::Call& call) {
    CallTrouble t;
    bool configLoaded = false;
    const std::string tag = replay::kindName(call.kind);
    for (const replay::LogEntry& e : call.entries) {
        if (e.has(Role::ConfigRead)) configLoaded = true;
        if (!isMessage(e, tag.c_str()) || !e.event) continue;
        const logevent::Row& row = *e.event.row;
        if (row.result == logevent::kNoResult || row.cause == K::None) continue;
        if (row.quotesReply) {
            // The reply refused, quoted: none when the mode sent nothing.
            const std::string reply = e.event.arg("reply");
            if (reply.empty()) {
                t.cause = K::NothingToSend;
            } else if (!isJson(reply)) {
                t.unusableReply = true;
            } else {
                t.cause = row.cause;
            }
        } else if (row.cause == K::UnusableReply) {
            t.unusableReply = true;
        } else if (row.cause == K::NoToken) {
            t.cause = configLoaded ? K::NoToken : K::NoConfig;
        } else {
            t.cause = row.cause;
        }
    }
    return t;
}

// The call's exchanges whose fate the log shows, as the reader found them;
// counts the connectivity probes and keeps the causes' meanings.
std::vector<Sent> exchangesOf(const replay::Call& call, Summary& s) {
    s.probesSucceeded += call.probesSucceeded;
    s.probesFailed += call.probesFailed;
    std::vector<Sent> sent;
    for (const replay::Attempt& a : call.attempts) {
        if (a.outcome == replay::Attempt::Outcome::Unknown) continue;
        Sent x;
        x.stamp = a.stamp;
        if (a.failed()) {
            x.state = Sent::State::Failed;
            x.cause = a.cause;
            if (a.cause.kind == K::HttpStatus && !s.meanings.count(a.cause)) {
                const std::string meaning = statusMeaning(a.httpStatus);
                if (a.cause.number == std::to_string(a.httpStatus) && !meaning.empty())
                    s.meanings[a.cause] = meaning;
            }
            if (!a.cause.text.empty() && !s.meanings.count(a.cause))
                s.meanings[a.cause] = forConsole(a.cause.text);
        }
        sent.push_back(std::move(x));
    }
    return sent;
}

// The hour a stamp falls in, or nullptr when it is not a stamp.
Hour* hourOf(Summary& s, const std::string& stamp) {
    const long long t = stampSeconds(stamp);
    if (t == kNoStamp) return nullptr;
    return &s.hours[t - ((t % 3600) + 3600) % 3600];
}

// Runs of exchanges that all failed, as the exchanges come: an outage from
// the earliest to the latest stamp of its run (a till's clock may be set back).
struct Runs {
    Outage open;
    void take(const Sent& x, Summary& s) {
        if (x.state != Sent::State::Failed) return close(s);
        const long long t = stampSeconds(x.stamp);
        if (open.failed == 0) open.from = open.to = x.stamp;
        if (t != kNoStamp && (stampSeconds(open.from) == kNoStamp || t < stampSeconds(open.from)))
            open.from = x.stamp;
        if (t != kNoStamp && t > stampSeconds(open.to)) open.to = x.stamp;
        ++open.failed;
        if (std::find(open.causes.begin(), open.causes.end(), x.cause) == open.causes.end())
            open.causes.push_back(x.cause);
    }
    void close(Summary& s) {
        if (open.failed > 0) s.outages.push_back(std::move(open));
        open = Outage();
    }
};

void countSent(std::vector<Sent>& sent, Summary& s, Runs& runs) {
    for (Sent& x : sent) {
        ++s.exchanges;
        if (x.state == Sent::State::Failed) {
            ++s.failedExchanges;
            s.failures.push_back({x.stamp, x.cause});
            if (Hour* h = hourOf(s, x.stamp)) ++h->failedExchanges[x.cause];
        }
        runs.take(x, s);
    }
}

void addCall(const replay::Call& call, Summary& s, Runs& runs) {
    ++s.calls[call.kind];
    CallFigures f;
    f.number = call.number;
    f.kind = call.kind;
    for (const replay::LogEntry& e : call.entries) {
        if (e.stamp.empty()) continue;
        if (f.start.empty()) f.start = e.stamp;
        f.end = e.stamp;
    }
    const long long from = stampSeconds(f.start), to = stampSeconds(f.end);
    if (from != kNoStamp && to != kNoStamp && to >= from) f.seconds = to - from;
    replay::LoggedNumber result;
    f.resultKnown = replay::recordedResult(call, result);
    f.result = result.text;
    f.resultFits = result.fits;
    const bool failedCall = call.kind != Kind::Init && f.resultKnown && f.result != "0";
    if (Hour* h = call.kind == Kind::Init ? nullptr : hourOf(s, f.start)) {
        ++h->calls[call.kind];
        if (failedCall) ++h->failedCalls[call.kind];
    }
    if (call.kind != Kind::Init) {
        if (f.resultKnown) {
            ++s.results[call.kind][f.result];
        } else {
            ++s.resultUnknown;
        }
    }
    if (call.kind == Kind::Init) {
        for (const replay::LogEntry& e : call.entries) {
            if (!isMessage(e, L::kInit) || !e.has(Role::Version)) continue;
            const std::string v = e.event.arg("version");
            auto it = std::find_if(s.versions.begin(), s.versions.end(),
                                   [&](const Version& x) { return x.version == v; });
            if (it == s.versions.end()) it = s.versions.insert(s.versions.end(), {v, 0, e.stamp});
            ++it->inits;
        }
    }
    s.longest.push_back(f);

    std::vector<Sent> sent = exchangesOf(call, s);
    if (call.kind == Kind::Lookup || call.kind == Kind::Transaction) {
        const CallTrouble trouble = troubleOf(call);
        bool anyFailed = false;
        for (const Sent& x : sent) anyFailed |= x.state == Sent::State::Failed;
        const std::string lastStamp = f.end;
        if (trouble.unusableReply) {
            // The reply the call could not use; an error page is already counted by its status.
            Sent* last = sent.empty() ? nullptr : &sent.back();
            if (last && last->state == Sent::State::Replied) {
                last->state = Sent::State::Failed;
                last->cause = replay::causeOf(K::UnusableReply);
            } else if (!last) {
                s.failures.push_back({lastStamp, replay::causeOf(K::UnusableReply)});
            }
        } else if (failedCall && !anyFailed) {
            s.failures.push_back(
                {lastStamp, replay::causeOf(trouble.cause == K::None ? K::Other : trouble.cause)});
        }
    }
    countSent(sent, s, runs);
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

bool ByNumber::operator()(const std::string& a, const std::string& b) const {
    // Decimal texts without leading zeros: a minus first, then by length.
    const bool minusA = !a.empty() && a[0] == '-', minusB = !b.empty() && b[0] == '-';
    if (minusA != minusB) return minusA;
    if (a.size() != b.size()) return minusA ? a.size() > b.size() : a.size() < b.size();
    return minusA ? b < a : a < b;
}

int Summary::callsOf(Kind kind) const {
    const auto it = calls.find(kind);
    return it == calls.end() ? 0 : it->second;
}

int Summary::knownCalls() const {
    int n = 0;
    for (const auto& c : calls) n += c.second;
    return n;
}

namespace {

// A summary built call by call: what it keeps grows with the hours, causes,
// versions and outages, not with the calls.
class Builder {
  public:
    explicit Builder(bool keepFailures) : keepFailures_(keepFailures) {
        for (Kind kind : kCallKinds) s_.calls[kind] = 0;
        for (Kind kind : kResultKinds) s_.results[kind];
    }

    void add(const replay::Call& call) {
        // The period from the earliest to the latest stamp: a till's clock may
        // be set back, and logs may be joined in any order.
        for (const replay::LogEntry& e : call.entries) {
            if (e.stamp.empty()) continue;
            if (firstWritten_.empty()) firstWritten_ = e.stamp;
            lastWritten_ = e.stamp;
            const long long t = e.seconds;
            if (t == kNoStamp) continue;
            if (previous_ != kNoStamp && t < previous_) ++s_.stampsOutOfOrder;
            previous_ = t;
            if (earliest_ == kNoStamp || t < earliest_) earliest_ = t, s_.first = e.stamp;
            if (latest_ == kNoStamp || t > latest_) latest_ = t, s_.last = e.stamp;
        }
        const std::size_t failuresBefore = s_.failures.size();
        if (call.kind == Kind::Unknown) {
            ++s_.cutAtStart;
            // Its exchanges still count; its result and kind are not known.
            std::vector<Sent> its = exchangesOf(call, s_);
            countSent(its, s_, runs_);
        } else {
            addCall(call, s_, runs_);
        }
        for (std::size_t i = failuresBefore; i < s_.failures.size(); ++i)
            ++s_.errors[s_.failures[i].cause];
        if (!keepFailures_) s_.failures.clear();
        if (s_.longest.size() >= 64) keepLongest(s_.longest);
    }

    Summary finish() {
        if (earliest_ == kNoStamp) s_.first = firstWritten_, s_.last = lastWritten_;
        keepLongest(s_.longest);
        runs_.close(s_);
        return std::move(s_);
    }

  private:
    Summary s_;
    Runs runs_;
    bool keepFailures_;
    long long earliest_ = kNoStamp, latest_ = kNoStamp, previous_ = kNoStamp;
    std::string firstWritten_, lastWritten_;
};

}  // namespace

Summary summarize(const std::string& logBytes) { return summarize(replay::bytesOf(logBytes)); }

Summary summarize(replay::ByteSource log) {
    Builder b(false);
    // Not for a replay: the figures come from the entries, attempts and probes.
    replay::forEachCall(
        std::move(log), std::string(), false, [&](replay::Call& call) { b.add(call); }, false);
    return b.finish();
}

Summary summarizeCalls(const std::vector<replay::Call>& calls) {
    Builder b(true);
    for (const replay::Call& call : calls) b.add(call);
    return b.finish();
}

Summary total(const std::vector<NamedSummary>& each) {
    Summary t;
    for (const NamedSummary& named : each) {
        const Summary& s = named.summary;
        auto earlier = [](const std::string& a, const std::string& b) {
            const long long x = stampSeconds(a), y = stampSeconds(b);
            return x != kNoStamp && (y == kNoStamp || x < y);
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
        t.stampsOutOfOrder += s.stampsOutOfOrder;
        for (const auto& h : s.hours) {
            Hour& into = t.hours[h.first];
            for (const auto& c : h.second.calls) into.calls[c.first] += c.second;
            for (const auto& c : h.second.failedCalls) into.failedCalls[c.first] += c.second;
            for (const auto& c : h.second.failedExchanges)
                into.failedExchanges[c.first] += c.second;
        }
        t.failures.insert(t.failures.end(), s.failures.begin(), s.failures.end());
        for (CallFigures c : s.longest) {
            c.log = named.name;
            t.longest.push_back(std::move(c));
        }
    }
    keepLongest(t.longest);
    // Overlapping outages of different logs, joined: by their start, each
    // group running as long as the next starts before the group's end.
    struct Timed {
        long long from, to;
        std::size_t log;
        const Outage* outage;
    };
    std::vector<Timed> timed;
    for (std::size_t i = 0; i < each.size(); ++i)
        for (const Outage& o : each[i].summary.outages) {
            const long long from = stampSeconds(o.from), to = stampSeconds(o.to);
            if (from != kNoStamp && to != kNoStamp) timed.push_back({from, to, i, &o});
        }
    std::stable_sort(timed.begin(), timed.end(),
                     [](const Timed& a, const Timed& b) { return a.from < b.from; });
    for (std::size_t i = 0; i < timed.size();) {
        std::size_t j = i + 1;
        long long end = timed[i].to;
        const Outage* last = timed[i].outage;
        for (; j < timed.size() && timed[j].from <= end; ++j)
            if (timed[j].to > end) end = timed[j].to, last = timed[j].outage;
        std::vector<bool> seen(each.size(), false);
        for (std::size_t k = i; k < j; ++k) seen[timed[k].log] = true;
        SharedOutage shared{timed[i].outage->from, last->to, {}};
        for (std::size_t l = 0; l < each.size(); ++l)
            if (seen[l]) shared.logs.push_back(each[l].name);
        if (shared.logs.size() > 1) {
            t.shared.push_back(std::move(shared));
        } else {
            t.ownOutages += static_cast<int>(j - i);
        }
        i = j;
    }
    return t;
}

}  // namespace summary
