#include "ScratchFolder.h"

#include <windows.h>

namespace {

// The folders alive now (a check's exchange and a replay never nest deeper),
// for the control handler, which runs on a thread of its own.
constexpr int kMaxLive = 4;
CRITICAL_SECTION liveLock;
const char* live[kMaxLive] = {};
std::string liveRestore;  // where the current directory goes before removal

void removeFolder(const char* path) {
    WIN32_FIND_DATAA entry;
    const std::string folder = path;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + entry.cFileName).c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
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
    if (!liveRestore.empty()) SetCurrentDirectoryA(liveRestore.c_str());
    // The module may still be writing its log there: a file it makes again
    // after the removal is removed by the next round.
    for (int round = 0; round < 40; ++round) {
        bool left = false;
        for (const char* path : live) {
            if (!path) continue;
            removeFolder(path);
            left = left || GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
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
    char temp[MAX_PATH + 1];
    char previous[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n > MAX_PATH) return;
    if (GetCurrentDirectoryA(sizeof previous, previous) == 0) return;
    registerHandler();
    previous_ = previous;
    for (unsigned attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const std::string candidate = std::string(temp) + "hostemu-" +
                                      std::to_string(GetCurrentProcessId()) + "-" +
                                      std::to_string(GetTickCount() + attempt);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) path_ = candidate;
    }
    if (path_.empty()) return;
    track(path_, previous_, true);
    if (!SetCurrentDirectoryA(path_.c_str())) {
        track(path_, previous_, false);
        RemoveDirectoryA(path_.c_str());
        path_.clear();
    }
}

ScratchFolder::~ScratchFolder() {
    if (path_.empty()) return;
    SetCurrentDirectoryA(previous_.c_str());
    track(path_, previous_, false);
    removeFolder(path_.c_str());
}
