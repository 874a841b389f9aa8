#pragma once
// The redact command's work over files; the command adds only what depends on
// the platform (whether two names are one file).
#include <string>

#include "cli/ExitStatus.h"

class Output;

// Whether two names are the same file; the platform knows.
using SameFile = bool (*)(const std::string& a, const std::string& b);

// Writes the redacted copy of `logFile` to `outFile` and says what it replaced.
// kDone; kBadInput when the log cannot be read, `outFile` is the log itself,
// or it cannot be written.
ExitStatus runRedact(const std::string& logFile, const std::string& outFile, SameFile sameFile,
                     Output& output);
