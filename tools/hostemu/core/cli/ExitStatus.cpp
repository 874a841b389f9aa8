#include "cli/ExitStatus.h"

std::string exitStatusText() {
    using namespace exitstatus;
    const auto status = [](int s) { return std::to_string(s); };
    return "Exit status: " + status(kDone) +
           ": done (init, lookup, transaction: the export was called, whatever it returned; the "
           "printed result and log lines say how the call went; config: no warnings; check: the "
           "service answered with JSON; replay: every replayable call the same; version, show, "
           "summary, "
           "redact: printed or written). " +
           status(kFound) +
           ": config warnings, a failed check step, a replayed call that differs; init, lookup, "
           "transaction: the folder cannot be entered, or its DLL cannot be loaded or lacks the "
           "export; version: the file cannot be read, is not a Windows program or has no version "
           "resource. " +
           status(kBadInput) +
           ": bad arguments, an unreadable check file or log, a log without a call (replay, "
           "show, summary), a --call N that names no replayable call (replay) or no call (show), a "
           "copy that would overwrite its "
           "log (redact), a page or copy that cannot be written (summary, redact). " +
           status(kCannotRun) +
           ": the replay cannot run (no scratch folder, the folder's DLL cannot be loaded or lacks "
           "an export, no free address, a proxy in the way).";
}

std::string wrapped(const std::string& text, std::size_t indent) {
    const std::string margin(indent, ' ');
    std::string out, line;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(at, end - at);
        if (!line.empty() && margin.size() + line.size() + 1 + word.size() > 80) {
            out += margin + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        at = end + 1;
    }
    if (!line.empty()) out += margin + line + "\n";
    return out;
}
