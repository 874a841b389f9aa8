// hostemu: loads brisvane.dll the way a POS host does and calls its exports,
// so that an installation can be tried without a till.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: hostemu <folder> init\n"
                 "  Loads <folder>\\brisvane.dll with <folder> as working directory and runs\n"
                 "  the command, printing the result and the log entries it wrote.\n");
    return 2;
}

long long fileSize(const char* name) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(name, GetFileExInfoStandard, &data)) return 0;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void printLogFrom(long long offset) {
    std::FILE* f = std::fopen("brisvane.log", "rb");
    if (!f) {
        std::printf("(no brisvane.log)\n");
        return;
    }
    std::fseek(f, static_cast<long>(offset), SEEK_SET);
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        for (std::size_t i = 0; i < n; ++i)
            if (buf[i] != '\r') std::putchar(buf[i]);
    }
    std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return usage();
    const std::string folder = argv[1];
    const std::string command = argv[2];
    if (command != "init") return usage();
    if (!SetCurrentDirectoryA(folder.c_str())) {
        std::fprintf(stderr, "hostemu: cannot enter folder %s (error %lu)\n", folder.c_str(),
                     GetLastError());
        return 1;
    }
    HMODULE dll = LoadLibraryA(".\\brisvane.dll");
    if (!dll) {
        std::fprintf(stderr, "hostemu: cannot load %s\\brisvane.dll (error %lu)\n", folder.c_str(),
                     GetLastError());
        return 1;
    }
    using InitFn = int32_t(__stdcall*)();
    auto init = reinterpret_cast<InitFn>(GetProcAddress(dll, "Init"));
    if (!init) {
        std::fprintf(stderr, "hostemu: brisvane.dll does not export Init\n");
        FreeLibrary(dll);
        return 1;
    }
    long long before = fileSize("brisvane.log");
    int32_t result = init();
    std::printf("Init returned %d\n--- log entries written by this call ---\n", result);
    printLogFrom(before);
    FreeLibrary(dll);
    return 0;
}
