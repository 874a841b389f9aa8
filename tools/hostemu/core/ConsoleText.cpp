#include "ConsoleText.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "log/LogPhrases.h"
#include "text/TextCodec.h"

bool readWholeFile(const std::string& name, std::string& out) {
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) return false;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return true;
}

std::string fromHostText(const std::string& text) { return cp1251ToUtf8(text); }

bool isUtf8(const std::string& text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        std::size_t more;
        uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + more >= n) return false;
        for (std::size_t k = 1; k <= more; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF.
        if ((more == 2 && cp < 0x800) || (more == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += more + 1;
    }
    return true;
}

bool isUtf16(const std::string& bytes) {
    return bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                 (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

std::string utf16ConfNote() {
    return "conf.xml is saved as UTF-16 (Notepad's \"Unicode\"): the DLL reads it, but the copy "
           "that Init writes into brisvane.log cannot be read by people; save it as UTF-8";
}

std::string utf16AsUtf8(const std::string& bytes) {
    if (!isUtf16(bytes)) return bytes;
    const bool big = bytes[0] == '\xFE';
    auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<uint32_t>(big ? (a << 8) | b : (b << 8) | a);
    };
    std::string out;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string forConsole(const std::string& text) { return isUtf8(text) ? text : fromHostText(text); }

namespace {

bool endsOrFails(const std::string& line) {
    if (line.empty() || line[0] != '[' || line.find("] ") == std::string::npos) return false;
    // Init names no result; its closing line is "Ended".
    static const std::string kInitEnded =
        std::string("] ") + logphrase::kInit + " : " + logphrase::kEnded;
    const bool initEnded =
        line.size() >= kInitEnded.size() &&
        line.compare(line.size() - kInitEnded.size(), kInitEnded.size(), kInitEnded) == 0;
    // The transport's own lines that name why an exchange failed.
    static const std::string kCauses[] = {
        std::string("] ") + logphrase::kSendRequest + " : " + logphrase::kWindowsError,
        std::string("] ") + logphrase::kSendRequest + " : " + logphrase::kHttpStatus,
    };
    for (const std::string& cause : kCauses)
        if (line.find(cause) != std::string::npos) return true;
    return initEnded || line.find("RETURN") != std::string::npos ||
           line.find("ERROR") != std::string::npos || line.find("Error") != std::string::npos;
}

// A dump of an absent record ends in "NULL" without a line feed, so the next
// entry (often the call's result) follows on the same line.
std::string afterNullDump(const std::string& line) {
    const std::size_t n = std::strlen(logphrase::kDumpOfNoRecord);
    if (line.compare(0, n, logphrase::kDumpOfNoRecord) == 0 && line.size() > n && line[n] == '[')
        return line.substr(n);
    return line;
}

}  // namespace

std::string logLinesFrom(const std::string& log, long long offset, bool brief) {
    if (offset < 0 || offset > static_cast<long long>(log.size())) offset = 0;  // cleared
    std::string shown;
    std::string line;
    for (std::size_t i = static_cast<std::size_t>(offset); i <= log.size(); ++i) {
        if (i < log.size() && log[i] != '\n') {
            if (log[i] != '\r') line += log[i];
            continue;
        }
        const bool last = i == log.size();
        if (!brief) {
            shown += forConsole(line);
            if (!last) shown += "\n";
        } else if (endsOrFails(afterNullDump(line))) {
            shown += forConsole(afterNullDump(line)) + "\n";
        }
        line.clear();
    }
    return shown;
}
