#pragma once
#include <cstring>
#include <string>

// True when `s` begins with `prefix` (the log's phrases are read by their heads).
inline bool startsWith(const std::string& s, const char* prefix) {
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}
