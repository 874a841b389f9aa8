#include "display/LogLines.h"

#include "encoding/Encodings.h"
#include "log/LogPhrases.h"

namespace {

bool endsOrFails(const std::string& line) {
    if (line.empty() || line[0] != '[' || line.find("] ") == std::string::npos) return false;
    // Init names no result; its closing line is "Ended".
    static const std::string kInitEnded =
        std::string("] ") + logphrase::kInit + " : " + logphrase::kEnded;
    const bool initEnded =
        line.size() >= kInitEnded.size() &&
        line.compare(line.size() - kInitEnded.size(), kInitEnded.size(), kInitEnded) == 0;
    return initEnded || line.find(logphrase::kReturnWord) != std::string::npos ||
           line.find(logphrase::kErrorWord) != std::string::npos ||
           line.find(logphrase::kErrorWordMixed) != std::string::npos;
}

}  // namespace

std::string logLinesFrom(const std::string& log, long long offset, bool brief) {
    if (offset < 0 || offset > static_cast<long long>(log.size())) offset = 0;  // cleared
    std::string shown;
    std::string line;
    for (std::size_t i = static_cast<std::size_t>(offset); i <= log.size(); ++i) {
        if (i < log.size() && log[i] != '\n') {
            if (log[i] != '\r') line += log[i];
            continue;
        }
        const bool last = i == log.size();
        if (!brief || endsOrFails(line)) {
            shown += forConsole(line);
            if (!last || brief) shown += "\n";
        }
        line.clear();
    }
    return shown;
}
