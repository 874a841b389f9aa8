#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "text/DecimalText.h"
#include "text/TextCodec.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

// The same vectors run natively and in the DLL's build under Wine, so both
// conversions give the same bytes.
TEST(Utf8ToCp1251, ConvertsCyrillicAndReplacesTheRest) {
    EXPECT_EQ(utf8ToCp1251("Иванов Пётр"), "\xC8\xE2\xE0\xED\xEE\xE2 \xCF\xB8\xF2\xF0");
    EXPECT_EQ(utf8ToCp1251("ЁЖЯ ёжя"), "\xA8\xC6\xDF \xB8\xE6\xFF");
    EXPECT_EQ(utf8ToCp1251("№5 — «ok» €"),
              "\xB9"
              "5 \x97 \xAB"
              "ok\xBB \x88");
    EXPECT_EQ(utf8ToCp1251("Gold"), "Gold");
    EXPECT_EQ(utf8ToCp1251(""), "");
    EXPECT_EQ(utf8ToCp1251("中文"), "??");
    EXPECT_EQ(utf8ToCp1251("a😀b"), "a?b");  // one "?" per character, also beyond 16 bits
    EXPECT_EQ(utf8ToCp1251("café"), "caf?");
}

TEST(Utf8ToCp1251, MalformedInputBecomesQuestionMarks) {
    EXPECT_EQ(utf8ToCp1251("ab\xC3"), "ab?");  // truncated at the end
    EXPECT_EQ(utf8ToCp1251("\xC3(x"), "?(x");  // bad continuation byte
    EXPECT_EQ(utf8ToCp1251("\x80z"), "?z");    // lone continuation byte
    EXPECT_EQ(utf8ToCp1251("\xFF"), "?");
    EXPECT_EQ(utf8ToCp1251("\xE2\x82"), "?");  // truncated three-byte sequence
    EXPECT_EQ(utf8ToCp1251(std::string("a\0b", 3)), std::string("a\0b", 3));
}

#ifndef _WIN32
std::string referenceCp1251ToUtf8(unsigned char byte) {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char* ip = in;
    char* op = out;
    size_t il = 1, ol = sizeof out;
    size_t r = iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    return r == static_cast<size_t>(-1) ? std::string() : std::string(out, op - out);
}
#else
std::string referenceCp1251ToUtf8(unsigned char byte) {
    char in[1] = {static_cast<char>(byte)};
    wchar_t w[2] = {};
    if (MultiByteToWideChar(1251, MB_ERR_INVALID_CHARS, in, 1, w, 2) != 1) return std::string();
    char out[8] = {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w, 1, out, sizeof out, nullptr, nullptr);
    return std::string(out, n > 0 ? n : 0);
}
#endif

// Every byte of the code page's upper half comes back from its UTF-8 form,
// checked against the platform's own code page tables.
TEST(Utf8ToCp1251, RoundTripsEveryUpperHalfByteAgainstThePlatformTable) {
    int checked = 0;
    for (int b = 0x80; b <= 0xFF; ++b) {
        const std::string utf8 = referenceCp1251ToUtf8(static_cast<unsigned char>(b));
        if (utf8.empty() || utf8 == "\xEF\xBF\xBD") continue;  // unassigned in the table
        EXPECT_EQ(utf8ToCp1251(utf8), std::string(1, static_cast<char>(b))) << "byte " << b;
        ++checked;
    }
    EXPECT_GE(checked, 127);
}

// The way back, for showing host text: the platform's tables agree on every byte.
TEST(Cp1251ToUtf8, AgreesWithThePlatformTableOnEveryByte) {
    int checked = 0;
    for (int b = 0x01; b <= 0xFF; ++b) {
        const std::string utf8 = referenceCp1251ToUtf8(static_cast<unsigned char>(b));
        if (utf8.empty() || utf8 == "\xEF\xBF\xBD") continue;  // unassigned in the table
        EXPECT_EQ(cp1251ToUtf8(std::string(1, static_cast<char>(b))), utf8) << "byte " << b;
        ++checked;
    }
    EXPECT_GE(checked, 254);
    EXPECT_EQ(cp1251ToUtf8(std::string("a\0\xC0", 3)), std::string("a\0\xD0\x90", 4));
}

// Balances and quantities read the same whatever locale the host process set:
// under a comma locale the C runtime would read "1.5e400" as 1.
TEST(ParseLeadingDouble, ReadsEveryRangeTheSameUnderACommaLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const char* comma = nullptr;
    for (const char* name : {"ru_RU.UTF-8", "ru_RU.utf8", "Russian_Russia.1251", "Russian"}) {
        if (std::setlocale(LC_ALL, name) && *std::localeconv()->decimal_point == ',') {
            comma = name;
            break;
        }
    }
    ASSERT_NE(comma, nullptr) << "no locale with a decimal comma on this machine";
    const double inf = HUGE_VAL;
    const struct {
        const char* text;
        double value;
    } rows[] = {
        {"12.5abc", 12.5},
        {"  -3.999", -3.999},
        {"+7", 7},
        {"1.5e400", inf},
        {"-1.5e400", -inf},
        {"2.5e-400", 0},
        {"123456e305x", inf},
        {"0.000001e-320", 0},
        {"1e99999999999999999999", inf},
        {"0.5e309", inf},
        {"1e-99999999999999999999", 0},
    };
    for (const auto& row : rows) {
        double value = 42;
        EXPECT_TRUE(parseLeadingDouble(row.text, value)) << row.text;
        EXPECT_EQ(value, row.value) << row.text;
        EXPECT_EQ(std::signbit(value), std::signbit(row.value)) << row.text;
    }
    double value = 0;
    EXPECT_TRUE(parseLeadingDouble("-2.5e-400", value));
    EXPECT_TRUE(value == 0 && std::signbit(value));
    EXPECT_FALSE(parseLeadingDouble("abc", value));
    std::setlocale(LC_ALL, before.c_str());
}

}  // namespace
