#include "redact/RedactRun.h"

#include "cli/ExitStatus.h"
#include "cli/Output.h"
#include "files/FileBytes.h"
#include "redact/LogRedact.h"

ExitStatus runRedact(const std::string& logFile, const std::string& outFile, SameFile sameFile,
                     Output& output) {
    std::string bytes;
    if (!readWholeFile(logFile, bytes)) {
        output.complain(output.text(Msg::error_log_file, {{"file", logFile}}));
        return exitstatus::kBadInput;
    }
    if (sameFile(logFile, outFile)) {
        output.complain(output.text(Msg::redact_log_itself, {{"file", outFile}}));
        return exitstatus::kBadInput;
    }
    redact::Tally tally;
    const std::string redacted = redact::redactLog(bytes, tally);
    if (tally.leftOver) {
        output.err("hostemu: " + output.text(Msg::redact_left_over, {{"file", outFile}}) + "\n");
        return exitstatus::kBadInput;
    }
    if (!writeWholeFile(outFile, redacted)) {
        output.complain(output.text(Msg::redact_cannot_write, {{"file", outFile}}));
        return exitstatus::kBadInput;
    }
    const Catalog& catalog = output.catalog();
    auto size = [&](std::size_t n) {
        return output.plural(PluralMsg::redact_bytes, n, {{"count", std::to_string(n)}});
    };
    output.out(output.text(Msg::redact_wrote, {{"copy", outFile},
                                               {"copy_size", size(redacted.size())},
                                               {"log", logFile},
                                               {"log_size", size(bytes.size())}}) +
               redact::tallyText(tally, catalog));
    return exitstatus::kDone;
}
