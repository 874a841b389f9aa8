// hostemu show <brisvane.log> [--call N]: the entries of the calls already in
// a till's log, readable on the console, for support.
#include "Commands.h"
#include "LogShow.h"

namespace {

int run(const Invocation& invocation, Output& output) {
    return runShow(invocation.words[0], invocation.value("--call", 0), output);
}

}  // namespace

const CommandSpec kShowCommand = {
    "show",
    "show <brisvane.log> [--call N]",
    {{"--call", "--call takes a call number (1, 2, ...)", parseCallNumber}},
    1,
    "show takes one log file",
    nullptr,
    run,
    false,
    false,  // no folder
};
