#pragma once
// What the replay says about a call made again: platform-neutral, so that
// every verdict can be checked without the DLL or the server. The texts are
// in the catalog's language; the log's own lines are quoted as they are.
#include <string>
#include <vector>

#include "cli/ExitStatus.h"
#include "i18n/Messages.h"
#include "logread/LogCalls.h"
#include "replay/ReplayCompare.h"

namespace replay {

struct Tally {
    int same = 0, probeOnly = 0, differ = 0, notReplayable = 0;
};

// "call 3  GetCardInfoEx(1001)".
std::string describe(const Call& call, const Catalog& catalog);

// The line of a call that is not made again, counted as such.
std::string notReplayableLine(const Call& call, const std::string& why, const Catalog& catalog,
                              Tally& tally);

// Compares a replayed call (its result, the requests the server received, the
// entries it wrote, `given` the conf.xml it ran with) with the recorded one;
// returns the lines that say how it went and counts the call.
std::string judgeReplayedCall(const Call& call, int result, const std::vector<Received>& received,
                              const std::vector<LogEntry>& entries, const std::string& given,
                              const Catalog& catalog, Tally& tally);

// "3 calls: 2 same, 1 differ, 0 not replayable".
std::string tallyLine(const Tally& tally, const Catalog& catalog);

// Why a file gives no call to replay (empty, a UTF-16 copy of a log, not a
// brisvane.log); empty when `calls` holds one.
std::string whyNoCalls(const std::string& logBytes, const std::vector<Call>& calls,
                       const Catalog& catalog);

// "the log holds 3 calls; there is no call 7" when --call names none of
// `calls` (0: all of them); else empty.
std::string whyNoSuchCall(const std::vector<Call>& calls, long long onlyCall,
                          const Catalog& catalog);

// The replay's exit status: kFound when a replayed call differs, kDone when at
// least one call was made again and all were the same, kBadInput when none was.
ExitStatus exitStatus(const Tally& tally);

// A conf.xml as the module reads it back in text mode: CR LF as LF.
std::string asReadInTextMode(const std::string& bytes);

}  // namespace replay
