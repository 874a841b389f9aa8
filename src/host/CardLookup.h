#pragma once
#include <cstdint>
#include <string>

class CheckXml;
class Logger;
struct CardInfoRecord;

// Test seam: how the lookup initialises its check reader. The DLL always uses
// initCheckXml; its result 2 (a missing CHECKDATA reported to the caller)
// only arises when the reader cannot write its own failure line, so tests
// reach the flow's handling of it through another step.
using CheckInitStep = int (*)(CheckXml& reader, const char* inpBuf, uint32_t inpLen,
                              const std::string& tag, Logger& log);

// Test seam: the whole card lookup behind GetCardInfoEx, with the reader's
// initialisation supplied by the caller (runGetCardInfoEx passes initCheckXml).
int32_t runCardLookup(int64_t card, CardInfoRecord* record, const char* inpBuf, uint32_t inpLen,
                      CheckInitStep initStep);
