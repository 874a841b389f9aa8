#pragma once
// The summary command's work over files; the command adds nothing but its options.
#include <string>
#include <vector>

#include "cli/ExitStatus.h"

class Output;

// Reports on the logs (text, or JSON with `json`; an HTML page into `htmlFile`
// when it is not empty). kDone; kBadInput for a log that cannot be read or
// holds no call, or a page that cannot be written.
ExitStatus runSummary(const std::vector<std::string>& logs, bool json, const std::string& htmlFile,
                      Output& output);
