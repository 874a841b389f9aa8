#include "replay/ReplayRun.h"

#include "cli/ExitStatus.h"
#include "cli/Output.h"
#include "config/Config.h"
#include "encoding/Encodings.h"
#include "log/Logger.h"
#include "replay/ReplayVerdict.h"

namespace replay {

namespace {

// Makes one call again; false when the DLL lacks its export (nothing more can
// be replayed then).
bool replayCall(const Call& call, ReplayHost& host, ReplayService& service, Output& output,
                Tally& tally) {
    if (!call.notReplayable.empty()) {
        output.out(notReplayableLine(call, call.notReplayable, tally));
        return true;
    }
    std::string given, why;
    if (call.configPresent && !pointConfigAt(call.config(), service.address(), given, why)) {
        output.out(notReplayableLine(call, why, tally));
        return true;
    }
    const std::string confName = host.pathOf(kConfigFileName);
    // The till had no conf.xml where the log's Init copied an empty one.
    if (!call.configPresent) {
        host.removeFile(confName);
    } else if (!host.writeFile(confName, confFileBytes(given, call.configByteOrderMark))) {
        output.out(notReplayableLine(call, "cannot write " + confName, tally));
        return true;
    }
    if (call.waitSeconds > 0) {
        output.out(describe(call) + ": the DLL's own waits make this call take about " +
                   std::to_string(call.waitSeconds) + " s ...\n");
        output.flush();
    }

    const std::string logName = host.pathOf(kLogFileName);
    const long long offset = host.fileSize(logName);
    service.beginCall(call.attempts, logName, offset);
    const std::optional<int32_t> result = host.call(call);
    if (!result) {
        service.endCall();
        output.err("hostemu: the DLL lacks the export " + std::string(kindName(call.kind)) + "\n");
        return false;
    }
    const std::vector<Received> received = service.endCall();
    const std::vector<LogEntry> entries = splitEntries(host.readFrom(logName, offset));
    output.out(judgeReplayedCall(call, *result, received, entries, given, tally));
    output.flush();
    return true;
}

}  // namespace

int runReplay(const ReplayRequest& request, ReplayHost& host, ReplayService& service,
              Output& output) {
    const std::vector<Call> calls =
        splitCalls(request.logBytes, asReadInTextMode(utf16AsUtf8(request.folderConfig)),
                   request.folderHasConfig);
    const std::string noCalls = whyNoCalls(request.logBytes, calls);
    if (!noCalls.empty()) {
        output.err("hostemu: nothing to replay in " + request.logFile + ": " + noCalls + "\n");
        return exitstatus::kBadInput;
    }
    const std::string noSuchCall = whyNoSuchCall(calls, request.onlyCall);
    if (!noSuchCall.empty()) {
        output.err("hostemu: " + noSuchCall + "\n");
        return exitstatus::kBadInput;
    }
    std::string complaint;
    if (!host.prepare(complaint) || !service.start(request.firstAddress, complaint)) {
        output.err("hostemu: " + complaint + "\n");
        return exitstatus::kCannotRun;
    }
    const std::string proxy = service.proxyProblem();
    if (!proxy.empty()) {
        output.err("hostemu: " + proxy + "\n");
        return exitstatus::kCannotRun;
    }
    output.out("Replaying " + request.logFile + " (" + std::to_string(calls.size()) +
               (calls.size() == 1 ? " call) through " : " calls) through ") + host.dllPath() +
               "; the service's recorded replies come from http://" + service.address() + ":80\n");
    output.flush();
    Tally tally;
    for (const Call& call : calls) {
        if (request.onlyCall != 0 && call.number != request.onlyCall) continue;
        if (!replayCall(call, host, service, output, tally)) return exitstatus::kCannotRun;
    }
    output.out(tallyLine(tally));
    output.flush();
    return exitStatus(tally);
}

}  // namespace replay
