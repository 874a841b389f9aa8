// hostemu [--dll PATH] <folder> version: the DLL's version resource, read from
// its file, so that an installer can confirm an upgrade or a rollback.
#include "Commands.h"
#include "HostCall.h"
#include "VersionResource.h"

namespace {

int run(const Invocation& invocation, Output& output) {
    return runVersion(dllPath(invocation), output);
}

}  // namespace

const CommandSpec kVersionCommand = {
    "version", "[--dll PATH] <folder> version",      {},
    0,         "version takes no further arguments", nullptr,
    run,
};
