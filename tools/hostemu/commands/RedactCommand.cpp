// hostemu redact <brisvane.log> <out>: a copy of a till's log without API
// tokens and guests' personal data, to send it out of the restaurant.
#include <windows.h>

#include "cli/CommandLine.h"
#include "files/FileBytes.h"
#include "redact/RedactRun.h"

namespace {

// The same file, however it is spelt (case, relative parts, links): the
// volume and file index of both, when the second exists at all.
bool sameFile(const std::string& a, const std::string& b) {
    auto open = [](const std::string& name) {
        return CreateFileW(widePath(name).c_str(), 0,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    };
    HANDLE ha = open(a), hb = open(b);
    bool same = false;
    BY_HANDLE_FILE_INFORMATION ia, ib;
    if (ha != INVALID_HANDLE_VALUE && hb != INVALID_HANDLE_VALUE &&
        GetFileInformationByHandle(ha, &ia) && GetFileInformationByHandle(hb, &ib)) {
        same = ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
               ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
    }
    if (ha != INVALID_HANDLE_VALUE) CloseHandle(ha);
    if (hb != INVALID_HANDLE_VALUE) CloseHandle(hb);
    if (same) return true;
    // Without file indexes (some shares give none): the full names.
    wchar_t fa[MAX_PATH + 1], fb[MAX_PATH + 1];
    const DWORD na = GetFullPathNameW(widePath(a).c_str(), MAX_PATH + 1, fa, nullptr);
    const DWORD nb = GetFullPathNameW(widePath(b).c_str(), MAX_PATH + 1, fb, nullptr);
    return na > 0 && na <= MAX_PATH && nb > 0 && nb <= MAX_PATH && lstrcmpiW(fa, fb) == 0;
}

ExitStatus run(const Invocation& invocation, Output& output) {
    return runRedact(invocation.words[0], invocation.words[1], sameFile, output);
}

}  // namespace

// Listed in CommandTable.cpp.
extern const CommandSpec kRedactCommand = [] {
    CommandSpec c;
    c.name = "redact";
    c.usage = Msg::usage_redact;
    c.description = Msg::help_redact;
    c.arguments = 2;
    c.countError = Msg::count_redact;
    c.folder = false;
    c.run = run;
    return c;
}();
