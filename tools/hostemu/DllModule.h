#pragma once
// brisvane.dll loaded as a POS host loads it, and its three exports.
#include <windows.h>

#include <cstdint>
#include <string>

#include "record/CardInfoRecord.h"

using InitFn = int32_t(__stdcall*)();
using GetCardInfoExFn = int32_t(__stdcall*)(int64_t, uint32_t, uint32_t, CardInfoRecord*,
                                            const char*, uint32_t, uint16_t, void*, uint32_t,
                                            uint16_t);
using TransactionsExFn = int32_t(__stdcall*)(uint32_t, uint32_t, const char*, uint32_t, uint16_t,
                                             void*, uint32_t, uint16_t);

class Module {
  public:
    // By its full path: a relative name would be searched for beside
    // hostemu.exe first, and another copy of the DLL could be loaded.
    explicit Module(const std::string& path)
        : dll_(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {}
    ~Module() {
        if (dll_) FreeLibrary(dll_);
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    bool loaded() const { return dll_ != nullptr; }
    template <typename Fn>
    Fn proc(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(dll_, name)));
    }

  private:
    HMODULE dll_;
};
