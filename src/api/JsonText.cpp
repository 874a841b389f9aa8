#include "api/JsonText.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

void appendExponent(std::string& out, int k) {
    if (k < 0) {
        out += '-';
        k = -k;
    }
    out += std::to_string(k);
}

// rapidjson's Writer, but with the closest shortest digits for doubles (its
// own Grisu2 output is sometimes one unit off in the last digit).
class BodyWriter : public rapidjson::Writer<rapidjson::StringBuffer> {
  public:
    explicit BodyWriter(rapidjson::StringBuffer& out) : Writer(out) {}

    bool Double(double d) {
        const std::string text = formatJsonDouble(d);
        Prefix(rapidjson::kNumberType);
        for (char c : text) os_->Put(c);
        return EndValue(true);
    }
};

}  // namespace

std::string formatJsonDouble(double value) {
    if (!std::isfinite(value)) {
        throw BodyError(std::isnan(value) ? "a number is NaN" : "a number is infinite");
    }
    std::string out;
    if (value == 0) return std::signbit(value) ? "-0.0" : "0.0";
    if (value < 0) {
        out += '-';
        value = -value;
    }
    // Shortest round-trip digits as d.ddde±X, split into digits and exponent.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    const std::string sci(buf, res.ptr);
    const size_t e = sci.find('e');
    std::string digits = sci.substr(0, e);
    if (digits.size() > 1) digits.erase(1, 1);  // drop the decimal point
    const int exponent = std::atoi(sci.c_str() + e + 1);
    const int length = static_cast<int>(digits.size());
    const int k = exponent - (length - 1);  // value = digits * 10^k
    const int kk = length + k;              // 10^(kk-1) <= value < 10^kk

    if (k >= 0 && kk <= 21) {
        out += digits;
        out.append(static_cast<size_t>(k), '0');
        out += ".0";
    } else if (kk > 0 && kk <= 21) {
        out += digits.substr(0, static_cast<size_t>(kk));
        out += '.';
        out += digits.substr(static_cast<size_t>(kk));
    } else if (kk > -6 && kk <= 0) {
        out += "0.";
        out.append(static_cast<size_t>(-kk), '0');
        out += digits;
    } else if (length == 1) {
        out += digits;
        out += 'e';
        appendExponent(out, kk - 1);
    } else {
        out += digits[0];
        out += '.';
        out += digits.substr(1);
        out += 'e';
        appendExponent(out, kk - 1);
    }
    return out;
}

std::string writeJsonText(const rapidjson::Value& value) {
    rapidjson::StringBuffer buffer;
    BodyWriter writer(buffer);
    value.Accept(writer);
    return std::string(buffer.GetString(), buffer.GetSize());
}

void assignBodyText(std::vector<char>& body, const std::string& text) {
    body.assign(text.begin(), text.end());
    body.push_back('\0');
}
