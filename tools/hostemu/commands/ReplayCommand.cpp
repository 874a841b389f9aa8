// hostemu <folder> replay <brisvane.log> [--call N]: makes the calls of a
// till's log again through the folder's DLL, against a stand-in service that
// gives the recorded replies, and says per call whether it did the same.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "DllModule.h"
#include "FileSize.h"
#include "NetProbes.h"
#include "ReplayServer.h"
#include "ScratchFolder.h"
#include "cli/CommandLine.h"
#include "cli/ExitStatus.h"
#include "cli/Output.h"
#include "config/Config.h"
#include "encoding/Encodings.h"
#include "files/FileBytes.h"
#include "replay/ReplayVerdict.h"

namespace {

const char kDefaultFirstAddress[] = "127.0.80.1";
constexpr uint32_t kProbeTimeoutMs = 5000;

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

    // False when the DLL lacks the call's export: nothing can be replayed then.
    bool run(const replay::Call& call, replay::Tally& tally) {
        if (!call.notReplayable.empty()) {
            output_.out(replay::notReplayableLine(call, call.notReplayable, tally));
            return true;
        }
        std::string given, why;
        if (call.configPresent &&
            !replay::pointConfigAt(call.config(), server_.address(), given, why)) {
            output_.out(replay::notReplayableLine(call, why, tally));
            return true;
        }
        const std::string confName = scratch_ + "\\" + kConfigFileName;
        // The till had no conf.xml where the log's Init copied an empty one.
        if (!call.configPresent) {
            DeleteFileA(confName.c_str());
        } else if (!writeWholeFile(confName,
                                   replay::confFileBytes(given, call.configByteOrderMark))) {
            output_.out(replay::notReplayableLine(call, "cannot write " + confName, tally));
            return true;
        }
        if (call.waitSeconds > 0) {
            output_.out(replay::describe(call) +
                        ": the DLL's own waits make this call take about " +
                        std::to_string(call.waitSeconds) + " s ...\n");
            output_.flush();
        }

        const long long offset = fileSize(logName_.c_str());
        server_.beginCall(call.attempts, logName_, offset);
        const std::optional<int32_t> result = callDll(call);
        if (!result) {
            server_.endCall();
            output_.err("hostemu: the DLL lacks the export " +
                        std::string(replay::kindName(call.kind)) + "\n");
            return false;
        }
        const std::vector<replay::Received> received = server_.endCall();
        const std::vector<replay::LogEntry> entries =
            replay::splitEntries(readFrom(logName_, offset));
        output_.out(replay::judgeReplayedCall(call, *result, received, entries, given, tally));
        output_.flush();
        return true;
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

// The bypass entry that keeps the replay's requests off a proxy.
std::string bypassEntry(const std::string& address) {
    return address.substr(0, address.rfind('.')) + ".*";
}

// Whether the DLL's requests will reach the replay's server: WinInet, opened
// as the DLL opens it, may send them to the proxy of this account's Internet
// Options. The settings are left alone; the replay stops with the bypass entry
// to add. First the manual proxy and its bypass list as WinInet reads them,
// then one request as the DLL would send it, which the server must receive
// (a proxy chosen by automatic configuration shows only there). Empty when
// the requests go directly.
std::string proxyProblem(ReplayServer& server) {
    const std::string& address = server.address();
    const std::string fix = "; add " + bypassEntry(address) +
                            " to the proxy's exceptions (Internet Options, Connections, LAN "
                            "settings, Advanced) and run the replay again";
    const std::string via = proxyFor(readProxySetting(), address, false);
    if (!via.empty())
        return "this account's Internet Options send http://" + address + "/ through the proxy " +
               via + ", so the replay's requests would not reach its own server" + fix;
    const std::string probe = "hostemu-direct-" + std::to_string(GetCurrentProcessId());
    server.beginCall({}, std::string(), 0);
    sendPlainHttp(address, "/" + probe, kProbeTimeoutMs);
    const std::vector<replay::Received> received = server.endCall();
    for (const replay::Received& r : received)
        if (r.path == probe) return std::string();
    return "a request to http://" + address +
           "/ sent as the DLL sends it did not reach the "
           "replay's own server: a proxy (perhaps one chosen by automatic configuration) is in "
           "the way" +
           fix;
}

int run(const Invocation& invocation, Output& output) {
    const std::string& logFile = invocation.words[0];
    const long long onlyCall = invocation.value("--call", 0);
    std::string log;
    if (!readWholeFile(logFile, log)) {
        output.err("hostemu: cannot read log file " + logFile + "\n");
        return exitstatus::kBadInput;
    }
    std::string folderConfig;
    const bool folderHasConfig =
        readWholeFile(invocation.folder + "\\" + kConfigFileName, folderConfig);
    const std::vector<replay::Call> calls = replay::splitCalls(
        log, replay::asReadInTextMode(utf16AsUtf8(folderConfig)), folderHasConfig);
    const std::string noCalls = replay::whyNoCalls(log, calls);
    if (!noCalls.empty()) {
        output.err("hostemu: nothing to replay in " + logFile + ": " + noCalls + "\n");
        return exitstatus::kBadInput;
    }
    if (onlyCall > static_cast<long long>(calls.size())) {
        output.err("hostemu: the log holds " + std::to_string(calls.size()) +
                   (calls.size() == 1 ? " call" : " calls") + "; there is no call " +
                   std::to_string(onlyCall) + "\n");
        return exitstatus::kBadInput;
    }

    const std::string dllPath = fullPath(invocation.folder + "\\brisvane.dll");
    ScratchFolder scratch;  // the current folder until the replay has ended
    if (!scratch.ready()) {
        output.err("hostemu: cannot make a scratch folder under %TEMP%\n");
        return exitstatus::kCannotRun;
    }
    Module dll(dllPath);
    if (!dll.loaded()) {
        const DWORD error = GetLastError();
        output.err("hostemu: cannot load " + dllPath + " (error " + std::to_string(error) +
                   "): nothing can be replayed\n");
        return exitstatus::kCannotRun;
    }
    ReplayServer server;
    std::string error;
    const char* first = std::getenv("HOSTEMU_REPLAY_ADDRESS");
    if (!server.start(first && *first ? first : kDefaultFirstAddress, error)) {
        output.err("hostemu: " + error + "\n");
        return exitstatus::kCannotRun;
    }
    const std::string proxy = proxyProblem(server);
    if (!proxy.empty()) {
        output.err("hostemu: " + proxy + "\n");
        return exitstatus::kCannotRun;
    }
    output.out("Replaying " + logFile + " (" + std::to_string(calls.size()) +
               (calls.size() == 1 ? " call) through " : " calls) through ") + dllPath +
               "; the service's recorded replies come from http://" + server.address() + ":80\n");
    output.flush();
    replay::Tally tally;
    Replay replay(dll, server, scratch.path(), output);
    for (const replay::Call& call : calls) {
        if (onlyCall != 0 && call.number != onlyCall) continue;
        if (!replay.run(call, tally)) return exitstatus::kCannotRun;
    }
    output.out(replay::tallyLine(tally));
    output.flush();
    return replay::exitStatus(tally);
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kReplayCommand = [] {
    CommandSpec c;
    c.name = "replay";
    c.usage = "<folder> replay <brisvane.log> [--call N]";
    c.description =
        "  replay makes the calls of a till's brisvane.log again through <folder>'s DLL,\n"
        "  in a scratch folder, against a stand-in service on port 80 of a free loopback\n"
        "  address (HOSTEMU_REPLAY_ADDRESS: the first one to try) that gives the recorded\n"
        "  replies, and says per call whether result, requests and log entries are the\n"
        "  same (--call N: only call N as numbered in its output).\n";
    c.options = {misplacedAs(
        numberOption("--call", "--call takes a call number (1, 2, ...)", parseCallNumber),
        "--call goes with replay")};
    c.arguments = 1;
    c.countError = "replay takes one log file";
    c.run = run;
    return c;
}();
