#pragma once
#include <string>

#include "logread/LogCalls.h"

namespace replay {

// Reads a record dump's lines back into a record; false when they are not a
// whole dump of a record.
bool parseRecordDump(const std::string& body, CardInfoRecord& record);

// The record a lookup is replayed with: the host's values as the call's dump
// shows them, and zero in every field the recorded path of the call wrote, so
// that each of the module's writes is made and checked again.
void prepareRecord(Call& call);

}  // namespace replay
