// hostemu summary <brisvane.log>... [--json] [--html FILE]: the shape of a
// till's days from its log, for support.
#include "cli/CommandLine.h"
#include "summary/SummaryRun.h"

namespace {

constexpr OptionSpec kJson = flagOption("--json");
constexpr OptionSpec kHtml = textOption("--html", "option.html-value");

ExitStatus run(const Invocation& invocation, Output& output) {
    return runSummary(invocation.words, invocation.has(kJson), invocation.text(kHtml), output);
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kSummaryCommand = [] {
    CommandSpec c;
    c.name = "summary";
    c.usage = "usage.summary";
    c.description = "help.summary";
    c.options = {kJson, kHtml};
    c.arguments = 1;
    c.moreArguments = true;
    c.countError = "count.summary";
    c.folder = false;
    c.run = run;
    return c;
}();
