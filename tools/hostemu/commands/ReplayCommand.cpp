// hostemu <folder> replay <brisvane.log> [--call N]: makes the calls of a
// till's log again through the folder's DLL, against a stand-in service that
// gives the recorded replies, and says per call whether it did the same.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "HostCall.h"
#include "ReplayMachine.h"
#include "cli/CommandLine.h"
#include "cli/Output.h"
#include "config/Config.h"
#include "files/FileBytes.h"
#include "replay/ReplayRun.h"

namespace {

const char kDefaultFirstAddress[] = "127.0.80.1";

int run(const Invocation& invocation, Output& output) {
    replay::ReplayRequest request;
    request.logFile = invocation.words[0];
    request.onlyCall = invocation.value("--call", 0);
    if (!readWholeFile(request.logFile, request.logBytes)) {
        output.err("hostemu: cannot read log file " + request.logFile + "\n");
        return 2;
    }
    request.folderHasConfig =
        readWholeFile(invocation.folder + "\\" + kConfigFileName, request.folderConfig);
    const char* first = std::getenv("HOSTEMU_REPLAY_ADDRESS");
    request.firstAddress = first && *first ? first : kDefaultFirstAddress;
    // Its full path before the scratch folder becomes the current directory.
    WindowsReplayHost host(dllPath(invocation));
    WindowsReplayService service;
    return replay::runReplay(request, host, service, output);
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
    c.options = {numberOption("--call", "--call takes a call number (1, 2, ...)", parseCallNumber)};
    c.arguments = 1;
    c.countError = "replay takes one log file";
    c.run = run;
    return c;
}();
