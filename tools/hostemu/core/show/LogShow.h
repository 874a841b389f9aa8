#pragma once
// hostemu show: the entries of the calls already in a till's log, readable on
// a console, each call headed by what it was and how it ended. Platform-neutral.
#include <string>

#include "cli/ExitStatus.h"
#include "i18n/Messages.h"

namespace replay {
struct Call;
}

class Output;

// One call: its heading (number, export, time, result, cause) and its
// entries as UTF-8, the heading in the catalog's language. `logBytes` is the
// log the call was read from.
std::string showCall(const std::string& logBytes, const replay::Call& call, const Catalog& catalog);

// Every call of `logFile`, or only call `onlyCall` (0: all). kDone; kBadInput
// when the log cannot be read, holds no entry of a brisvane.log, or has no
// such call.
ExitStatus runShow(const std::string& logFile, long long onlyCall, Output& output);
