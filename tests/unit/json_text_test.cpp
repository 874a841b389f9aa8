#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "api/JsonText.h"

namespace {

TEST(JsonDouble, ClosestShortestDigitsInRapidjsonLayout) {
    EXPECT_EQ(formatJsonDouble(static_cast<double>(0.1f + 0.2f)), "0.30000001192092896");
    EXPECT_EQ(formatJsonDouble(static_cast<double>(99.9f)), "99.9000015258789");
    EXPECT_EQ(formatJsonDouble(150), "150.0");
    EXPECT_EQ(formatJsonDouble(0), "0.0");
    EXPECT_EQ(formatJsonDouble(-0.0), "-0.0");
    EXPECT_EQ(formatJsonDouble(-100), "-100.0");
    EXPECT_EQ(formatJsonDouble(0.1), "0.1");
    EXPECT_EQ(formatJsonDouble(270), "270.0");
    EXPECT_EQ(formatJsonDouble(12.5), "12.5");
    // Whole numbers stay plain up to 21 digits, then switch to exponent form.
    EXPECT_EQ(formatJsonDouble(1e20), "100000000000000000000.0");
    EXPECT_EQ(formatJsonDouble(1e21), "1e21");
    EXPECT_EQ(formatJsonDouble(1.5e22), "1.5e22");
    EXPECT_EQ(formatJsonDouble(123456789012345678901234.0), "1.2345678901234569e23");
    // Small magnitudes: plain down to 1e-6, exponent form below.
    EXPECT_EQ(formatJsonDouble(0.000001), "0.000001");
    EXPECT_EQ(formatJsonDouble(1.5e-7), "1.5e-7");
    EXPECT_EQ(formatJsonDouble(1e-7), "1e-7");
    EXPECT_EQ(formatJsonDouble(-2.5e-300), "-2.5e-300");
    EXPECT_EQ(formatJsonDouble(std::numeric_limits<double>::max()), "1.7976931348623157e308");
}

TEST(JsonDouble, NonFiniteValuesAreRefused) {
    EXPECT_THROW(formatJsonDouble(std::numeric_limits<double>::infinity()), BodyError);
    EXPECT_THROW(formatJsonDouble(-std::numeric_limits<double>::infinity()), BodyError);
    EXPECT_THROW(formatJsonDouble(std::nan("")), BodyError);
    rapidjson::Document d(rapidjson::kObjectType);
    d.AddMember("Price", std::numeric_limits<double>::infinity(), d.GetAllocator());
    EXPECT_THROW(writeJsonText(d), BodyError);
}

TEST(JsonText, CompactWithStandardEscapes) {
    rapidjson::Document d(rapidjson::kObjectType);
    auto& a = d.GetAllocator();
    d.AddMember("A", rapidjson::Value("q\"b\\c\n\x01", a), a);
    d.AddMember("N", 2.0, a);
    rapidjson::Value arr(rapidjson::kArrayType);
    arr.PushBack(0.5, a);
    d.AddMember("L", arr, a);
    EXPECT_EQ(writeJsonText(d), "{\"A\":\"q\\\"b\\\\c\\n\\u0001\",\"N\":2.0,\"L\":[0.5]}");
    std::vector<char> body;
    assignBodyText(body, "{}");
    EXPECT_EQ(body, (std::vector<char>{'{', '}', '\0'}));
}

}  // namespace
