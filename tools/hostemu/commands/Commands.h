#pragma once
// hostemu's commands, one file each; the table in CommandTable.cpp lists them.
// A new command is a file of its own that defines its CommandSpec (name, usage
// line, options, argument count, run function writing to an Output), its
// declaration below, and one line in the table. Its platform-neutral work
// belongs in core/, where the native tests reach it.
#include "CommandLine.h"

extern const CommandSpec kInitCommand;
extern const CommandSpec kLookupCommand;
extern const CommandSpec kTransactionCommand;
extern const CommandSpec kConfigCommand;
extern const CommandSpec kCheckCommand;
extern const CommandSpec kReplayCommand;
extern const CommandSpec kSummaryCommand;
extern const CommandSpec kRedactCommand;
extern const CommandSpec kVersionCommand;
extern const CommandSpec kShowCommand;

// The table main() runs.
const CommandTable& commandTable();
