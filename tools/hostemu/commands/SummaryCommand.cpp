// hostemu summary <brisvane.log>... [--json] [--html FILE]: the shape of a
// till's days from its log, for support.
#include "cli/CommandLine.h"
#include "summary/SummaryRun.h"

namespace {

constexpr OptionSpec kJson = flagOption("--json");
constexpr OptionSpec kHtml = textOption("--html", Msg::option_html_value);

ExitStatus run(const Invocation& invocation, Output& output) {
    return runSummary(invocation.words, invocation.has(kJson), invocation.text(kHtml), output);
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kSummaryCommand = [] {
    CommandSpec c;
    c.name = "summary";
    c.usage = Msg::usage_summary;
    c.description = Msg::help_summary;
    c.options = {kJson, kHtml};
    c.arguments = 1;
    c.moreArguments = true;
    c.countError = Msg::count_summary;
    c.folder = false;
    c.run = run;
    return c;
}();
