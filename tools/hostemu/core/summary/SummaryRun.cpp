#include "summary/SummaryRun.h"

#include "cli/ExitStatus.h"
#include "cli/Output.h"
#include "files/FileBytes.h"
#include "logread/LogCalls.h"
#include "summary/LogSummary.h"

ExitStatus runSummary(const std::vector<std::string>& logs, bool json, const std::string& htmlFile,
                      Output& output) {
    std::vector<summary::NamedSummary> summaries;
    for (const std::string& name : logs) {
        // Read piece by piece: a fleet's logs of 10 MB each are never held whole.
        PiecewiseFile file(name);
        if (!file) {
            output.complain(output.text(Msg::error_log_file, {{"file", name}}));
            return exitstatus::kBadInput;
        }
        summaries.push_back({name, summary::summarize([&file](char* into, std::size_t size) {
                                 return file.read(into, size);
                             })});
        if (summaries.back().summary.knownCalls() == 0) {
            // Why there is none, from the whole file: this log holds no call to keep.
            std::string bytes;
            readWholeFile(name, bytes);
            const std::string stamps = replay::splitEntries(bytes).empty()
                                           ? replay::unreadableStampReason(bytes, output.catalog())
                                           : std::string();
            output.complain(stamps.empty() ? output.text(Msg::summary_no_call, {{"file", name}})
                                           : name + ": " + stamps);
            return exitstatus::kBadInput;
        }
    }
    if (!htmlFile.empty() &&
        !writeWholeFile(htmlFile, summary::htmlReport(summaries, output.catalog()))) {
        output.complain(output.text(Msg::summary_cannot_write, {{"file", htmlFile}}));
        return exitstatus::kBadInput;
    }
    output.out(json ? summary::jsonReport(summaries)
                    : summary::textReport(summaries, output.catalog()));
    if (!json && !htmlFile.empty())
        output.out(output.text(Msg::summary_page, {{"file", htmlFile}}) + "\n");
    return exitstatus::kDone;
}
