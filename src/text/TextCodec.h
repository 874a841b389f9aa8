#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Service text (UTF-8) -> host text (Windows-1251). Characters that
// Windows-1251 lacks, and malformed UTF-8, become "?".
std::string utf8ToCp1251(const std::string& text);

// Windows-1251 byte for a code point, or '?' when there is none.
char cp1251FromCodePoint(uint32_t codePoint);

// Appends a code point (up to U+10FFFF) as UTF-8.
void appendUtf8(std::string& out, uint32_t codePoint);

// Host text (Windows-1251) -> UTF-8, by the same table.
std::string cp1251ToUtf8(const std::string& text);
