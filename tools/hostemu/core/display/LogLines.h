#pragma once
#include <string>

// The lines of a brisvane.log from `offset` on (from the start when the log
// was cleared meanwhile), each in whichever encoding it is written. `brief`
// keeps only the stamped lines that end a call or report a failure: those
// that name a RETURN, or say ERROR / Error, and Init's "Ended".
std::string logLinesFrom(const std::string& log, long long offset, bool brief);
