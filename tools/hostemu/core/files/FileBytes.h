#pragma once
// Whole files as bytes. C stdio rather than a file stream: the stream's
// runtime calls are not all in Windows XP's msvcrt.dll.
#include <string>

// Reads a whole file as bytes; false if it cannot be opened.
bool readWholeFile(const std::string& name, std::string& out);

// Writes `bytes` as the whole file; false when it cannot be written entirely.
bool writeWholeFile(const std::string& name, const std::string& bytes);
