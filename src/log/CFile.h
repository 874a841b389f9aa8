#pragma once
// A C stdio file closed on every way out. The module uses C stdio rather than
// iostreams: the latter bring their locale machinery into the DLL.
#include <cstdio>
#include <memory>

struct CFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using CFile = std::unique_ptr<std::FILE, CFileCloser>;

inline CFile openCFile(const char* name, const char* mode) { return CFile(std::fopen(name, mode)); }
