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
    const Catalog& catalog = output.catalog();
    if (!call.notReplayable.empty()) {
        output.out(notReplayableLine(call, sayReason(catalog, call.notReplayable), catalog, tally));
        return true;
    }
    std::string given;
    Reason why;
    if (call.configPresent && !pointConfigAt(call.config(), service.address(), given, why)) {
        output.out(notReplayableLine(call, sayReason(catalog, why), catalog, tally));
        return true;
    }
    const std::string confName = host.pathOf(kConfigFileName);
    // The till had no conf.xml where the log's Init copied an empty one.
    if (!call.configPresent) {
        host.removeFile(confName);
    } else if (!host.writeFile(confName, confFileBytes(given, call.configByteOrderMark))) {
        output.out(notReplayableLine(
            call, output.text(Msg::replay_cannot_write, {{"file", confName}}), catalog, tally));
        return true;
    }
    if (call.waitSeconds > 0) {
        output.out(output.text(Msg::replay_waits, {{"call", describe(call, catalog)},
                                                   {"seconds", std::to_string(call.waitSeconds)}}));
        output.flush();
    }

    const std::string logName = host.pathOf(kLogFileName);
    const long long offset = host.fileSize(logName);
    service.beginCall(call.attempts, logName, offset);
    const std::optional<int32_t> result = host.call(call);
    if (!result) {
        service.endCall();
        output.complain(output.text(Msg::replay_no_export,
                                    {{"path", host.dllPath()}, {"name", kindName(call.kind)}}));
        return false;
    }
    const std::vector<Received> received = service.endCall();
    const std::vector<LogEntry> entries = splitEntries(host.readFrom(logName, offset));
    output.out(judgeReplayedCall(call, *result, received, entries, given, catalog, tally));
    output.flush();
    return true;
}

}  // namespace

ExitStatus runReplay(const ReplayRequest& request, ReplayHost& host, ReplayService& service,
                     Output& output) {
    const std::vector<Call> calls =
        splitCalls(request.logBytes, asReadInTextMode(utf16AsUtf8(request.folderConfig)),
                   request.folderHasConfig);
    const Catalog& catalog = output.catalog();
    const std::string noCalls = whyNoCalls(request.logBytes, calls, catalog);
    if (!noCalls.empty()) {
        output.complain(output.text(Msg::replay_nothing_to_replay,
                                    {{"file", request.logFile}, {"why", noCalls}}));
        return exitstatus::kBadInput;
    }
    const std::string noSuchCall = whyNoSuchCall(calls, request.onlyCall, catalog);
    if (!noSuchCall.empty()) {
        output.complain(noSuchCall);
        return exitstatus::kBadInput;
    }
    std::string complaint;
    if (!host.prepare(complaint) || !service.start(request.firstAddress, complaint)) {
        output.complain(complaint);
        return exitstatus::kCannotRun;
    }
    const std::string proxy = service.proxyProblem();
    if (!proxy.empty()) {
        output.complain(proxy);
        return exitstatus::kCannotRun;
    }
    output.out(output.plural(PluralMsg::replay_replaying, calls.size(),
                             {{"file", request.logFile},
                              {"count", std::to_string(calls.size())},
                              {"dll", host.dllPath()},
                              {"address", service.address()}}));
    output.flush();
    Tally tally;
    for (const Call& call : calls) {
        if (request.onlyCall != 0 && call.number != request.onlyCall) continue;
        if (!replayCall(call, host, service, output, tally)) return exitstatus::kCannotRun;
    }
    output.out(tallyLine(tally, catalog));
    output.flush();
    return exitStatus(tally);
}

}  // namespace replay
