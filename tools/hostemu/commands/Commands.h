#pragma once
// hostemu's commands, one file each. A new command is a file of its own that
// fills in its CommandSpec (see cli/CommandLine.h) and one line in the table
// of CommandTable.cpp. Its platform-neutral work belongs in core/, where the
// native tests reach it.
#include "cli/CommandLine.h"

// The table main() runs.
const CommandTable& commandTable();
