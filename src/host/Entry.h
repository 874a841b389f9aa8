#pragma once
#include <cstdint>

struct CardInfoRecord;

// Platform-neutral bodies of the exported functions. The exported wrappers
// add the calling convention and the outermost catch-all.
int32_t runInit();
int32_t runGetCardInfoEx(int64_t card, CardInfoRecord* record, const char* inpBuf, uint32_t inpLen);
int32_t runTransactionsEx(const char* inpBuf, uint32_t inpLen);

// Empties init.txt; what the library entry routine does on every notification.
void truncateInitMarker();
