#pragma once
// brisvane.dll loaded as a POS host loads it, for the tools and tests that
// call it (hostemu, callbench, the host tests): one way to load it, find its
// exports and let it go.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "host/Exports.h"

class DllModule {
  public:
    // By its full path (a relative one is taken from the current folder): a
    // bare name would be searched for beside the program first, and another
    // copy of the DLL could be loaded. The DLL's own folder is searched first
    // for what it needs. GetLastError() says why when it fails.
    explicit DllModule(const std::string& path)
        : path_(fullPath(path)),
          dll_(LoadLibraryExA(path_.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {}
    ~DllModule() { unload(); }
    DllModule(const DllModule&) = delete;
    DllModule& operator=(const DllModule&) = delete;

    bool loaded() const { return dll_ != nullptr; }
    // The full path it was loaded from (or not): what a complaint names.
    const std::string& path() const { return path_; }
    // Unloading is a notification to the DLL too; the exports are gone after it.
    void unload() {
        if (dll_) FreeLibrary(dll_);
        dll_ = nullptr;
    }
    // Null when the DLL is not loaded or has no export of that name.
    void* proc(const char* name) const {
        return dll_ ? reinterpret_cast<void*>(GetProcAddress(dll_, name)) : nullptr;
    }
    template <typename Fn>
    Fn proc(const char* name) const {
        return reinterpret_cast<Fn>(proc(name));
    }

    // The three exports called as a host calls them: the input buffer with
    // its terminating zero byte, the other slots zero. Empty when the DLL
    // lacks the export.
    std::optional<int32_t> callInit() const {
        const auto fn = proc<InitFn>(kInitExport);
        if (!fn) return std::nullopt;
        return fn();
    }
    std::optional<int32_t> callGetCardInfoEx(int64_t card, CardInfoRecord* record,
                                             const std::string& input) const {
        const auto fn = proc<GetCardInfoExFn>(kGetCardInfoExExport);
        if (!fn) return std::nullopt;
        return fn(card, 0, 0, record, input.c_str(), inputLength(input), 0, nullptr, 0, 0);
    }
    std::optional<int32_t> callTransactionsEx(const std::string& input) const {
        const auto fn = proc<TransactionsExFn>(kTransactionsExExport);
        if (!fn) return std::nullopt;
        return fn(0, 0, input.c_str(), inputLength(input), 0, nullptr, 0, 0);
    }

    // `path` taken from the current folder; as it is when that fails.
    static std::string fullPath(const std::string& path) {
        char full[MAX_PATH + 1];
        const DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
        return n > 0 && n <= MAX_PATH ? std::string(full) : path;
    }

  private:
    static uint32_t inputLength(const std::string& input) {
        return static_cast<uint32_t>(input.size() + 1);
    }

    std::string path_;
    HMODULE dll_;
};
