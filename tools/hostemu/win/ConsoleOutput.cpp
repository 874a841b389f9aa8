#include "ConsoleOutput.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "encoding/Encodings.h"

namespace {

// True when the standard handle is a console (not a file or a pipe).
bool isConsole(DWORD which) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

// As it is: no printf formatting, embedded zero bytes kept; bytes that are not
// UTF-8 shown as "\xNN", so that a console, a file or a pipe gets valid UTF-8.
void write(DWORD which, std::FILE* stream, const std::string& given) {
    if (given.empty()) return;
    const std::string text = shownUtf8(given);
    if (!isConsole(which)) {
        std::fwrite(text.data(), 1, text.size(), stream);
        return;
    }
    std::fflush(stream);
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) {
        std::fwrite(text.data(), 1, text.size(), stream);
        return;
    }
    std::vector<wchar_t> wide(static_cast<std::size_t>(n));
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    const HANDLE console = GetStdHandle(which);
    // In pieces: old consoles refuse one large write.
    constexpr DWORD kPiece = 8192;
    for (std::size_t done = 0; done < wide.size();) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(kPiece, wide.size() - done));
        DWORD written = 0;
        if (!WriteConsoleW(console, wide.data() + done, want, &written, nullptr) || written == 0)
            return;
        done += written;
    }
}

}  // namespace

void ConsoleOutput::out(const std::string& text) { write(STD_OUTPUT_HANDLE, stdout, text); }

void ConsoleOutput::err(const std::string& text) {
    std::fflush(stdout);
    write(STD_ERROR_HANDLE, stderr, text);
}

void ConsoleOutput::flush() { std::fflush(stdout); }

std::size_t ConsoleOutput::width() const {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!isConsole(STD_OUTPUT_HANDLE) ||
        !GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info))
        return kDefaultTextWidth;
    const int columns = info.srWindow.Right - info.srWindow.Left + 1;
    // A line that fills the last column moves the cursor on by itself, and
    // its line feed then leaves a blank line: one column is kept free.
    return columns > 1 ? static_cast<std::size_t>(columns - 1) : kDefaultTextWidth;
}
