#include "HostCall.h"

#include <windows.h>

#include "FileSize.h"
#include "cli/ExitStatus.h"
#include "cli/Output.h"
#include "display/LogLines.h"
#include "dllfile/DllLoadText.h"
#include "files/CheckFileSearch.h"
#include "files/FileBytes.h"
#include "host/DllModule.h"
#include "log/Logger.h"

std::string dllPath(const Invocation& invocation) {
    return DllModule::fullPath(invocation.dll.empty() ? invocation.folder + "\\brisvane.dll"
                                                      : invocation.dll);
}

bool readCheckFile(const Invocation& invocation, const std::string& name, std::string& check,
                   Output& output) {
    char console[MAX_PATH + 1];
    const DWORD n = GetCurrentDirectoryA(sizeof console, console);
    const std::string consoleFolder = n > 0 && n <= MAX_PATH ? std::string(console) : ".";
    CheckFileSearch search = findCheckFile(
        name, consoleFolder, DllModule::fullPath(invocation.folder), readFileOrSayWhy);
    if (search) {
        check = std::move(search.bytes);
        return true;
    }
    // The places looked, one line each, after the complaint's own.
    output.err(complaintText(checkFileComplaint(name, search, output.catalog())));
    return false;
}

bool missingExport(const DllModule& dll, const char* name, Output& output) {
    output.complain(output.text(Msg::error_no_export, {{"path", dll.path()}, {"name", name}}));
    return false;
}

ExitStatus runHostCall(const Invocation& invocation, Output& output, const HostCallFn& call) {
    const std::string path = dllPath(invocation);
    if (!SetCurrentDirectoryW(widePath(invocation.folder).c_str())) {
        const std::string code = std::to_string(GetLastError());
        output.complain(
            output.text(Msg::error_enter_folder, {{"folder", invocation.folder}, {"code", code}}));
        return exitstatus::kFound;
    }
    DllModule dll(path);
    if (!dll.loaded()) {
        output.err(complaintText(dllLoadFailure(path, GetLastError(), output.catalog())));
        return exitstatus::kFound;
    }
    const long long before = fileSize(kLogFileName);
    if (!call(dll, output)) return exitstatus::kFound;
    output.out(output.text(invocation.brief ? Msg::call_closing_lines : Msg::call_log_entries));
    std::string log;
    if (!readWholeFile(kLogFileName, log)) {
        output.out(output.text(Msg::call_no_log));
    } else {
        output.out(logLinesFrom(log, before, invocation.brief));
    }
    output.flush();
    return exitstatus::kDone;
}
