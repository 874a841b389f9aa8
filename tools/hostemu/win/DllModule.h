#pragma once
// brisvane.dll loaded as a POS host loads it, and its three exports.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "host/Exports.h"

class Module {
  public:
    // By its full path: a relative name would be searched for beside
    // hostemu.exe first, and another copy of the DLL could be loaded.
    explicit Module(const std::string& path)
        : path_(path), dll_(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {}
    ~Module() {
        if (dll_) FreeLibrary(dll_);
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    bool loaded() const { return dll_ != nullptr; }
    // As given: the full path the command named with --dll, or the folder's DLL.
    const std::string& path() const { return path_; }
    template <typename Fn>
    Fn proc(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(dll_, name)));
    }

    // The three exports called as a host calls them: the input buffer with
    // its terminating zero byte, the other slots zero. Empty when the DLL
    // lacks the export.
    std::optional<int32_t> callInit() const {
        auto init = proc<InitFn>(kInitExport);
        if (!init) return std::nullopt;
        return init();
    }
    std::optional<int32_t> callGetCardInfoEx(int64_t card, CardInfoRecord* record,
                                             const std::string& input) const {
        auto lookup = proc<GetCardInfoExFn>(kGetCardInfoExExport);
        if (!lookup) return std::nullopt;
        return lookup(card, 0, 0, record, input.c_str(), inputLength(input), 0, nullptr, 0, 0);
    }
    std::optional<int32_t> callTransactionsEx(const std::string& input) const {
        auto post = proc<TransactionsExFn>(kTransactionsExExport);
        if (!post) return std::nullopt;
        return post(0, 0, input.c_str(), inputLength(input), 0, nullptr, 0, 0);
    }

  private:
    static uint32_t inputLength(const std::string& input) {
        return static_cast<uint32_t>(input.size() + 1);
    }

    std::string path_;
    HMODULE dll_;
};
