#pragma once
#include <cstdint>
#include <string>

// Texts that name the cause of a failed exchange in the log, so that a
// refused connection, an unknown host name and an untrusted certificate each
// leave lines of their own behind.

// The text for an operating-system or WinInet error code, on one line and in
// Windows-1251: the system's own text where it has one, else a short text of
// the module's own for the common WinInet codes, else "no description".
std::string describeError(uint32_t code);

// "Windows error <code>: <text>", the message of the log entry.
std::string windowsErrorMessage(uint32_t code);

// The module's own short text for a common WinInet code; empty for others.
std::string ownErrorText(uint32_t code);

// Line breaks, tabs and runs of blanks become one blank; the ends are trimmed.
std::string oneLine(const std::string& text);

// True for a 2xx HTTP status.
inline bool isSuccessStatus(uint32_t status) { return status >= 200 && status < 300; }
