#include "HostCall.h"

#include <windows.h>

#include "DllModule.h"
#include "FileSize.h"
#include "cli/ExitStatus.h"
#include "cli/Output.h"
#include "display/LogLines.h"
#include "files/FileBytes.h"
#include "log/Logger.h"

const char kHostCallDescription[] =
    "  Loads <folder>\\brisvane.dll with <folder> as the working directory, as a POS\n"
    "  host does, calls Init, GetCardInfoEx or TransactionsEx and prints the result,\n"
    "  the card record (lookup) and the log entries the call wrote (--brief: only\n"
    "  the lines that end the call, report a failure or name its cause, and only the\n"
    "  record fields that hold something). The exit status says whether the call\n"
    "  was made; what the DLL returned is the printed result.\n";

bool readCheckFile(const std::string& name, std::string& check, Output& output) {
    if (readWholeFile(name, check)) return true;
    output.err("hostemu: cannot read check file " + name + "\n");
    return false;
}

bool missingExport(const char* name, Output& output) {
    output.err(std::string("hostemu: brisvane.dll has no export ") + name + "\n");
    return false;
}

int runHostCall(const Invocation& invocation, Output& output, const HostCallFn& call) {
    if (!SetCurrentDirectoryA(invocation.folder.c_str())) {
        output.err("hostemu: cannot enter folder " + invocation.folder + " (error " +
                   std::to_string(GetLastError()) + ")\n");
        return exitstatus::kFound;
    }
    char full[MAX_PATH + 1];
    const DWORD n = GetFullPathNameA("brisvane.dll", sizeof full, full, nullptr);
    Module dll(n > 0 && n <= MAX_PATH ? std::string(full) : std::string(".\\brisvane.dll"));
    if (!dll.loaded()) {
        output.err("hostemu: cannot load " + invocation.folder + "\\brisvane.dll (error " +
                   std::to_string(GetLastError()) + ")\n");
        return exitstatus::kFound;
    }
    const long long before = fileSize(kLogFileName);
    if (!call(dll, output)) return exitstatus::kFound;
    output.out(invocation.brief ? "--- closing log lines of this call ---\n"
                                : "--- log entries written by this call ---\n");
    std::string log;
    if (!readWholeFile(kLogFileName, log)) {
        output.out("(no brisvane.log)\n");
    } else {
        output.out(logLinesFrom(log, before, invocation.brief));
    }
    output.flush();
    return exitstatus::kDone;
}
