#include "Console.h"

#include <windows.h>

#include <cstdio>

bool readWholeFile(const std::string& name, std::string& out) {
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) return false;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return true;
}

std::string fromCp1251(const std::string& text) {
    if (text.empty()) return text;
    const int n =
        MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return text;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    const int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    if (m <= 0) return text;
    std::string out(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, &out[0], m, nullptr, nullptr);
    return out;
}

void writeOut(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

long long fileSize(const char* name) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(name, GetFileExInfoStandard, &data)) return 0;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

namespace {

bool isUtf8(const std::string& text) {
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                               static_cast<int>(text.size()), nullptr, 0) > 0;
}

bool endsOrFails(const std::string& line) {
    if (line.empty() || line[0] != '[' || line.find("] ") == std::string::npos) return false;
    // Init names no result; its closing line is "Ended".
    static const std::string kInitEnded = "] Init : Ended";
    const bool initEnded =
        line.size() >= kInitEnded.size() &&
        line.compare(line.size() - kInitEnded.size(), kInitEnded.size(), kInitEnded) == 0;
    return initEnded || line.find("RETURN") != std::string::npos ||
           line.find("ERROR") != std::string::npos || line.find("Error") != std::string::npos;
}

}  // namespace

std::string forConsole(const std::string& text) {
    return text.empty() || isUtf8(text) ? text : fromCp1251(text);
}

void printLogFrom(long long offset, bool brief) {
    std::string log;
    if (!readWholeFile("brisvane.log", log)) {
        std::printf("(no brisvane.log)\n");
        return;
    }
    if (offset < 0 || offset > static_cast<long long>(log.size())) offset = 0;  // cleared
    // The log holds the host's Windows-1251 texts beside the service's UTF-8
    // replies; each line is shown in whichever it is.
    std::string line;
    for (std::size_t i = static_cast<std::size_t>(offset); i <= log.size(); ++i) {
        if (i < log.size() && log[i] != '\n') {
            if (log[i] != '\r') line += log[i];
            continue;
        }
        const bool last = i == log.size();
        if (!brief || endsOrFails(line)) {
            writeOut(forConsole(line));
            if (!last || brief) writeOut("\n");
        }
        line.clear();
    }
}
