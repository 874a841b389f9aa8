#pragma once
#include <string>

#include "Args.h"

// The config command: reads <folder>\conf.xml and the check the way the DLL
// does and prints what it will use. Returns 0 without warnings, 1 with some.
int runConfigReport(const Args& args, const std::string& check);
