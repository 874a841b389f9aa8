#pragma once
#include <cstddef>
#include <exception>
#include <optional>
#include <string_view>

// The host's check text: its bytes up to the first zero byte, and never more
// than InpLen (a buffer with no zero byte ends after InpLen bytes).
std::string_view hostText(const char* InpBuf, std::size_t InpLen);

// The bytes from the first `open` marker up to and including the first `close`
// marker. A block with only one of its markers, or with the closing marker
// first, counts as absent, like one with neither.
std::optional<std::string_view> extractBlock(std::string_view text, std::string_view open,
                                             std::string_view close);

// How the check part of the text is cut for the parser: a prefix of the text,
// plus a patch that closes the elements left open in case 4.
struct CheckCut {
    int caseNumber;            // 1 to 4
    std::size_t prefixLength;  // bytes taken from the start of the text
    std::string_view patch;    // appended after the prefix
    const char* dumpTag;       // log dump tag, or nullptr for no dump
    const char* debugFile;     // debug copy, or nullptr for none
    bool lookUpCheckData;      // case 2 has no CHECKDATA to look for
};

// A closing marker that the cut needs is missing.
class CheckCutImpossible : public std::exception {};

// Chooses the case by where "</CHECK>" and "<CHECKDATA" stand.
// Throws CheckCutImpossible when "</CHECK>" (or, in cases 3 and 4,
// "</CHECKDATA>") is missing.
CheckCut cutCheck(std::string_view text);
