#include "ReplayCommand.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Console.h"
#include "DllModule.h"
#include "ReplayLog.h"
#include "ReplayServer.h"
#include "Report.h"
#include "ScratchFolder.h"

namespace {

const char kDefaultFirstAddress[] = "127.0.80.1";

bool writeFile(const std::string& name, const std::string& bytes) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::string fullPath(const std::string& name) {
    char full[MAX_PATH + 1];
    const DWORD n = GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
    return n > 0 && n <= MAX_PATH ? std::string(full) : name;
}

// The replay's log from `offset` on (from the start if it was cleared meanwhile).
std::string readFrom(const std::string& name, long long offset) {
    std::string text;
    readWholeFile(name, text);
    if (offset < 0 || offset > static_cast<long long>(text.size())) offset = 0;
    return text.substr(static_cast<std::size_t>(offset));
}

std::string describe(const replay::Call& call) {
    std::string s = "call " + std::to_string(call.number) + "  " + replay::kindName(call.kind);
    if (call.kind == replay::Call::Kind::Lookup && call.cardFromLog)
        s += "(" + std::to_string(static_cast<long long>(call.card)) + ")";
    return s;
}

struct Tally {
    int same = 0, probeOnly = 0, differ = 0, notReplayable = 0;
};

class Replay {
  public:
    Replay(const Module& dll, ReplayServer& server, const std::string& scratch)
        : dll_(dll), server_(server), scratch_(scratch), logName_(scratch + "\\brisvane.log") {}

    void run(const replay::Call& call, Tally& tally) {
        const std::string head = describe(call);
        if (!call.notReplayable.empty()) {
            writeOut(head + ": not replayable: " + call.notReplayable + "\n");
            ++tally.notReplayable;
            return;
        }
        std::string given, why;
        if (call.configPresent &&
            !replay::pointConfigAt(call.config(), server_.address(), given, why)) {
            writeOut(head + ": not replayable: " + why + "\n");
            ++tally.notReplayable;
            return;
        }
        const std::string confName = scratch_ + "\\conf.xml";
        // The till had no conf.xml where the log's Init copied an empty one.
        if (!call.configPresent) {
            DeleteFileA(confName.c_str());
        } else if (!writeFile(confName, given)) {
            writeOut(head + ": not replayable: cannot write " + confName + "\n");
            ++tally.notReplayable;
            return;
        }
        if (call.waitSeconds > 0) {
            writeOut(head + ": the module's own waits make this call take about " +
                     std::to_string(call.waitSeconds) + " s ...\n");
            std::fflush(stdout);
        }

        const long long offset = fileSize(logName_.c_str());
        server_.beginCall(call.attempts, logName_, offset);
        int result = 0;
        if (!callDll(call, result)) {
            server_.endCall();
            writeOut(head + ": not replayable: the DLL lacks the export\n");
            ++tally.notReplayable;
            return;
        }
        const std::vector<replay::Received> received = server_.endCall();
        const std::vector<replay::LogEntry> entries =
            replay::splitEntries(readFrom(logName_, offset));

        const replay::EntryComparison log =
            replay::compareEntries(call.entries, entries, given, call.config());
        const bool probeOnly = log.verdict == replay::EntryComparison::Verdict::ProbeOnly;
        // Past a probe that went the other way the requests part ways too.
        std::vector<replay::Received> compared = received;
        std::vector<replay::Attempt> recorded = call.attempts;
        if (probeOnly) {
            std::size_t reached = 0;
            for (const replay::Attempt& a : recorded) reached += a.reachesService() ? 1 : 0;
            const std::size_t n = std::min(reached, compared.size());
            compared.resize(n);
            std::vector<replay::Attempt> kept;
            std::size_t keptReached = 0;
            for (const replay::Attempt& a : recorded) {
                if (a.reachesService() && keptReached++ >= n) continue;
                kept.push_back(a);
            }
            recorded = kept;
        }
        const std::string requests = replay::compareRequests(recorded, compared);

        std::string line = head + "  result " + std::to_string(result);
        std::vector<std::string> details;
        if (result != call.result && !probeOnly)
            details.push_back("result " + std::to_string(result) + ", recorded " +
                              std::to_string(call.result));
        if (!requests.empty()) details.push_back(requests);
        if (log.verdict == replay::EntryComparison::Verdict::Differs) {
            details.push_back("log entry " + std::to_string(log.index + 1) +
                              " of the call differs:");
            details.push_back("  recorded " + quoted(forConsole(log.recorded)));
            details.push_back("  replayed " + quoted(forConsole(log.replayed)));
        }
        if (details.empty() && probeOnly) {
            writeOut(line +
                     ": same up to the connectivity probe, which went the other way on this"
                     " machine (not counted as a difference)\n");
            writeOut("    recorded " + quoted(forConsole(log.recorded)) + "\n    replayed " +
                     quoted(forConsole(log.replayed)) + "\n");
            ++tally.probeOnly;
        } else if (details.empty()) {
            writeOut(line + ": same\n");
            ++tally.same;
        } else {
            writeOut(line + ": DIFFERS: " + details.front() + "\n");
            for (std::size_t i = 1; i < details.size(); ++i) writeOut("    " + details[i] + "\n");
            ++tally.differ;
        }
        std::fflush(stdout);
    }

