#include "HostCall.h"

#include <windows.h>

#include "DllModule.h"
#include "FileSize.h"
#include "cli/ExitStatus.h"
#include "cli/Output.h"
#include "display/LogLines.h"
#include "dllfile/DllLoadText.h"
#include "files/CheckFileSearch.h"
#include "files/FileBytes.h"
#include "log/Logger.h"

std::string dllPath(const Invocation& invocation) {
    const std::string name =
        invocation.dll.empty() ? invocation.folder + "\\brisvane.dll" : invocation.dll;
    char full[MAX_PATH + 1];
    const DWORD n = GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
    return n > 0 && n <= MAX_PATH ? std::string(full) : name;
}

std::string fullPath(const std::string& name) {
    char full[MAX_PATH + 1];
    const DWORD n = GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
    return n > 0 && n <= MAX_PATH ? std::string(full) : name;
}

bool readCheckFile(const Invocation& invocation, const std::string& name, std::string& check,
                   Output& output) {
    char console[MAX_PATH + 1];
    const DWORD n = GetCurrentDirectoryA(sizeof console, console);
    const std::string consoleFolder = n > 0 && n <= MAX_PATH ? std::string(console) : ".";
    CheckFileSearch search =
        findCheckFile(name, consoleFolder, fullPath(invocation.folder), readFileOrSayWhy);
    if (search) {
        check = std::move(search.bytes);
        return true;
    }
    output.err("hostemu: " + checkFileComplaint(name, search, output.catalog()));
    return false;
}

bool missingExport(const Module& dll, const char* name, Output& output) {
    output.err("hostemu: " +
               output.text("error.no-export", {{"path", dll.path()}, {"name", name}}) + "\n");
    return false;
}

int runHostCall(const Invocation& invocation, Output& output, const HostCallFn& call) {
    const std::string path = dllPath(invocation);
    if (!SetCurrentDirectoryA(invocation.folder.c_str())) {
        const std::string code = std::to_string(GetLastError());
        output.err(
            "hostemu: " +
            output.text("error.enter-folder", {{"folder", invocation.folder}, {"code", code}}) +
            "\n");
        return exitstatus::kFound;
    }
    Module dll(path);
    if (!dll.loaded()) {
        output.err(dllLoadFailure(path, GetLastError(), output.catalog()));
        return exitstatus::kFound;
    }
    const long long before = fileSize(kLogFileName);
    if (!call(dll, output)) return exitstatus::kFound;
    output.out(output.text(invocation.brief ? "call.closing-lines" : "call.log-entries"));
    std::string log;
    if (!readWholeFile(kLogFileName, log)) {
        output.out(output.text("call.no-log"));
    } else {
        output.out(logLinesFrom(log, before, invocation.brief));
    }
    output.flush();
    return exitstatus::kDone;
}
