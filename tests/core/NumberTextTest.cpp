#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "core/NumberText.h"

namespace orr {
namespace {

TEST(NumberText, ShortestIsFixedAndRoundTrips) {
    EXPECT_EQ(shortest(0.5), "0.5");
    EXPECT_EQ(shortest(12), "12");
    EXPECT_EQ(shortest(-3.25), "-3.25");
    EXPECT_EQ(shortest(0.00001), "0.00001");
    EXPECT_EQ(shortest(1e21), "1000000000000000000000");
    EXPECT_EQ(shortest(-0.0), "0");
    EXPECT_EQ(shortest(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(shortestFloat(0.123456789f), "0.1234568");
    EXPECT_EQ(shortestFloat(1e-5f), "0.00001");
    EXPECT_EQ(shortestFloat(2.5f), "2.5");
    EXPECT_EQ(shortestFloat(-1234.5f), "-1234.5");
    EXPECT_EQ(shortestFloat(16777216.0f), "16777220");  // seven significant digits at most
    EXPECT_EQ(shortestFloat(0.1f), "0.1");
}

TEST(NumberText, HalfToEvenIsDecidedOnTheStoredValue) {
    EXPECT_EQ(roundedText(12.25, 1), "12.2");  // exactly a half: to even
    EXPECT_EQ(roundedText(0.125, 2), "0.12");
    EXPECT_EQ(roundedText(2.675, 2), "2.67");  // the double lies below 2.675
    EXPECT_EQ(roundedText(12.35, 1), "12.3");  // the double lies below 12.35
    EXPECT_EQ(roundedText(0.5, 0), "0");
    EXPECT_EQ(roundedText(1.5, 0), "2");
    EXPECT_EQ(roundedText(2.5, 0), "2");
    EXPECT_EQ(roundedText(-2.5, 0), "-2");
    EXPECT_EQ(roundedText(-0.4, 0), "0");  // no "-0"
    EXPECT_EQ(roundedText(9.995, 2), "9.99");
    EXPECT_EQ(roundedText(9.9951, 2), "10");
    EXPECT_EQ(roundedText(123456.789, 5), "123456.789");
    // A value a hair above the half, beyond the first digits of its expansion, rounds up.
    EXPECT_EQ(roundedText(0.5 + 1e-16, 0), "1");
    EXPECT_DOUBLE_EQ(roundHalfEven(1e300, 2), 1e300);
}

TEST(NumberText, IntegerConversionsRoundHalfToEven) {
    EXPECT_EQ(cintHalfEven(2.5), 2);
    EXPECT_EQ(cintHalfEven(3.5), 4);
    EXPECT_EQ(cintHalfEven(-3.5), -4);
    EXPECT_EQ(cintHalfEven(40000.5), 40000);  // no 16-bit limit
    EXPECT_EQ(toInt16(32767.4), std::optional<std::int16_t>(32767));
    EXPECT_EQ(toInt16(-32768), std::optional<std::int16_t>(-32768));
    EXPECT_EQ(toInt16(32767.5), std::nullopt);  // rounds to 32768
    EXPECT_EQ(toInt16(40000), std::nullopt);
}

TEST(NumberText, PrintStyleAndStrFormDropTheZeroBeforeThePoint) {
    EXPECT_EQ(printStyle(12.5), " 12.5 ");
    EXPECT_EQ(printStyle(0.5), " .5 ");
    EXPECT_EQ(printStyle(0), " 0 ");
    EXPECT_EQ(printStyle(-3), "-3 ");
    EXPECT_EQ(printStyle(-0.25), "-.25 ");
    EXPECT_EQ(StrForm(0.45), " .45");
    EXPECT_EQ(StrForm(3), " 3");
    EXPECT_EQ(StrForm(-0.5), "-.5");
    EXPECT_EQ(StrForm(0), " 0");
}

TEST(NumberText, FormatRoundsHalvesAwayFromZero) {
    EXPECT_EQ(Format(0.45, "0.0"), "0.5");  // 0.45 lies above the half as a double
    EXPECT_EQ(Format(0.25, "0.0"), "0.3");
    EXPECT_EQ(Format(-0.25, "0.0"), "-0.3");
    EXPECT_EQ(Format(2.675, "0.00"), "2.67");  // below the half: down
    EXPECT_EQ(Format(0.125, "0.00"), "0.13");
    EXPECT_EQ(Format(1, "0.0000"), "1.0000");
    EXPECT_EQ(Format(0.00004, "0.0000"), "0.0000");
    EXPECT_EQ(Format(-0.00004, "0.0000"), "0.0000");  // no minus sign on a zero
    EXPECT_EQ(Format(123.456, "0.00"), "123.46");
    EXPECT_EQ(Format(9.96, "0.0"), "10.0");
    EXPECT_EQ(Format(5.5, "0"), "6");
}

TEST(NumberText, PaddingCountsTheTrimmedTextAndNeverCuts) {
    EXPECT_EQ(padField(" 0", 5), " 0    ");  // a StrForm field takes w + 1 characters
    EXPECT_EQ(padField("0.5", 5), "0.5  ");
    EXPECT_EQ(padField(" 123456", 5), " 123456");  // wider: no blanks, not cut
    EXPECT_EQ(padCaption("St", 6), "St    ");
    EXPECT_EQ(padCaption("Independ", 4), "Independ");
    EXPECT_EQ(blanks(3), "   ");
    EXPECT_EQ(blanks(-1), "");
}

TEST(NumberText, ParsingIsStrictAndTypedTextTakesItsLeadingNumber) {
    EXPECT_EQ(parseNumber(" 12.5 "), 12.5);
    EXPECT_EQ(parseNumber(".5"), 0.5);
    EXPECT_EQ(parseNumber("+3"), 3);
    EXPECT_EQ(parseNumber("1e3"), 1000);
    EXPECT_EQ(parseNumber("-0"), 0);
    EXPECT_EQ(parseNumber(""), std::nullopt);
    EXPECT_EQ(parseNumber("abc"), std::nullopt);
    EXPECT_EQ(parseNumber("1e400"), std::nullopt);
    EXPECT_EQ(parseNumber("NaN"), std::nullopt);
    EXPECT_EQ(parseNumber("inf"), std::nullopt);
    EXPECT_EQ(parseNumber("1.5x"), std::nullopt);
    EXPECT_EQ(parseNumber("0x10"), std::nullopt);
    EXPECT_EQ(leadingNumber("2.6"), 2.6);
    EXPECT_EQ(leadingNumber("  40000 trees"), 40000);
    EXPECT_EQ(leadingNumber("x2"), 0);
    EXPECT_EQ(leadingNumber("-1.5e2z"), -150);
    EXPECT_EQ(leadingNumber("3e"), 3);
    EXPECT_EQ(leadingNumber(""), 0);
}

}  // namespace
}  // namespace orr

namespace orr {
namespace {

// The C library's printf rounds the exact binary value half to even: an independent reference.
TEST(NumberText, RoundingAgreesWithTheExactDecimalExpansion) {
    std::mt19937_64 g(42);
    std::uniform_real_distribution<double> any(-5000.0, 5000.0);
    for (int i = 0; i < 20000; ++i) {
        // Many values on exact halves and quarters, the rest arbitrary.
        double x = i % 3 == 0 ? std::round(any(g) * 8) / 8 : any(g);
        for (int decimals : {0, 1, 2, 5}) {
            char ref[64];
            std::snprintf(ref, sizeof ref, "%.*f", decimals, x);
            ASSERT_EQ(roundHalfEven(x, decimals), std::strtod(ref, nullptr))
                << "x=" << shortest(x) << " decimals=" << decimals;
        }
    }
}

}  // namespace
}  // namespace orr
