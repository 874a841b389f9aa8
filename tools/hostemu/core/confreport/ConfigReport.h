#pragma once
// The config command's report: what the DLL will make of conf.xml and a check.
#include <optional>
#include <string>

#include "check/CheckXml.h"
#include "cli/ExitStatus.h"
#include "confreport/CheckRefusals.h"

class Output;

// `configPath` names conf.xml; `reader` holds the check as the module's
// initCheckXml read it, `initResult` and `readerLog` its result and log lines
// (none: the check could not be read at all); `refusals` what a call with the
// check would end with before sending (CheckRefusals.h), each a warning.
// Prints the report; returns kDone without warnings, kFound with some.
ExitStatus configReport(const std::string& configPath, CheckXml& reader,
                        std::optional<CheckInit> initResult, const std::string& readerLog,
                        Output& output, const std::vector<CheckRefusal>& refusals = {});
