// The DLL's boundary: calling convention, plain export names (see brisvane.def)
// and the outermost catch-all of every exported function.
#include <windows.h>

#include <cstdint>

#include "host/Entry.h"
#include "host/Guard.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    // Every notification, whatever its reason, empties the marker file.
    try {
        truncateInitMarker();
    } catch (...) {
    }
    return TRUE;
}

int32_t __stdcall Init() {
    // Init has no failure result: even an unexpected fault reports 0.
    return guardedCall("Init", 0, [] { return runInit(); });
}

int32_t __stdcall GetCardInfoEx(int64_t card, uint32_t, uint32_t,
                                                      CardInfoRecord* record, const char* inpBuf,
                                                      uint32_t inpLen, uint16_t, void*, uint32_t,
                                                      uint16_t) {
    return guardedCall("GetCardInfoEx", 1,
                       [&] { return runGetCardInfoEx(card, record, inpBuf, inpLen); });
}

int32_t __stdcall TransactionsEx(uint32_t, uint32_t, const char* inpBuf,
                                                       uint32_t inpLen, uint16_t, void*, uint32_t,
                                                       uint16_t) {
    return guardedCall("TransactionsEx", 1, [&] { return runTransactionsEx(inpBuf, inpLen); });
}

}  // extern "C"
