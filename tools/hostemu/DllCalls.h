#pragma once
#include "Args.h"

// Enters args.folder, loads brisvane.dll from it as a host does and runs the
// init, lookup or transaction command; prints the outcome. Returns the
// process exit status (0 when the export was called, whatever it returned).
int runDllCommand(const Args& args, const std::string& check);
