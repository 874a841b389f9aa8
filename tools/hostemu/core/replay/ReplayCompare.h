#pragma once
// A recorded call against the same call made again: the conf.xml it is made
// with, and how its log entries and requests compare.
#include <string>
#include <vector>

#include "logread/LogCalls.h"

namespace replay {

// conf.xml text with its ApiAddress pointed at `address` and SSL off, every
// other byte kept. False (with the reason) when that cannot be done safely.
bool pointConfigAt(const std::string& config, const std::string& address, std::string& out,
                   Reason& why);

// How a replayed call's entries compare with the recorded ones.
struct EntryComparison {
    enum class Verdict { Same, ProbeOnly, Differs };
    Verdict verdict = Verdict::Same;
    std::size_t index = 0;  // the first differing entry (0-based)
    std::string recorded;   // its text; empty past the end (recordedEnded)
    std::string replayed;
    bool recordedEnded = false, replayedEnded = false;  // no such entry: the call wrote fewer
};

// Stamps are not compared; the log housekeeping line depends on the till's log
// size, so its outcome is not compared either; `givenConfig` is the text the
// replay wrote as conf.xml and stands for the recorded copy in Init's entry.
EntryComparison compareEntries(const std::vector<LogEntry>& recorded,
                               const std::vector<LogEntry>& replayed,
                               const std::string& givenConfig, const std::string& recordedConfig);

// A request the replay's server received.
struct Received {
    std::string path;
    std::string body;
};

// The first difference between the requests the log shows reaching the service
// and those the replay's server received; empty when there is none.
Reason compareRequests(const std::vector<Attempt>& recorded, const std::vector<Received>& received);

}  // namespace replay
