// hostemu summary <brisvane.log>... [--json] [--html FILE]: the shape of a
// till's days from its log, for support.
#include "cli/CommandLine.h"
#include "summary/SummaryRun.h"

namespace {

int run(const Invocation& invocation, Output& output) {
    return runSummary(invocation.words, invocation.has("--json"), invocation.text("--html"),
                      output);
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kSummaryCommand = [] {
    CommandSpec c;
    c.name = "summary";
    c.usage = "summary <brisvane.log>... [--json] [--html FILE]";
    c.description =
        "  summary reads tills' logs (no folder) and gives, per log and in total, the\n"
        "  period, the calls and their results, the failures by cause, the longest\n"
        "  calls, restarts and versions, and the outages (--json: as one JSON object;\n"
        "  --html FILE: also a page with a timeline per day).\n";
    c.options = {flagOption("--json"),
                 textOption("--html", "--html takes the name of the page to write")};
    c.arguments = 1;
    c.moreArguments = true;
    c.countError = "summary takes one or more log files";
    c.folder = false;
    c.run = run;
    return c;
}();
