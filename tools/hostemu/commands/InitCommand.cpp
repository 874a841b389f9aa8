// hostemu [--brief] <folder> init: calls Init as a host does at start-up.
#include "DllModule.h"
#include "HostCall.h"
#include "cli/CommandLine.h"
#include "cli/Output.h"

namespace {

int run(const Invocation& invocation, Output& output) {
    return runHostCall(invocation, output, [](const Module& dll, Output& out) {
        const std::optional<int32_t> result = dll.callInit();
        if (!result) return missingExport(dll, kInitExport, out);
        out.out(out.text("call.init-returned", {{"result", std::to_string(*result)}}));
        return true;
    });
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kInitCommand = [] {
    CommandSpec c;
    c.name = "init";
    c.usage = "usage.init";
    c.description = "help.hostcall";
    c.countError = "count.init";
    c.run = run;
    return c;
}();
