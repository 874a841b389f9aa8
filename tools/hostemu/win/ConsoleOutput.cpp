#include "ConsoleOutput.h"

#include <windows.h>

#include <cstdio>

ConsoleOutput::ConsoleOutput() { SetConsoleOutputCP(CP_UTF8); }

// As it is: no printf formatting, embedded zero bytes kept.
void ConsoleOutput::out(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void ConsoleOutput::err(const std::string& text) {
    std::fflush(stdout);
    std::fwrite(text.data(), 1, text.size(), stderr);
}

void ConsoleOutput::flush() { std::fflush(stdout); }

long long fileSize(const char* name) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(name, GetFileExInfoStandard, &data)) return 0;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}
