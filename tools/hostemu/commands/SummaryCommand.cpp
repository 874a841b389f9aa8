// hostemu summary <brisvane.log>... [--json] [--html FILE]: the shape of a
// till's days from its log, for support.
#include "Commands.h"
#include "LogTools.h"

namespace {

int run(const Invocation& invocation, Output& output) {
    return runSummary(invocation.words, invocation.has("--json"), invocation.text("--html"),
                      output);
}

}  // namespace

const CommandSpec kSummaryCommand = {
    "summary",
    "summary <brisvane.log>... [--json] [--html FILE]",
    {{"--json", nullptr, nullptr},
     {"--html", "--html takes the name of the page to write", nullptr}},
    1,
    "summary takes one or more log files",
    nullptr,
    run,
    true,   // one or more logs
    false,  // no folder
};
