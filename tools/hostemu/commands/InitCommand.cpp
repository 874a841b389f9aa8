// hostemu [--brief] <folder> init: calls Init as a host does at start-up.
#include "HostCall.h"
#include "cli/CommandLine.h"
#include "cli/Output.h"
#include "host/DllModule.h"

namespace {

ExitStatus run(const Invocation& invocation, Output& output) {
    return runHostCall(invocation, output, [](const DllModule& dll, Output& out) {
        const std::optional<int32_t> result = dll.callInit();
        if (!result) return missingExport(dll, kInitExport, out);
        out.out(out.text(Msg::call_init_returned, {{"result", std::to_string(*result)}}));
        return true;
    });
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kInitCommand = [] {
    CommandSpec c;
    c.name = "init";
    c.usage = Msg::usage_init;
    c.description = Msg::help_hostcall;
    c.countError = Msg::count_init;
    c.run = run;
    return c;
}();
