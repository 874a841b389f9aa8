#pragma once
// A till's brisvane.log at a glance: how many calls, how they ended, which
// exchanges with the service failed and why, when it was unreachable.
// Platform-neutral: bytes in (read with the log reader), figures out;
// never throws on any input.
#include <map>
#include <string>
#include <vector>

#include "i18n/Messages.h"
#include "logread/LogCalls.h"

namespace summary {

using Kind = replay::Call::Kind;
using replay::Cause;

// The calls the host makes, in the order the reports list them.
inline constexpr Kind kCallKinds[] = {Kind::Init, Kind::Lookup, Kind::Transaction};
// Those whose result the log names.
inline constexpr Kind kResultKinds[] = {Kind::Lookup, Kind::Transaction};

// Results as the log writes them (replay::LoggedNumber), in numeric order.
struct ByNumber {
    bool operator()(const std::string& a, const std::string& b) const;
};
using Results = std::map<std::string, int, ByNumber>;

// Something that went wrong, at a time: a failed exchange, or a failed call
// whose failure no exchange explains.
struct Failure {
    std::string stamp;
    Cause cause;
};

struct CallFigures {
    int number = 0;  // as the replay numbers the calls
    Kind kind = Kind::Unknown;
    std::string start, end;
    long long seconds = -1;  // from the stamps; -1 when they do not tell
    std::string result;      // as the log writes it
    bool resultKnown = false;
    bool resultFits = true;  // within int; else as written (LoggedNumber)
    std::string log;         // in a total: the log it is from
};

struct Outage {
    std::string from, to;  // the first and last failed exchange of the run
    int failed = 0;        // exchanges in the run
    std::vector<Cause> causes;
};

// Outages of several logs that overlap in time: seen at several tills at
// once, the service's or the network's.
struct SharedOutage {
    std::string from, to;           // the earliest start and latest end among them
    std::vector<std::string> logs;  // the logs, in the order given
};

struct Version {
    std::string version;
    int inits = 0;
    std::string firstSeen;
};

// An hour of the log, for the charts: each call counted once under its
// export (Init apart), a failed call being one whose result is not 0; each
// failed exchange (a retry too) counted under its cause.
struct Hour {
    std::map<Kind, int> calls, failedCalls;
    std::map<Cause, int> failedExchanges;
};

struct Summary {
    std::string first, last;                    // the earliest and latest stamp; empty: none
    int stampsOutOfOrder = 0;                   // entries stamped before the one above them
    std::map<Kind, int> calls;                  // every kind, zeros included
    std::map<Kind, Results> results;            // lookups and transactions
    int resultUnknown = 0;                      // calls the log cuts off
    int cutAtStart = 0;                         // a call the log starts within
    std::map<Cause, int> errors;                // failures by cause
    std::map<Cause, std::string> meanings;      // a status's or Windows error's text
    int probesFailed = 0, probesSucceeded = 0;  // the connectivity probe
    int exchanges = 0, failedExchanges = 0;
    std::vector<CallFigures> longest;  // up to five, longest first
    std::vector<Version> versions;     // in the order first seen
    std::vector<Outage> outages;
    // In a total of several logs: outages seen at several tills at once, and
    // how many were seen at one till only (that till's own).
    std::vector<SharedOutage> shared;
    int ownOutages = 0;
    std::map<long long, Hour> hours;  // by the hour's start, seconds since 1970
    std::vector<Failure> failures;    // each failure (summarizeCalls only: a log's are not kept)
    int knownCalls() const;
    int callsOf(Kind kind) const;
};

Summary summarize(const std::string& logBytes);
// The same, the log read piece by piece (replay::ByteSource): what it holds
// grows with the summary's figures, not with the log.
Summary summarize(replay::ByteSource log);

// The same over calls already read, e.g. one call for its failures and causes.
Summary summarizeCalls(const std::vector<replay::Call>& calls);

struct NamedSummary {
    std::string name;  // the log file as given
    Summary summary;
};

// Several tills' logs together: counts added, period the widest, longest calls
// and outages as the logs give them.
Summary total(const std::vector<NamedSummary>& each);

// The reports: one section per log and, for several logs, a total. Text and
// HTML are UTF-8; JSON is one object (see the definition for its members).
// "{n} ..." in the form the count takes in the catalog's language.
std::string counted(const Catalog& catalog, PluralMsg id, int n);

// Text and HTML speak the catalog's language; JSON is for programs and the
// same in every language.
std::string textReport(const std::vector<NamedSummary>& logs,
                       const Catalog& catalog = kEnglishCatalog);
std::string jsonReport(const std::vector<NamedSummary>& logs);
std::string htmlReport(const std::vector<NamedSummary>& logs,
                       const Catalog& catalog = kEnglishCatalog);

}  // namespace summary
