#include "display/LogLines.h"

#include <cstring>

#include "encoding/Encodings.h"
#include "log/LogEvents.h"
#include "log/LogFormat.h"

namespace {

bool endsOrFails(const std::string& line) {
    const std::size_t stamped = line.find(logformat::kStampClose);
    if (line.compare(0, 1, logformat::kStampOpen) != 0 || stamped == std::string::npos)
        return false;
    // Init names no result; its closing line is "Ended".
    static const std::string kInitEnded = logformat::kStampClose + std::string(logtag::kInit) +
                                          logformat::kTagSeparator +
                                          logevent::format(logevent::Event::InitEnded);
    const bool initEnded =
        line.size() >= kInitEnded.size() &&
        line.compare(line.size() - kInitEnded.size(), kInitEnded.size(), kInitEnded) == 0;
    // The transport's own lines that name why an exchange failed.
    static const std::string kCauses[] = {
        logformat::kStampClose + std::string(logtag::kSendRequest) + logformat::kTagSeparator +
            std::string(logevent::fixedHead(logevent::Event::WindowsError)),
        logformat::kStampClose + std::string(logtag::kSendRequest) + logformat::kTagSeparator +
            std::string(logevent::fixedHead(logevent::Event::HttpStatus)),
    };
    for (const std::string& cause : kCauses)
        if (line.find(cause) != std::string::npos) return true;
    return initEnded || line.find(logevent::kReturnWord) != std::string::npos ||
           line.find(logevent::kErrorWord) != std::string::npos ||
           line.find(logevent::kErrorWordMixed) != std::string::npos;
}

// A dump of an absent record ends in "NULL" without a line feed, so the next
// entry (often the call's result) follows on the same line.
std::string afterNullDump(const std::string& line) {
    const std::size_t n = std::strlen(logformat::kDumpOfNoRecord);
    if (line.compare(0, n, logformat::kDumpOfNoRecord) == 0 &&
        line.compare(n, 1, logformat::kStampOpen) == 0)
        return line.substr(n);
    return line;
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
        if (!brief) {
            shown += forConsole(line);
            if (!last) shown += "\n";
        } else if (endsOrFails(afterNullDump(line))) {
            shown += forConsole(afterNullDump(line)) + "\n";
        }
        line.clear();
    }
    return shown;
}
