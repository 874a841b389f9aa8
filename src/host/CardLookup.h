#pragma once
#include <cstdint>
#include <string>

class CheckXml;
class Logger;
struct CardInfoRecord;

// Test seam: how the lookup initialises its check reader. The DLL always uses
// initCheckXml, which gives 2 only for a CheckdataNotFound that leaves the
// reader's init; CheckXml::init catches every exception itself (a missing
// CHECKDATA included) and returns normally, so with the DLL's reader the
// lookup never sees 2. The flow keeps its branch for 2 all the same; tests
// reach it through a step that lets CheckdataNotFound out.
using CheckInitStep = int (*)(CheckXml& reader, const char* inpBuf, uint32_t inpLen,
                              const std::string& tag, Logger& log);

// Test seam: the whole card lookup behind GetCardInfoEx, with the reader's
// initialisation supplied by the caller (runGetCardInfoEx passes initCheckXml).
int32_t runCardLookup(int64_t card, CardInfoRecord* record, const char* inpBuf, uint32_t inpLen,
                      CheckInitStep initStep);
