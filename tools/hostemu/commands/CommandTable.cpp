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

const CommandTable& commandTable() {
    static const CommandTable table = {{HOSTEMU_COMMANDS(HOSTEMU_ENTRY)}, "help.closing", true};
    return table;
}
