#include "summary/SummaryRun.h"

#include "cli/Output.h"
#include "files/FileBytes.h"
#include "logread/LogCalls.h"
#include "summary/LogSummary.h"

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
                                           ? replay::unreadableStampReason(bytes, output.catalog())
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
