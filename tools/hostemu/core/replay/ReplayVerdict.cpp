#include "replay/ReplayVerdict.h"

#include <algorithm>

#include "cli/ExitStatus.h"
#include "confreport/Report.h"
#include "display/ShownValues.h"
#include "encoding/Encodings.h"

namespace replay {

std::string describe(const Call& call) {
    std::string s = "call " + std::to_string(call.number) + "  " + kindName(call.kind);
    if (call.kind == Call::Kind::Lookup && call.cardFromLog)
        s += "(" + std::to_string(static_cast<long long>(call.card)) + ")";
    return s;
}

std::string notReplayableLine(const Call& call, const std::string& why, Tally& tally) {
    ++tally.notReplayable;
    return describe(call) + ": not replayable: " + why + "\n";
}

std::string judgeReplayedCall(const Call& call, int result, const std::vector<Received>& received,
                              const std::vector<LogEntry>& entries, const std::string& given,
                              Tally& tally) {
    const std::string head = describe(call);
    const EntryComparison log = compareEntries(call.entries, entries, given, call.config());
    const bool probeOnly = log.verdict == EntryComparison::Verdict::ProbeOnly;
    // Past a probe that went the other way the requests part ways too.
    std::vector<Received> compared = received;
    std::vector<Attempt> recorded = call.attempts;
    if (probeOnly) {
        std::size_t reached = 0;
        for (const Attempt& a : recorded) reached += a.reachesService() ? 1 : 0;
        const std::size_t n = std::min(reached, compared.size());
        compared.resize(n);
        std::vector<Attempt> kept;
        std::size_t keptReached = 0;
        for (const Attempt& a : recorded) {
            if (a.reachesService() && keptReached++ >= n) continue;
            kept.push_back(a);
        }
        recorded = kept;
    }
    const std::string requests = compareRequests(recorded, compared);

    const std::string line = head + "  result " + std::to_string(result);
    std::vector<std::string> details;
    if (result != call.result && !probeOnly)
        details.push_back("result " + std::to_string(result) + ", recorded " +
                          std::to_string(call.result));
    if (!requests.empty()) details.push_back(requests);
    if (log.verdict == EntryComparison::Verdict::Differs) {
        details.push_back("log entry " + std::to_string(log.index + 1) + " of the call differs:");
        details.push_back("  recorded " + quoted(forConsole(log.recorded)));
        details.push_back("  replayed " + quoted(forConsole(log.replayed)));
    }
    if (details.empty() && probeOnly) {
        ++tally.probeOnly;
        return line +
               ": same up to the connectivity probe, which went the other way on this"
               " machine (not counted as a difference)\n" +
               "    recorded " + quoted(forConsole(log.recorded)) + "\n    replayed " +
               quoted(forConsole(log.replayed)) + "\n";
    }
    if (details.empty()) {
        ++tally.same;
        return line + ": same\n";
    }
    ++tally.differ;
    std::string text = line + ": DIFFERS: " + details.front() + "\n";
    for (std::size_t i = 1; i < details.size(); ++i) text += "    " + details[i] + "\n";
    return text;
}

std::string tallyLine(const Tally& tally) {
    const int replayed = tally.same + tally.probeOnly + tally.differ + tally.notReplayable;
    std::string summary = std::to_string(replayed) + (replayed == 1 ? " call: " : " calls: ") +
                          std::to_string(tally.same) + " same, " + std::to_string(tally.differ) +
                          " differ, " + std::to_string(tally.notReplayable) + " not replayable";
    if (tally.probeOnly > 0)
        summary += ", " + std::to_string(tally.probeOnly) + " same but for the connectivity probe";
    return summary + "\n";
}

std::string whyNoCalls(const std::string& logBytes, const std::vector<Call>& calls) {
    if (!calls.empty()) return std::string();
    if (logBytes.empty()) return "the file is empty";
    if (isUtf16(logBytes))
        return "the file is a UTF-16 copy of a log (saved again by an editor as \"Unicode\"); "
               "replay needs brisvane.log as the till wrote it";
    const std::string stamps = unreadableStampReason(logBytes);
    return stamps.empty() ? "the file holds no entry of a brisvane.log" : stamps;
}

std::string whyNoSuchCall(const std::vector<Call>& calls, long long onlyCall) {
    if (onlyCall <= static_cast<long long>(calls.size())) return std::string();
    return "the log holds " + std::to_string(calls.size()) +
           (calls.size() == 1 ? " call" : " calls") + "; there is no call " +
           std::to_string(onlyCall);
}

int exitStatus(const Tally& tally) {
    if (tally.differ > 0) return exitstatus::kFound;
    return tally.same + tally.probeOnly > 0 ? exitstatus::kDone : exitstatus::kBadInput;
}

std::string asReadInTextMode(const std::string& bytes) {
    std::string lf;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) lf += bytes[i];
    return lf;
}

}  // namespace replay
