// hostemu <folder> config <check.xml>: reads conf.xml and the check the way
// the DLL does, without calling it, and prints what it will use.
#include "CheckAside.h"
#include "Commands.h"
#include "ConfigReport.h"
#include "HostCall.h"
#include "check/CheckXml.h"
#include "config/Config.h"

namespace {

int run(const Invocation& invocation, Output& output) {
    std::string check;
    if (!readCheckFile(invocation.words[0], check, output)) return 2;
    CheckXml reader;
    std::string readerLog;
    const int initResult = readCheckAside(reader, check, readerLog);
    return configReport(invocation.folder + "\\" + kConfigFileName, reader, initResult, readerLog,
                        output);
}

}  // namespace

const CommandSpec kConfigCommand = {
    "config", "<folder> config <check.xml>", {}, 1, "config takes one check file", nullptr, run,
};
