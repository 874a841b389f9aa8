#pragma once
#include <cstdint>
#include <string>

class CheckXml;
class Logger;
struct CardInfoRecord;

// How the lookup initialises its check reader. The DLL always uses
// initCheckXml; its result 2 (a missing CHECKDATA reported to the caller)
// only arises when the reader cannot write its own failure line, so the flow's
// handling of it is reached in tests through another step.
using CheckInitStep = int (*)(CheckXml& reader, const char* inpBuf, uint32_t inpLen,
                              const std::string& tag, Logger& log);

// The whole card lookup behind GetCardInfoEx, with the reader's initialisation
// supplied by the caller.
int32_t runCardLookup(int64_t card, CardInfoRecord* record, const char* inpBuf, uint32_t inpLen,
                      CheckInitStep initStep);
