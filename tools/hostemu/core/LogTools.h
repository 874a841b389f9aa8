#pragma once
// The work of hostemu's summary and redact commands, over files; the commands
// themselves only add what depends on the platform.
#include <string>
#include <vector>

class Output;

// Reports on the logs (text, or JSON with `json`; an HTML page into `htmlFile`
// when it is not empty). 0 done; 2 a log that cannot be read or holds no call,
// or a page that cannot be written.
int runSummary(const std::vector<std::string>& logs, bool json, const std::string& htmlFile,
               Output& output);

// Whether two names are the same file; the platform knows.
using SameFile = bool (*)(const std::string& a, const std::string& b);

// Writes the redacted copy of `logFile` to `outFile` and says what it replaced.
// 0 done; 2 the log cannot be read, `outFile` is the log itself, or it cannot
// be written.
int runRedact(const std::string& logFile, const std::string& outFile, SameFile sameFile,
              Output& output);
