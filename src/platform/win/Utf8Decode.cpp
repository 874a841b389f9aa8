#include <windows.h>

#include "platform/Platform.h"

// The operating system's own UTF-8 decoder, so the DLL reads service text
// exactly as other Windows programs do; invalid input becomes U+FFFD.
std::vector<uint32_t> platform::decodeUtf8(const std::string& text) {
    std::vector<uint32_t> out;
    if (text.empty()) return out;
    const int len = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), len, nullptr, 0);
    if (units <= 0) return std::vector<uint32_t>(1, 0xFFFD);
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), len, &wide[0], units);
    out.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        const uint32_t u = static_cast<uint16_t>(wide[i]);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < wide.size()) {
            const uint32_t lo = static_cast<uint16_t>(wide[i + 1]);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                out.push_back(0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                ++i;
                continue;
            }
        }
        out.push_back(u);  // a lone surrogate maps to no Windows-1251 byte: "?"
    }
    return out;
}
