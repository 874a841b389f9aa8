#include "check/InputCut.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::string_view kCheckEnd = "</CHECK>";  // "checkStrLen" in the case lines
constexpr std::string_view kCheckDataStart = "<CHECKDATA";
constexpr std::string_view kCheckDataEnd = "</CHECKDATA>";
constexpr std::string_view kCase4Patch = "</CHECKDATA>\n</CHECK>";
}  // namespace

std::string_view hostText(const char* InpBuf, std::size_t InpLen) {
    if (InpBuf == nullptr) return {};
    const void* zero = std::memchr(InpBuf, '\0', InpLen);
    return {InpBuf,
            zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - InpBuf) : InpLen};
}

std::optional<std::string_view> extractBlock(std::string_view text, std::string_view open,
                                             std::string_view close) {
    std::size_t a = text.find(open);
    std::size_t b = text.find(close);
    if (a == std::string_view::npos || b == std::string_view::npos || b < a) return std::nullopt;
    return text.substr(a, b - a + close.size());
}

CheckCut cutCheck(std::string_view text) {
    std::size_t s = text.find(kCheckEnd);
    if (s == std::string_view::npos) throw CheckCutImpossible();
    std::size_t throughCheck = s + kCheckEnd.size();

    if (text.size() <= throughCheck)
        return {1,       throughCheck, {}, "ELSE strlen(InpBuf) > s - InpBuf + checkStrLen",
                nullptr, true};

    std::size_t checkDataEnd = text.find(kCheckDataEnd);
    std::size_t startCheckData = text.find(kCheckDataStart);
    if (startCheckData == std::string_view::npos)
        return {2,
                throughCheck,
                {},
                "if(start_check_data == NULL)",
                "inputBuf_without_checkdata.txt",
                false};

    if (checkDataEnd == std::string_view::npos) throw CheckCutImpossible();
    if (startCheckData > s)
        return {3,
                checkDataEnd + kCheckDataEnd.size(),
                {},
                "if(s < start_check_data )",
                "inputBuf_checkdata_after_check.txt",
                true};

    // CHECKDATA opens inside or before the check: cut before whichever end comes
    // first and close both elements again.
    return {4, std::min(s, checkDataEnd), kCase4Patch, nullptr, nullptr, true};
}
