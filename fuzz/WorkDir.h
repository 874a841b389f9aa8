#pragma once
// The module writes brisvane.log (and, for some checks, debug copies) into the
// working folder on every run: each fuzz target works in a folder of its own,
// on a memory file system where there is one, removed when the process ends.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace fuzzsupport {

inline std::filesystem::path& workDir() {
    static std::filesystem::path dir;
    return dir;
}

inline void removeWorkDir() {
    std::error_code ec;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
    std::filesystem::remove_all(workDir(), ec);
}

inline const std::filesystem::path& enterWorkDir(const std::string& target) {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    workDir() = base / ("brisvane-" + target + "-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(workDir());
    std::filesystem::current_path(workDir());
    std::atexit(removeWorkDir);
    return workDir();
}

}  // namespace fuzzsupport
