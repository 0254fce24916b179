// Reading numbers: the short decimals that fill the input files take a quick path, which must
// give exactly the double the general conversion gives, sign of zero and rounding included.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <random>
#include <string>

#include "core/NumberText.h"

namespace orr {
namespace {

double general(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value == 0 ? 0.0 : value;
}

TEST(ParseNumber, ShortDecimalsEqualTheGeneralConversionBitForBit) {
    std::mt19937_64 g(2024);
    for (int n = 0; n < 200000; ++n) {
        const int before = static_cast<int>(g() % 9);
        const int after = static_cast<int>(g() % 9);
        std::string text = g() % 4 == 0 ? "-" : "";
        for (int i = 0; i < before + 1; ++i) text += static_cast<char>('0' + g() % 10);
        if (after > 0) {
            text += '.';
            for (int i = 0; i < after; ++i) text += static_cast<char>('0' + g() % 10);
        }
        const auto value = parseNumber(text);
        ASSERT_TRUE(value.has_value()) << text;
        ASSERT_EQ(general(text), *value) << text;
        ASSERT_FALSE(std::signbit(*value) && *value == 0) << text;
    }
}

TEST(ParseNumber, DecimalsAtTheEdgeOfTheQuickPath) {
    // Fifteen digits are read exactly; sixteen and more go the general way; both round alike.
    for (const char* text : {"999999999999999", "0.00000000000001", "12345678.9012345",
                             "9007199254740993", "0.1000000000000000055511151231257827",
                             "123456789012345678901234567890", "-0.000", "-0", "0.5", "7."}) {
        const auto value = parseNumber(text);
        ASSERT_TRUE(value.has_value()) << text;
        EXPECT_EQ(general(text), *value) << text;
    }
}

TEST(ParseNumber, WhatIsNotAPlainNumberIsStillRefused) {
    for (const char* text :
         {"-", ".", "-.", "1.2.3", "1-2", "--1", "1,5", "NaN", "inf", "1e400", "0x10", "12a", ""}) {
        EXPECT_FALSE(parseNumber(text).has_value()) << text;
    }
    EXPECT_EQ(1e300, parseNumber("1e300"));
    EXPECT_EQ(0.5, parseNumber(".5"));
}

}  // namespace
}  // namespace orr
