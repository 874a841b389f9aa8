#include "Commands.h"

// One line per command, in the order the usage text shows them.
#define HOSTEMU_COMMANDS(COMMAND) \
    COMMAND(kInitCommand)         \
    COMMAND(kLookupCommand)       \
    COMMAND(kTransactionCommand)  \
    COMMAND(kVersionCommand)      \
    COMMAND(kConfigCommand)       \
    COMMAND(kCheckCommand)        \
    COMMAND(kReplayCommand)       \
    COMMAND(kSummaryCommand)      \
    COMMAND(kShowCommand)         \
    COMMAND(kRedactCommand)

#define HOSTEMU_DECLARE(command) extern const CommandSpec command;
#define HOSTEMU_ENTRY(command) &command,

HOSTEMU_COMMANDS(HOSTEMU_DECLARE)

namespace {

const char kExitStatus[] =
    "  Exit status: 0 done (config: no warnings; check: the service answered with\n"
    "  JSON; replay: every replayable call the same), 1 config warnings, a failed\n"
    "  check step, a replayed call that differs, or the DLL could not be loaded,\n"
    "  2 bad arguments, an unreadable check file or log, a log without a call\n"
    "  (summary) or a copy that would overwrite its log (redact), 3 the replay\n"
    "  could not run (no free address).\n";

}  // namespace

const CommandTable& commandTable() {
    static const CommandTable table = {{HOSTEMU_COMMANDS(HOSTEMU_ENTRY)}, kExitStatus};
    return table;
}
