// hostemu [--dll PATH] <folder> version: the DLL's version resource, read from
// its file, so that an installer can confirm an upgrade or a rollback.
#include "HostCall.h"
#include "cli/CommandLine.h"
#include "dllfile/VersionResource.h"

namespace {

int run(const Invocation& invocation, Output& output) {
    return runVersion(dllPath(invocation), output);
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kVersionCommand = [] {
    CommandSpec c;
    c.name = "version";
    c.usage = "[--dll PATH] <folder> version";
    c.description =
        "  version prints the DLL's version resource without loading it: its product\n"
        "  version names the commit it was built from (exit status 1: the file cannot be\n"
        "  read or has no version resource).\n";
    c.countError = "version takes no further arguments";
    c.run = run;
    return c;
}();
