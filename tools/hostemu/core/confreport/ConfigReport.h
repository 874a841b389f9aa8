#pragma once
// The config command's report: what the DLL will make of conf.xml and a check.
#include <string>

#include "cli/ExitStatus.h"

class CheckXml;
class Output;

// `configPath` names conf.xml; `reader` holds the check as the module's
// initCheckXml read it, `initResult` and `readerLog` its result and log lines
// (`initResult` < 0: the check could not be read at all). Prints the report;
// returns kDone without warnings, kFound with some.
ExitStatus configReport(const std::string& configPath, CheckXml& reader, int initResult,
                        const std::string& readerLog, Output& output);
