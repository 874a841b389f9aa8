#pragma once
#include <windows.h>

#include <string>

// A fresh folder under %TEMP% that is the current directory while it lives;
// emptied and removed, and the previous directory restored, at its end.
class ScratchFolder {
  public:
    ScratchFolder() {
        char temp[MAX_PATH + 1];
        char previous[MAX_PATH + 1];
        const DWORD n = GetTempPathA(sizeof temp, temp);
        if (n == 0 || n > MAX_PATH) return;
        if (GetCurrentDirectoryA(sizeof previous, previous) == 0) return;
        previous_ = previous;
        for (unsigned attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const std::string candidate = std::string(temp) + "hostemu-" +
                                          std::to_string(GetCurrentProcessId()) + "-" +
                                          std::to_string(GetTickCount() + attempt);
            if (CreateDirectoryA(candidate.c_str(), nullptr)) path_ = candidate;
        }
        if (!path_.empty() && !SetCurrentDirectoryA(path_.c_str())) {
            RemoveDirectoryA(path_.c_str());
            path_.clear();
        }
    }
    ~ScratchFolder() {
        if (path_.empty()) return;
        SetCurrentDirectoryA(previous_.c_str());
        WIN32_FIND_DATAA entry;
        const std::string pattern = path_ + "\\*";
        HANDLE find = FindFirstFileA(pattern.c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                    DeleteFileA((path_ + "\\" + entry.cFileName).c_str());
                }
            } while (FindNextFileA(find, &entry));
            FindClose(find);
        }
        RemoveDirectoryA(path_.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    bool ready() const { return !path_.empty(); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::string previous_;
};
