#include "redact/RedactRun.h"

#include "cli/Output.h"
#include "files/FileBytes.h"
#include "redact/LogRedact.h"

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
