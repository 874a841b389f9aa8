// hostemu show <brisvane.log> [--call N]: the entries of the calls already in
// a till's log, readable on the console, for support.
#include "cli/CommandLine.h"
#include "show/LogShow.h"

namespace {

int run(const Invocation& invocation, Output& output) {
    return runShow(invocation.words[0], invocation.value("--call", 0), output);
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kShowCommand = [] {
    CommandSpec c;
    c.name = "show";
    c.usage = "show <brisvane.log> [--call N]";
    c.description =
        "  show prints the entries of the calls in a log (--call N: only call N), each\n"
        "  headed by its export, time, result and cause, in the console's encoding.\n";
    c.options = {numberOption("--call", "--call takes a call number (1, 2, ...)", parseCallNumber)};
    c.arguments = 1;
    c.countError = "show takes one log file";
    c.folder = false;
    c.run = run;
    return c;
}();
