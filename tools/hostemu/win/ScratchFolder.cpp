#include "ScratchFolder.h"

#include <windows.h>

#include "files/FileBytes.h"

namespace {

// The folders alive now (a check's exchange and a replay never nest deeper),
// for the control handler, which runs on a thread of its own.
constexpr int kMaxLive = 4;
CRITICAL_SECTION liveLock;
const char* live[kMaxLive] = {};
std::string liveRestore;  // where the current directory goes before removal

// Paths are UTF-8, used by their UTF-16 names (a user's temp folder may be Cyrillic).
void removeFolder(const char* path) {
    WIN32_FIND_DATAW entry;
    const std::wstring folder = widePath(path);
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

BOOL WINAPI onControl(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT: break;
        default: return FALSE;
    }
    EnterCriticalSection(&liveLock);
    // A folder that is the current directory cannot be removed.
    if (!liveRestore.empty()) SetCurrentDirectoryW(widePath(liveRestore).c_str());
    // The module may still be writing its log there: a file it makes again
    // after the removal is removed by the next round.
    for (int round = 0; round < 40; ++round) {
        bool left = false;
        for (const char* path : live) {
            if (!path) continue;
            removeFolder(path);
            left = left || GetFileAttributesW(widePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
        }
        if (!left) break;
        Sleep(50);
    }
    // Left locked: the process ends now, and no folder is made or removed
    // meanwhile; with the status Windows gives a program ended by Ctrl+C.
    ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
    return TRUE;
}

void registerHandler() {
    static const bool registered = [] {
        InitializeCriticalSection(&liveLock);
        SetConsoleCtrlHandler(onControl, TRUE);
        return true;
    }();
    (void)registered;
}

void track(const std::string& path, const std::string& previous, bool add) {
    EnterCriticalSection(&liveLock);
    for (const char*& slot : live) {
        if (add && slot == nullptr) {
            slot = path.c_str();
            break;
        }
        if (!add && slot == path.c_str()) slot = nullptr;
    }
    if (add && liveRestore.empty()) liveRestore = previous;
    LeaveCriticalSection(&liveLock);
}

}  // namespace

ScratchFolder::ScratchFolder() {
    wchar_t temp[MAX_PATH + 1];
    wchar_t previous[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) return;
    const DWORD p = GetCurrentDirectoryW(MAX_PATH + 1, previous);
    if (p == 0 || p > MAX_PATH) return;
    registerHandler();
    previous_ = fromWide(previous);
    for (unsigned attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const std::string candidate = fromWide(temp) + "hostemu-" +
                                      std::to_string(GetCurrentProcessId()) + "-" +
                                      std::to_string(GetTickCount() + attempt);
        if (CreateDirectoryW(widePath(candidate).c_str(), nullptr)) path_ = candidate;
    }
    if (path_.empty()) return;
    track(path_, previous_, true);
    if (!SetCurrentDirectoryW(widePath(path_).c_str())) {
        track(path_, previous_, false);
        RemoveDirectoryW(widePath(path_).c_str());
        path_.clear();
    }
}

ScratchFolder::~ScratchFolder() {
    if (path_.empty()) return;
    SetCurrentDirectoryW(widePath(previous_).c_str());
    track(path_, previous_, false);
    removeFolder(path_.c_str());
}
