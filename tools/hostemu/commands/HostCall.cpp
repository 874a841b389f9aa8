#include "HostCall.h"

#include <windows.h>

#include "DllModule.h"
#include "FileSize.h"
#include "cli/Output.h"
#include "display/LogLines.h"
#include "files/FileBytes.h"
#include "log/Logger.h"

bool readCheckFile(const std::string& name, std::string& check, Output& output) {
    if (readWholeFile(name, check)) return true;
    output.err("hostemu: " + output.text("error.check-file", {{"file", name}}) + "\n");
    return false;
}

bool missingExport(const char* name, Output& output) {
    output.err("hostemu: " + output.text("error.no-export", {{"name", name}}) + "\n");
    return false;
}

int runHostCall(const Invocation& invocation, Output& output, const HostCallFn& call) {
    if (!SetCurrentDirectoryA(invocation.folder.c_str())) {
        const std::string code = std::to_string(GetLastError());
        output.err(
            "hostemu: " +
            output.text("error.enter-folder", {{"folder", invocation.folder}, {"code", code}}) +
            "\n");
        return 1;
    }
    char full[MAX_PATH + 1];
    const DWORD n = GetFullPathNameA("brisvane.dll", sizeof full, full, nullptr);
    Module dll(n > 0 && n <= MAX_PATH ? std::string(full) : std::string(".\\brisvane.dll"));
    if (!dll.loaded()) {
        const std::string code = std::to_string(GetLastError());
        output.err("hostemu: " +
                   output.text("error.load-dll", {{"folder", invocation.folder}, {"code", code}}) +
                   "\n");
        return 1;
    }
    const long long before = fileSize(kLogFileName);
    if (!call(dll, output)) return 1;
    output.out(invocation.brief ? "--- closing log lines of this call ---\n"
                                : "--- log entries written by this call ---\n");
    std::string log;
    if (!readWholeFile(kLogFileName, log)) {
        output.out("(no brisvane.log)\n");
    } else {
        output.out(logLinesFrom(log, before, invocation.brief));
    }
    output.flush();
    return 0;
}
