#include "text/DecimalText.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

bool parseLeadingDouble(const char* text, double& value) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    if (*p == '+' && p[1] != '-') ++p;  // from_chars takes no plus sign
    const char* end = p + std::strlen(p);
    auto res = std::from_chars(p, end, value, std::chars_format::general);
    if (res.ec == std::errc::invalid_argument) return false;
    if (res.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: keep the sign and the magnitude class.
        value = std::strtod(p, nullptr);
    }
    return true;
}

int32_t atoi32(const char* text) {
    const long long v = std::strtoll(text, nullptr, 10);
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}
