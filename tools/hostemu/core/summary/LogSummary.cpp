// brisvane.log -> the figures of a summary. The calls and their exchanges,
// each with its fate and cause, come from the log reader; the summary adds
// what the calls' own failure lines say.
#include "summary/LogSummary.h"

#include <rapidjson/document.h>

#include <algorithm>
#include <cstring>

#include "api/JsonText.h"
#include "encoding/Encodings.h"
#include "log/LogFormat.h"
#include "log/LogPhrases.h"
#include "logread/LogCalls.h"
#include "text/Prefix.h"

namespace summary {

namespace L = logphrase;
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
    std::string cause;
};

// What the call's own lines say went wrong, apart from its exchanges.
struct CallTrouble {
    bool unusableReply = false;
    std::string cause;  // empty: none named
};

// What a failure line of a lookup or a posting says about the call.
enum class Meaning {
    UnusableReply,  // the service's reply could not be used
    ReplyCheck,     // the reply quoted after the phrase was refused, or not JSON, or none
    Refused,        // the service refused the call
    NoToken,        // no token: for the check, or for want of conf.xml
    Cause,          // the row's cause
};

struct TroubleLine {
    std::string head;  // the message starts with it
    Meaning meaning;
    const char* cause = "";
};

// First matching row wins; a later line of the call overrides an earlier one.
const std::vector<TroubleLine>& troubleLines() {
    static const std::string node = std::string(L::kErrorHead) + L::kNodeHead;
    static const std::string attribute = std::string(L::kErrorHead) + L::kAttributeHead;
    static const std::vector<TroubleLine> lines = {
        {L::kGuestInfoNotOk, Meaning::UnusableReply},
        {L::kReplyNotUsable, Meaning::UnusableReply},
        {L::kDiscountRefused, Meaning::ReplyCheck},
        {L::kPostingRefused, Meaning::ReplyCheck},
        {L::kGuestStatus2, Meaning::Refused},
        {L::kGuestStatusNot1, Meaning::Refused},
        {L::kNoTokenLookup, Meaning::NoToken},
        {L::kNoTokenPosting, Meaning::NoToken},
        {L::kClientIdNotFound, Meaning::Cause, "no guest found for the close"},
        {L::kRecordIsNull, Meaning::Cause, "no card record from the host"},
        {L::kNumNotLookup, Meaning::Cause, "check not usable"},
        {L::kNumNotPosting, Meaning::Cause, "check not usable"},
        {L::kNoChmodLookup, Meaning::Cause, "check not usable"},
        {L::kNoChmodPosting, Meaning::Cause, "check not usable"},
        {L::kCheckDataNotFound, Meaning::Cause, "check not usable"},
        {L::kCheckNotUsable, Meaning::Cause, "check not usable"},
        {node, Meaning::Cause, "check not usable"},
        {attribute, Meaning::Cause, "check not usable"},
        {L::kDepositWithoutAccount, Meaning::Cause, "check not usable"},
    };
    return lines;
}

CallTrouble troubleOf(const replay::Call& call, const char* tag) {
    CallTrouble t;
    bool configLoaded = false;
    for (const replay::LogEntry& e : call.entries) {
        if (isMessage(e, L::kGetConfig) && e.body == L::kTryGetConfiguration) configLoaded = true;
        if (!isMessage(e, tag)) continue;
        const std::string& m = e.body;
        for (const TroubleLine& line : troubleLines()) {
            if (!startsWith(m, line.head.c_str())) continue;
            switch (line.meaning) {
                case Meaning::UnusableReply: t.unusableReply = true; break;
                case Meaning::ReplyCheck: {
                    const std::string reply = m.substr(line.head.size());
                    if (reply.empty()) {
                        t.cause = "nothing to send in this working mode";
                    } else if (!isJson(reply)) {
                        t.unusableReply = true;
                    } else {
                        t.cause = "refused by the service";
                    }
                    break;
                }
                case Meaning::Refused: t.cause = "refused by the service"; break;
                case Meaning::NoToken:
                    t.cause = configLoaded ? "no token for the check"
                                           : "no conf.xml (missing or not XML)";
                    break;
                case Meaning::Cause: t.cause = line.cause; break;
            }
            break;
        }
    }
    return t;
}

// The call's exchanges whose fate the log shows, as the reader found them;
// counts the connectivity probes and keeps the causes' meanings.
std::vector<Sent> exchangesOf(const replay::Call& call, Summary& s) {
    for (const replay::LogEntry& e : call.entries) {
        if (!isMessage(e, L::kSendRequestWrapper)) continue;
        if (startsWith(e.body, L::kProbeWorksRetryTo)) ++s.probesSucceeded;
        if (e.body == L::kProbeFailed) ++s.probesFailed;
    }
    std::vector<Sent> sent;
    for (const replay::Attempt& a : call.attempts) {
        if (a.outcome == replay::Attempt::Outcome::Unknown) continue;
        Sent x;
        x.stamp = a.stamp;
        if (a.failed()) {
            x.state = Sent::State::Failed;
            x.cause = a.cause;
            if (a.httpStatus != 200 && a.cause == L::kHttpStatus + std::to_string(a.httpStatus) &&
                !statusMeaning(a.httpStatus).empty())
                s.meanings[a.cause] = statusMeaning(a.httpStatus);
            if (!a.causeText.empty() && !s.meanings.count(a.cause))
                s.meanings[a.cause] = forConsole(a.causeText);
        }
        sent.push_back(std::move(x));
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
        for (const replay::LogEntry& e : call.entries) {
            if (!isMessage(e, L::kInit) || !startsWith(e.body, L::kCurrentVersion)) continue;
            const std::string v = e.body.substr(std::strlen(L::kCurrentVersion));
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
            Sent* last = sent.empty() ? nullptr : &sent.back();
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

int Summary::knownCalls() const {
    int n = 0;
    for (const auto& c : calls) n += c.second;
    return n;
}

Summary summarize(const std::string& logBytes) {
    return summarizeCalls(replay::splitCalls(logBytes, std::string(), false));
}

Summary summarizeCalls(const std::vector<replay::Call>& calls) {
    Summary s;
    for (const char* kind : {L::kInit, L::kGetCardInfoEx, L::kTransactionsEx}) s.calls[kind] = 0;
    s.results[L::kGetCardInfoEx];
    s.results[L::kTransactionsEx];
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
