#include "summary/SummaryRun.h"

#include "cli/ExitStatus.h"
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
            output.err("hostemu: " + output.text("error.log-file", {{"file", name}}) + "\n");
            return exitstatus::kBadInput;
        }
        summaries.push_back({name, summary::summarize(bytes)});
        if (summaries.back().summary.knownCalls() == 0) {
            const std::string stamps = replay::splitEntries(bytes).empty()
                                           ? replay::unreadableStampReason(bytes, output.catalog())
                                           : std::string();
            output.err("hostemu: " +
                       (stamps.empty() ? output.text("summary.no-call", {{"file", name}})
                                       : name + ": " + stamps) +
                       "\n");
            return exitstatus::kBadInput;
        }
    }
    if (!htmlFile.empty() &&
        !writeWholeFile(htmlFile, summary::htmlReport(summaries, output.catalog()))) {
        output.err("hostemu: " + output.text("summary.cannot-write", {{"file", htmlFile}}) + "\n");
        return exitstatus::kBadInput;
    }
    output.out(json ? summary::jsonReport(summaries)
                    : summary::textReport(summaries, output.catalog()));
    if (!json && !htmlFile.empty())
        output.out(output.text("summary.page", {{"file", htmlFile}}) + "\n");
    return exitstatus::kDone;
}
