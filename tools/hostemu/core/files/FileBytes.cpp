#include "files/FileBytes.h"

#ifdef _WIN32
#include <windows.h>

std::wstring widePath(const std::string& name) {
    if (name.empty()) return std::wstring();
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), &wide[0], n);
    return wide;
}

std::string fromWide(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                        nullptr);
    return out;
}

std::FILE* openFile(const std::string& name, const char* mode) {
    const std::wstring wide = widePath(name);
    if (wide.empty()) return nullptr;
    return _wfopen(wide.c_str(), widePath(mode).c_str());
}
#else
std::FILE* openFile(const std::string& name, const char* mode) {
    return std::fopen(name.c_str(), mode);
}
#endif

bool readWholeFile(const std::string& name, std::string& out) {
    std::FILE* f = openFile(name, "rb");
    if (!f) return false;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return true;
}

bool writeWholeFile(const std::string& name, const std::string& bytes) {
    std::FILE* f = openFile(name, "wb");
    if (!f) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}
