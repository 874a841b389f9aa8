// hostemu <folder> replay <brisvane.log> [--call N]: makes the calls of a
// till's log again through the folder's DLL, against a stand-in service that
// gives the recorded replies, and says per call whether it did the same.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "HostCall.h"
#include "ReplayMachine.h"
#include "cli/CommandLine.h"
#include "cli/ExitStatus.h"
#include "cli/Output.h"
#include "config/Config.h"
#include "files/FileBytes.h"
#include "replay/ReplayRun.h"

namespace {

const char kDefaultFirstAddress[] = "127.0.80.1";

ExitStatus run(const Invocation& invocation, Output& output) {
    replay::ReplayRequest request;
    request.logFile = invocation.words[0];
    request.onlyCall = invocation.value(kCallOption, 0);
    if (!readWholeFile(request.logFile, request.logBytes)) {
        output.complain(output.text(Msg::error_log_file, {{"file", request.logFile}}));
        return exitstatus::kBadInput;
    }
    request.folderHasConfig =
        readWholeFile(invocation.folder + "\\" + kConfigFileName, request.folderConfig);
    const char* first = std::getenv("HOSTEMU_REPLAY_ADDRESS");
    request.firstAddress = first && *first ? first : kDefaultFirstAddress;
    // Its full path before the scratch folder becomes the current directory.
    WindowsReplayHost host(dllPath(invocation), output.catalog());
    WindowsReplayService service(output.catalog());
    return replay::runReplay(request, host, service, output);
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kReplayCommand = [] {
    CommandSpec c;
    c.name = "replay";
    c.usage = Msg::usage_replay;
    c.description = Msg::help_replay;
    c.options = {kCallOption};
    c.arguments = 1;
    c.countError = Msg::count_replay;
    c.run = run;
    return c;
}();
