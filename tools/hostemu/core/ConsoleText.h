#pragma once
// Files and texts as hostemu shows them: everything it prints is UTF-8.
#include <string>

// Reads a whole file as bytes; false if it cannot be opened.
bool readWholeFile(const std::string& name, std::string& out);

// Host text (Windows-1251) as UTF-8.
std::string fromHostText(const std::string& text);

// True for well-formed UTF-8 (plain ASCII included).
bool isUtf8(const std::string& text);

// True for text that starts with a UTF-16 byte order mark (Notepad's "Unicode").
bool isUtf16(const std::string& bytes);

// What a conf.xml saved as UTF-16 means for the till and for support.
std::string utf16ConfNote();

// UTF-16 bytes after their byte order mark as UTF-8 (U+FFFD for a lone
// surrogate; an odd last byte is dropped); other text unchanged.
std::string utf16AsUtf8(const std::string& bytes);

// A log text as UTF-8: the service's replies already are, the host's and the
// module's own texts are Windows-1251.
std::string forConsole(const std::string& text);

// The lines of a brisvane.log from `offset` on (from the start when the log
// was cleared meanwhile), each in whichever encoding it is written. `brief`
// keeps only the stamped lines that end a call or report a failure: those
// that name a RETURN, or say ERROR / Error, and Init's "Ended".
std::string logLinesFrom(const std::string& log, long long offset, bool brief);
