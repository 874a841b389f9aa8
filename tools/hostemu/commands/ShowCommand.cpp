// hostemu show <brisvane.log> [--call N]: the entries of the calls already in
// a till's log, readable on the console, for support.
#include "cli/CommandLine.h"
#include "show/LogShow.h"

namespace {

ExitStatus run(const Invocation& invocation, Output& output) {
    return runShow(invocation.words[0], invocation.value(kCallOption, 0), output);
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kShowCommand = [] {
    CommandSpec c;
    c.name = "show";
    c.usage = Msg::usage_show;
    c.description = Msg::help_show;
    c.options = {kCallOption};
    c.arguments = 1;
    c.countError = Msg::count_show;
    c.folder = false;
    c.run = run;
    return c;
}();
