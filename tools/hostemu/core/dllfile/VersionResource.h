#pragma once
// A Windows program's version resource read from its file's bytes, so that
// an installer can tell two builds of brisvane.dll apart without loading one
// (a 64-bit or damaged file is read as well as a good one).
// Platform-neutral; never throws on any input.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "cli/ExitStatus.h"

class Output;

struct VersionResource {
    std::string machine;       // "32-bit x86", "64-bit x64", or "machine 0x..."
    uint16_t machineCode = 0;  // the PE header's machine field
    bool hasFixed = false;     // the numeric part (VS_FIXEDFILEINFO)
    uint16_t fileVersion[4] = {};
    uint16_t productVersion[4] = {};
    // The StringFileInfo values (FileVersion, ProductVersion, ...) as UTF-8,
    // in file order, of the first string table.
    std::vector<std::pair<std::string, std::string>> strings;

    std::string value(const std::string& key) const;
};

// False, with the reason in `why` (a message key), when `bytes` are no Windows program or it
// carries no version resource.
bool readVersionResource(const std::string& bytes, VersionResource& out, Msg& why);

// The version command: the file's path and its version resource. kDone
// printed; kFound when the file cannot be read, is no Windows program or has
// no version resource.
ExitStatus runVersion(const std::string& path, Output& output);
