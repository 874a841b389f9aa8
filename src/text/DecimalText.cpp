#include "text/DecimalText.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// For a number that from_chars found out of range (its text is [p, end)):
// whether its magnitude is above the largest double rather than below the
// smallest. The decimal exponent of its first significant digit decides;
// counting is saturated so that no exponent text can overflow it.
bool tooLarge(const char* p, const char* end) {
    constexpr long long kCap = 1LL << 40;
    if (*p == '-' || *p == '+') ++p;
    long long lead = 0;  // exponent of the first significant digit, before "e"
    bool seen = false;
    bool afterPoint = false;
    for (; p < end && (isDigit(*p) || *p == '.'); ++p) {
        if (*p == '.') {
            afterPoint = true;
        } else if (!seen && *p == '0') {
            if (afterPoint && lead > -kCap) --lead;
        } else if (!seen) {
            seen = true;
            if (afterPoint && lead > -kCap) --lead;
        } else if (!afterPoint && lead < kCap) {
            ++lead;
        }
    }
    long long exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool negative = *p == '-';
        if (*p == '-' || *p == '+') ++p;
        for (; p < end && isDigit(*p); ++p)
            if (exponent < kCap) exponent = exponent * 10 + (*p - '0');
        if (negative) exponent = -exponent;
    }
    return lead + exponent >= 0;
}

}  // namespace

bool parseLeadingDouble(const char* text, double& value) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    if (*p == '+' && p[1] != '-') ++p;  // from_chars takes no plus sign
    const char* end = p + std::strlen(p);
    auto res = std::from_chars(p, end, value, std::chars_format::general);
    if (res.ec == std::errc::invalid_argument) return false;
    if (res.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: keep the sign and the magnitude
        // class, as stod would, without the C runtime (its strtod reads the
        // process locale's decimal separator, under which "1.5e400" reads as 1).
        const double magnitude =
            tooLarge(p, res.ptr) ? std::numeric_limits<double>::infinity() : 0.0;
        value = *p == '-' ? -magnitude : magnitude;
    }
    return true;
}

int32_t atoi32(const char* text) {
    const long long v = std::strtoll(text, nullptr, 10);
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}
