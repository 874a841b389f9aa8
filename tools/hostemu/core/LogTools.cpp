#include "LogTools.h"

#include <cstdio>

#include "ConsoleText.h"
#include "LogRedact.h"
#include "LogSummary.h"
#include "Output.h"
#include "ReplayLog.h"

namespace {

// C stdio rather than a file stream: the stream's runtime calls are not all in
// Windows XP's msvcrt.dll.
bool writeWholeFile(const std::string& name, const std::string& bytes) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

}  // namespace

int runSummary(const std::vector<std::string>& logs, bool json, const std::string& htmlFile,
               Output& output) {
    std::vector<summary::NamedSummary> summaries;
    for (const std::string& name : logs) {
        std::string bytes;
        if (!readWholeFile(name, bytes)) {
            output.err("hostemu: cannot read log file " + name + "\n");
            return 2;
        }
        summaries.push_back({name, summary::summarize(bytes)});
        if (summaries.back().summary.knownCalls() == 0) {
            const std::string stamps = replay::splitEntries(bytes).empty()
                                           ? replay::unreadableStampReason(bytes)
                                           : std::string();
            output.err("hostemu: " + name +
                       (stamps.empty() ? " holds no call (no Init, GetCardInfoEx or "
                                         "TransactionsEx starts in it)\n"
                                       : ": " + stamps + "\n"));
            return 2;
        }
    }
    if (!htmlFile.empty() && !writeWholeFile(htmlFile, summary::htmlReport(summaries))) {
        output.err("hostemu: cannot write " + htmlFile + "\n");
        return 2;
    }
    output.out(json ? summary::jsonReport(summaries) : summary::textReport(summaries));
    if (!json && !htmlFile.empty()) output.out("The page: " + htmlFile + "\n");
    return 0;
}

int runRedact(const std::string& logFile, const std::string& outFile, SameFile sameFile,
              Output& output) {
    std::string bytes;
    if (!readWholeFile(logFile, bytes)) {
        output.err("hostemu: cannot read log file " + logFile + "\n");
        return 2;
    }
    if (sameFile(logFile, outFile)) {
        output.err("hostemu: " + outFile + " is the log itself; give another file for the copy\n");
        return 2;
    }
    redact::Tally tally;
    const std::string redacted = redact::redactLog(bytes, tally);
    if (!writeWholeFile(outFile, redacted)) {
        output.err("hostemu: cannot write " + outFile + "\n");
        return 2;
    }
    output.out("Wrote " + outFile + " (" + std::to_string(redacted.size()) + " bytes) from " +
               logFile + " (" + std::to_string(bytes.size()) + " bytes), replaced:\n" +
               redact::tallyText(tally));
    return 0;
}
