// hostemu [--dll PATH] <folder> version: the DLL's version resource, read from
// its file, so that an installer can confirm an upgrade or a rollback.
#include "HostCall.h"
#include "cli/CommandLine.h"
#include "dllfile/VersionResource.h"

namespace {

ExitStatus run(const Invocation& invocation, Output& output) {
    return runVersion(dllPath(invocation), output);
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kVersionCommand = [] {
    CommandSpec c;
    c.name = "version";
    c.usage = Msg::usage_version;
    c.description = Msg::help_version;
    c.countError = Msg::count_version;
    c.run = run;
    return c;
}();
