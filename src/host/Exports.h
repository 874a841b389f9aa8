#pragma once
// The DLL's three exports as a POS host calls them: stdcall, plain names
// (brisvane.def), the host's argument slots. exports.cpp defines them; the
// tools and tests that load the DLL call them through the pointer types.
#include <cstdint>

#include "record/CardInfoRecord.h"

extern "C" {
int32_t __stdcall Init();
int32_t __stdcall GetCardInfoEx(int64_t card, uint32_t, uint32_t, CardInfoRecord* record,
                                const char* inpBuf, uint32_t inpLen, uint16_t, void*, uint32_t,
                                uint16_t);
int32_t __stdcall TransactionsEx(uint32_t, uint32_t, const char* inpBuf, uint32_t inpLen, uint16_t,
                                 void*, uint32_t, uint16_t);
}

using InitFn = decltype(&Init);
using GetCardInfoExFn = decltype(&GetCardInfoEx);
using TransactionsExFn = decltype(&TransactionsEx);

// The names GetProcAddress finds them by.
inline constexpr char kInitExport[] = "Init";
inline constexpr char kGetCardInfoExExport[] = "GetCardInfoEx";
inline constexpr char kTransactionsExExport[] = "TransactionsEx";
