// hostemu [--brief] <folder> init: calls Init as a host does at start-up.
#include "Commands.h"
#include "DllModule.h"
#include "HostCall.h"
#include "Output.h"

namespace {

int run(const Invocation& invocation, Output& output) {
    return runHostCall(invocation, output, [](const Module& dll, Output& out) {
        const std::optional<int32_t> result = dll.callInit();
        if (!result) return missingExport("Init", out);
        out.out("Init returned " + std::to_string(*result) + "\n");
        return true;
    });
}

}  // namespace

const CommandSpec kInitCommand = {
    "init", "[--brief] <folder> init", {}, 0, "init takes no further arguments", nullptr, run,
};
