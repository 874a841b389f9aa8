// hostemu <folder> replay <brisvane.log> [--call N]: makes the calls of a
// till's log again through the folder's DLL, against a stand-in service that
// gives the recorded replies, and says per call whether it did the same.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Commands.h"
#include "ConsoleOutput.h"
#include "ConsoleText.h"
#include "DllModule.h"
#include "Output.h"
#include "ReplayServer.h"
#include "ReplayVerdict.h"
#include "ScratchFolder.h"
#include "config/Config.h"

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

class Replay {
  public:
    Replay(const Module& dll, ReplayServer& server, const std::string& scratch, Output& output)
        : dll_(dll),
          server_(server),
          scratch_(scratch),
          logName_(scratch + "\\brisvane.log"),
          output_(output) {}

    void run(const replay::Call& call, replay::Tally& tally) {
        if (!call.notReplayable.empty()) {
            output_.out(replay::notReplayableLine(call, call.notReplayable, tally));
            return;
        }
        std::string given, why;
        if (call.configPresent &&
            !replay::pointConfigAt(call.config(), server_.address(), given, why)) {
            output_.out(replay::notReplayableLine(call, why, tally));
            return;
        }
        const std::string confName = scratch_ + "\\" + kConfigFileName;
        // The till had no conf.xml where the log's Init copied an empty one.
        if (!call.configPresent) {
            DeleteFileA(confName.c_str());
        } else if (!writeFile(confName, given)) {
            output_.out(replay::notReplayableLine(call, "cannot write " + confName, tally));
            return;
        }
        if (call.waitSeconds > 0) {
            output_.out(replay::describe(call) +
                        ": the module's own waits make this call take about " +
                        std::to_string(call.waitSeconds) + " s ...\n");
            output_.flush();
        }

        const long long offset = fileSize(logName_.c_str());
        server_.beginCall(call.attempts, logName_, offset);
        const std::optional<int32_t> result = callDll(call);
        if (!result) {
            server_.endCall();
            output_.out(replay::notReplayableLine(call, "the DLL lacks the export", tally));
            return;
        }
        const std::vector<replay::Received> received = server_.endCall();
        const std::vector<replay::LogEntry> entries =
            replay::splitEntries(readFrom(logName_, offset));
        output_.out(replay::judgeReplayedCall(call, *result, received, entries, given, tally));
        output_.flush();
    }

  private:
    std::optional<int32_t> callDll(const replay::Call& call) {
        switch (call.kind) {
            case replay::Call::Kind::Init: return dll_.callInit();
            case replay::Call::Kind::Lookup: {
                CardInfoRecord record = call.record;
                return dll_.callGetCardInfoEx(call.card, call.recordGiven ? &record : nullptr,
                                              call.input);
            }
            case replay::Call::Kind::Transaction: return dll_.callTransactionsEx(call.input);
            default: return std::nullopt;
        }
    }

    const Module& dll_;
    ReplayServer& server_;
    std::string scratch_;
    std::string logName_;
    Output& output_;
};

int run(const Invocation& invocation, Output& output) {
    const std::string& logFile = invocation.words[0];
    const long long onlyCall = invocation.value("--call", 0);
    std::string log;
    if (!readWholeFile(logFile, log)) {
        output.err("hostemu: cannot read log file " + logFile + "\n");
        return 2;
    }
    std::string folderConfig;
    const bool folderHasConfig =
        readWholeFile(invocation.folder + "\\" + kConfigFileName, folderConfig);
    const std::vector<replay::Call> calls =
        replay::splitCalls(log, replay::asReadInTextMode(folderConfig), folderHasConfig);
    if (onlyCall > static_cast<long long>(calls.size())) {
        output.err("hostemu: the log holds " + std::to_string(calls.size()) +
                   " calls; there is no call " + std::to_string(onlyCall) + "\n");
        return 2;
    }

    const std::string dllPath = fullPath(invocation.folder + "\\brisvane.dll");
    ScratchFolder scratch;  // the current folder until the replay has ended
    if (!scratch.ready()) {
        output.err("hostemu: cannot make a scratch folder under %TEMP%\n");
        return 3;
    }
    ReplayServer server;
    std::string error;
    const char* first = std::getenv("HOSTEMU_REPLAY_ADDRESS");
    if (!server.start(first && *first ? first : kDefaultFirstAddress, error)) {
        output.err("hostemu: " + error + "\n");
        return 3;
    }
    replay::Tally tally;
    {
        Module dll(dllPath);
        if (!dll.loaded()) {
            output.err("hostemu: cannot load " + dllPath + " (error " +
                       std::to_string(GetLastError()) + ")\n");
            return 1;
        }
        output.out("Replaying " + logFile + " (" + std::to_string(calls.size()) +
                   (calls.size() == 1 ? " call) through " : " calls) through ") + dllPath +
                   "; the service's recorded replies come from http://" + server.address() +
                   ":80\n");
        output.flush();
        Replay replay(dll, server, scratch.path(), output);
        for (const replay::Call& call : calls) {
            if (onlyCall == 0 || call.number == onlyCall) replay.run(call, tally);
        }
    }
    output.out(replay::tallyLine(tally));
    output.flush();
    return tally.differ > 0 ? 1 : 0;
}

}  // namespace

const CommandSpec kReplayCommand = {
    "replay",
    "<folder> replay <brisvane.log> [--call N]",
    {{"--call", "--call takes a call number (1, 2, ...)", parseCallNumber,
      "--call goes with replay"}},
    1,
    "replay takes one log file",
    nullptr,
    run,
};
