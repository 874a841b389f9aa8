#pragma once
#include <string>

// Reads a whole file as bytes; false if it cannot be opened.
bool readWholeFile(const std::string& name, std::string& out);

// Host text (Windows-1251) as UTF-8 for the console.
std::string fromCp1251(const std::string& text);

// A log text as UTF-8: the service's replies already are, the host's and the
// module's own texts are Windows-1251.
std::string forConsole(const std::string& text);

// Writes text as it is (no printf formatting, embedded zero bytes kept).
void writeOut(const std::string& text);

// Size of a file in bytes, 0 when it does not exist.
long long fileSize(const char* name);

// Prints brisvane.log from `offset` on (from the start if the log was cleared
// meanwhile). `brief` keeps only the stamped lines that end a call or report a
// failure: those that name a RETURN, or say ERROR / Error.
void printLogFrom(long long offset, bool brief);
