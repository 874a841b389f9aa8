#pragma once
// hostemu's commands, one file each; the table in CommandTable.cpp lists them.
#include "CommandLine.h"

extern const CommandSpec kInitCommand;
extern const CommandSpec kLookupCommand;
extern const CommandSpec kTransactionCommand;
extern const CommandSpec kConfigCommand;
extern const CommandSpec kCheckCommand;
extern const CommandSpec kReplayCommand;
extern const CommandSpec kSummaryCommand;
extern const CommandSpec kRedactCommand;

// The table main() runs.
const CommandTable& commandTable();
