#pragma once
// The encodings hostemu meets and what it makes of them: everything it
// prints is UTF-8.
#include <cstddef>
#include <string>

// Host text (Windows-1251) as UTF-8.
std::string fromHostText(const std::string& text);

// True for well-formed UTF-8 (plain ASCII included).
bool isUtf8(const std::string& text);

// The characters UTF-8 text shows on a console, for lining up and wrapping
// text in any language: its bytes other than continuation bytes (so a stray
// continuation byte counts for none, any other malformed byte for one).
std::size_t utf8Characters(const std::string& text);

// True for text that starts with a UTF-16 byte order mark (Notepad's "Unicode").
bool isUtf16(const std::string& bytes);

// UTF-16 bytes after their byte order mark as UTF-8 (U+FFFD for a lone
// surrogate; an odd last byte is dropped); other text unchanged.
std::string utf16AsUtf8(const std::string& bytes);

// A log text as UTF-8: the service's replies already are, the host's and the
// module's own texts are Windows-1251.
std::string forConsole(const std::string& text);
