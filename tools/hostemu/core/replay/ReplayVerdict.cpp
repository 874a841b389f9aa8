#include "replay/ReplayVerdict.h"

#include <algorithm>

#include "cli/ExitStatus.h"
#include "confreport/Report.h"
#include "display/ShownValues.h"
#include "encoding/Encodings.h"

namespace replay {

std::string describe(const Call& call, const Catalog& catalog) {
    std::string name = call.kind == Call::Kind::Unknown
                           ? formatMessage(catalog, Msg::replay_unknown_export)
                           : std::string(kindName(call.kind));
    if (call.kind == Call::Kind::Lookup && call.cardFromLog)
        name += "(" + std::to_string(static_cast<long long>(call.card)) + ")";
    return formatMessage(catalog, Msg::replay_call,
                         {{"number", std::to_string(call.number)}, {"export", name}});
}

std::string notReplayableLine(const Call& call, const std::string& why, const Catalog& catalog,
                              Tally& tally) {
    ++tally.notReplayable;
    return formatMessage(catalog, Msg::replay_not_replayable,
                         {{"call", describe(call, catalog)}, {"why", why}});
}

std::string judgeReplayedCall(const Call& call, int result, const std::vector<Received>& received,
                              const std::vector<LogEntry>& entries, const std::string& given,
                              const Catalog& catalog, Tally& tally) {
    auto say = [&](Msg key, MessageArgs args = {}) { return formatMessage(catalog, key, args); };
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
    const Reason requests = compareRequests(recorded, compared);

    const std::string line = say(Msg::replay_result, {{"call", describe(call, catalog)},
                                                      {"result", std::to_string(result)}});
    // The entries as the log holds them, quoted; an entry the call did not write, in words.
    auto entry = [&](bool ended, const std::string& text) {
        return ended ? say(Msg::replay_no_entry) : quoted(forConsole(text));
    };
    // The labels carry no padding: the entries line up whatever the language.
    std::string recordedLabel = say(Msg::replay_entry_recorded),
                replayedLabel = say(Msg::replay_entry_replayed);
    const std::size_t width =
        std::max(utf8Characters(recordedLabel), utf8Characters(replayedLabel));
    recordedLabel.append(width - utf8Characters(recordedLabel), ' ');
    replayedLabel.append(width - utf8Characters(replayedLabel), ' ');
    const std::string recordedLine =
        "  " + recordedLabel + " " + entry(log.recordedEnded, log.recorded);
    const std::string replayedLine =
        "  " + replayedLabel + " " + entry(log.replayedEnded, log.replayed);
    std::vector<std::string> details;
    // A recorded result as the log writes it: one no int holds never matches.
    if (std::to_string(result) != call.resultText && !probeOnly)
        details.push_back(say(Msg::replay_result_differs,
                              {{"result", std::to_string(result)}, {"recorded", call.resultText}}));
    if (!requests.empty()) details.push_back(sayReason(catalog, requests));
    if (log.verdict == EntryComparison::Verdict::Differs) {
        details.push_back(
            say(Msg::replay_entry_differs, {{"number", std::to_string(log.index + 1)}}));
        details.push_back(recordedLine);
        details.push_back(replayedLine);
    }
    if (details.empty() && probeOnly) {
        ++tally.probeOnly;
        return say(Msg::replay_same_but_probe, {{"line", line}}) + "  " + recordedLine + "\n  " +
               replayedLine + "\n";
    }
    if (details.empty()) {
        ++tally.same;
        return say(Msg::replay_same, {{"line", line}});
    }
    ++tally.differ;
    std::string text = say(Msg::replay_differs, {{"line", line}, {"detail", details.front()}});
    for (std::size_t i = 1; i < details.size(); ++i) text += "    " + details[i] + "\n";
    return text;
}

std::string tallyLine(const Tally& tally, const Catalog& catalog) {
    const int replayed = tally.same + tally.probeOnly + tally.differ + tally.notReplayable;
    std::string summary = formatPlural(catalog, PluralMsg::replay_tally, replayed,
                                       {{"count", std::to_string(replayed)},
                                        {"same", std::to_string(tally.same)},
                                        {"differ", std::to_string(tally.differ)},
                                        {"unreplayable", std::to_string(tally.notReplayable)}});
    if (tally.probeOnly > 0)
        summary += formatMessage(catalog, Msg::replay_tally_probe,
                                 {{"count", std::to_string(tally.probeOnly)}});
    return summary + "\n";
}

std::string whyNoCalls(const std::string& logBytes, const std::vector<Call>& calls,
                       const Catalog& catalog) {
    if (!calls.empty()) return std::string();
    if (logBytes.empty()) return formatMessage(catalog, Msg::replay_file_empty);
    if (isUtf16(logBytes)) return formatMessage(catalog, Msg::replay_file_utf16);
    const std::string stamps = unreadableStampReason(logBytes, catalog);
    return stamps.empty() ? formatMessage(catalog, Msg::replay_no_entries) : stamps;
}

std::string whyNoSuchCall(const std::vector<Call>& calls, long long onlyCall,
                          const Catalog& catalog) {
    if (onlyCall <= static_cast<long long>(calls.size())) return std::string();
    return formatPlural(
        catalog, PluralMsg::replay_no_such_call, calls.size(),
        {{"count", std::to_string(calls.size())}, {"number", std::to_string(onlyCall)}});
}

ExitStatus exitStatus(const Tally& tally) {
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
