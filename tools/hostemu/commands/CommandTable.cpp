#include <windows.h>

#include "Commands.h"
#include "cli/ExitStatus.h"

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

bool folderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

const CommandTable& commandTable() {
    // After the --lang paragraph, the exit statuses in the words of docs/hostemu.md.
    static const CommandTable table = {
        {HOSTEMU_COMMANDS(HOSTEMU_ENTRY)}, Msg::help_closing, exitStatusParagraph, folderExists};
    return table;
}