  private:
    bool callDll(const replay::Call& call, int& result) {
        // The host passes the check with its terminating zero byte.
        const uint32_t length = static_cast<uint32_t>(call.input.size() + 1);
        switch (call.kind) {
            case replay::Call::Kind::Init: {
                auto init = dll_.proc<InitFn>("Init");
                if (!init) return false;
                result = init();
                return true;
            }
            case replay::Call::Kind::Lookup: {
                auto lookup = dll_.proc<GetCardInfoExFn>("GetCardInfoEx");
                if (!lookup) return false;
                CardInfoRecord record = call.record;
                result = lookup(call.card, 0, 0, call.recordGiven ? &record : nullptr,
                                call.input.c_str(), length, 0, nullptr, 0, 0);
                return true;
            }
            case replay::Call::Kind::Transaction: {
                auto post = dll_.proc<TransactionsExFn>("TransactionsEx");
                if (!post) return false;
                result = post(0, 0, call.input.c_str(), length, 0, nullptr, 0, 0);
                return true;
            }
            default: return false;
        }
    }

    const Module& dll_;
    ReplayServer& server_;
    std::string scratch_;
    std::string logName_;
};

}  // namespace

int runReplay(const Args& args) {
    std::string log;
    if (!readWholeFile(args.logFile, log)) {
        std::fprintf(stderr, "hostemu: cannot read log file %s\n", args.logFile.c_str());
        return 2;
    }
    std::string folderConfig;
    const bool folderHasConfig = readWholeFile(args.folder + "\\conf.xml", folderConfig);
    // Read back in text mode by the module: its line ends are LF.
    std::string lf;
    for (std::size_t i = 0; i < folderConfig.size(); ++i)
        if (!(folderConfig[i] == '\r' && i + 1 < folderConfig.size() &&
              folderConfig[i + 1] == '\n'))
            lf += folderConfig[i];
    const std::vector<replay::Call> calls = replay::splitCalls(log, lf, folderHasConfig);
    if (args.call > static_cast<int>(calls.size())) {
        std::fprintf(stderr, "hostemu: the log holds %zu calls; there is no call %d\n",
                     calls.size(), args.call);
        return 2;
    }

    const std::string dllPath = fullPath(args.folder + "\\brisvane.dll");
    ScratchFolder scratch;  // the current folder until the replay has ended
    if (!scratch.ready()) {
        std::fprintf(stderr, "hostemu: cannot make a scratch folder under %%TEMP%%\n");
        return 3;
    }
    ReplayServer server;
    std::string error;
    const char* first = std::getenv("HOSTEMU_REPLAY_ADDRESS");
    if (!server.start(first && *first ? first : kDefaultFirstAddress, error)) {
        std::fprintf(stderr, "hostemu: %s\n", error.c_str());
        return 3;
    }
    Tally tally;
    {
        Module dll(dllPath);
        if (!dll.loaded()) {
            std::fprintf(stderr, "hostemu: cannot load %s (error %lu)\n", dllPath.c_str(),
                         GetLastError());
            return 1;
        }
        writeOut("Replaying " + args.logFile + " (" + std::to_string(calls.size()) +
                 (calls.size() == 1 ? " call) through " : " calls) through ") + dllPath +
                 "; the service's recorded replies come from http://" + server.address() + ":80\n");
        std::fflush(stdout);
        Replay replay(dll, server, scratch.path());
        for (const replay::Call& call : calls) {
            if (args.call == 0 || call.number == args.call) replay.run(call, tally);
        }
    }
    const int replayed = tally.same + tally.probeOnly + tally.differ + tally.notReplayable;
    std::string summary = std::to_string(replayed) + (replayed == 1 ? " call: " : " calls: ") +
                          std::to_string(tally.same) + " same, " + std::to_string(tally.differ) +
                          " differ, " + std::to_string(tally.notReplayable) + " not replayable";
    if (tally.probeOnly > 0)
        summary += ", " + std::to_string(tally.probeOnly) + " same but for the connectivity probe";
    writeOut(summary + "\n");
    std::fflush(stdout);
    return tally.differ > 0 ? 1 : 0;
}
