// hostemu <folder> config <check.xml>: reads conf.xml and the check the way
// the DLL does, without calling it, and prints what it will use.
#include "CheckAside.h"
#include "HostCall.h"
#include "check/CheckXml.h"
#include "cli/CommandLine.h"
#include "config/Config.h"
#include "confreport/ConfigReport.h"
#include "host/DllModule.h"

namespace {

ExitStatus run(const Invocation& invocation, Output& output) {
    std::string check;
    if (!readCheckFile(invocation, invocation.words[0], check, output))
        return exitstatus::kBadInput;
    CheckXml reader;
    std::string readerLog;
    const auto initResult = readCheckAside(reader, check, readerLog);
    const std::string configPath = invocation.folder + "\\" + kConfigFileName;
    std::vector<CheckRefusal> refusals;
    if (initResult) refusals = refusalsAside(reader, DllModule::fullPath(configPath));
    return configReport(configPath, reader, initResult, readerLog, output, refusals);
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kConfigCommand = [] {
    CommandSpec c;
    c.name = "config";
    c.usage = Msg::usage_config;
    c.description = Msg::help_config;
    c.arguments = 1;
    c.countError = Msg::count_config;
    c.run = run;
    return c;
}();
