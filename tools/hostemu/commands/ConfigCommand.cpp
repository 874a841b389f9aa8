// hostemu <folder> config <check.xml>: reads conf.xml and the check the way
// the DLL does, without calling it, and prints what it will use.
#include "CheckAside.h"
#include "HostCall.h"
#include "check/CheckXml.h"
#include "cli/CommandLine.h"
#include "config/Config.h"
#include "confreport/ConfigReport.h"

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

// Listed in CommandTable.cpp.
extern const CommandSpec kConfigCommand = [] {
    CommandSpec c;
    c.name = "config";
    c.usage = "<folder> config <check.xml>";
    c.description =
        "  config reads <folder>\\conf.xml and the check without calling the DLL and says\n"
        "  which address, token and record slots the DLL will use for that check, with\n"
        "  warnings for settings that do not do what they seem to.\n";
    c.arguments = 1;
    c.countError = "config takes one check file";
    c.run = run;
    return c;
}();
