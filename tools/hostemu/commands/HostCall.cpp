#include "HostCall.h"

#include <windows.h>

#include "DllModule.h"
#include "FileSize.h"
#include "cli/ExitStatus.h"
#include "cli/Output.h"
#include "display/LogLines.h"
#include "dllfile/DllLoadText.h"
#include "files/FileBytes.h"
#include "log/Logger.h"

const char kHostCallDescription[] =
    "  Loads <folder>\\brisvane.dll with <folder> as the working directory, as a POS\n"
    "  host does, calls Init, GetCardInfoEx or TransactionsEx and prints the result,\n"
    "  the card record (lookup) and the log entries the call wrote (--brief: only\n"
    "  the lines that end the call, report a failure or name its cause, and only the\n"
    "  record fields that hold something). The exit status says whether the call\n"
    "  was made; what the DLL returned is the printed result.\n"
    "  --dll PATH loads the DLL from PATH instead (init, lookup, transaction, replay,\n"
    "  version); <folder> stays the working directory, with conf.xml and brisvane.log.\n";

std::string dllPath(const Invocation& invocation) {
    const std::string name =
        invocation.dll.empty() ? invocation.folder + "\\brisvane.dll" : invocation.dll;
    char full[MAX_PATH + 1];
    const DWORD n = GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
    return n > 0 && n <= MAX_PATH ? std::string(full) : name;
}

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
    const std::string path = dllPath(invocation);
    if (!SetCurrentDirectoryA(invocation.folder.c_str())) {
        output.err("hostemu: cannot enter folder " + invocation.folder + " (error " +
                   std::to_string(GetLastError()) + ")\n");
        return exitstatus::kFound;
    }
    Module dll(path);
    if (!dll.loaded()) {
        output.err(dllLoadFailure(path, GetLastError()));
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
