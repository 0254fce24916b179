// Number text: the texts of files, reports and the log, rounding worked by hand, and the reading
// of numbers (whose quick path for short decimals must give exactly the double the general
// conversion gives).
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <iomanip>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/NumberText.h"

namespace orr {
namespace {

TEST(NumberText, ShortestIsFixedAndRoundTrips) {
    EXPECT_EQ(shortest(1e21), "1000000000000000000000");
    EXPECT_EQ(shortest(-0.0), "0");
    EXPECT_EQ(shortest(0.1 + 0.2), "0.30000000000000004");
    // Whole numbers, written as integers below 2^53, as the general conversion writes them.
    std::mt19937_64 random(7);
    for (int i = 0; i < 2000; ++i) {
        const double whole =
            std::ldexp(static_cast<double>(random() >> 11), -(i % 54)) * (i % 2 == 0 ? 1 : -1);
        for (double x : {std::trunc(whole), std::nextafter(0x1p53, 0.0), -0x1p53, 0x1p53 + 2}) {
            char buf[400];
            const auto end = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed).ptr;
            ASSERT_EQ(shortest(x), x == 0 ? "0" : std::string(buf, end)) << x;
        }
    }
    // Hundredths and their neighbours, of every magnitude up to and past 10^13.
    for (int i = 0; i < 20000; ++i) {
        const auto n = static_cast<long long>(random() >> (11 + i % 50)) * (i % 2 == 0 ? 1 : -1);
        const double hundredths = static_cast<double>(n) / 100;
        for (double x : {hundredths, std::nextafter(hundredths, 1e300),
                         std::nextafter(hundredths, -1e300), static_cast<double>(n) / 10}) {
            char buf[400];
            const auto end = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed).ptr;
            ASSERT_EQ(shortest(x), x == 0 ? "0" : std::string(buf, end)) << n;
        }
    }
    EXPECT_EQ(shortest(-0.05), "-0.05");
    EXPECT_EQ(shortest(2960.6300000000001), "2960.63");
    EXPECT_EQ(shortestFloat(1e-5f), "0.00001");
    EXPECT_EQ(shortestFloat(16777216.0f), "16777220");  // seven significant digits at most
}

// The lines of the large files and the log are made by appending; they must be the texts of the
// padded fields, from the extremes of the doubles (the longest texts) to negative fractions.
TEST(NumberText, AppendedFieldsAreThePaddedTexts) {
    std::mt19937_64 random(11);
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  -0.5,
                                  3,
                                  -3,
                                  12345678,
                                  0.045,
                                  1e21,
                                  -1e-7,
                                  NAN,
                                  INFINITY,
                                  std::numeric_limits<double>::max(),
                                  -std::numeric_limits<double>::denorm_min()};
    for (int i = 0; i < 500; ++i)
        values.push_back(std::ldexp(static_cast<double>(random() >> 11), -40) - 4000.0);
    for (const double x : values) {
        for (const int width : {0, 3, 6, 8, 12}) {
            std::string out = "x";
            appendShortest(out, x, width);
            EXPECT_EQ(out, "x" + padField(shortest(x), width)) << x << " " << width;
            out = "x";
            appendSignedShortestNoLeadingZero(out, x, width);
            const std::string sign = x < 0 ? "-" : " ";
            std::string text = shortest(x < 0 ? -x : x);
            if (text.size() > 1 && text.starts_with("0.")) text.erase(0, 1);
            EXPECT_EQ(out, "x" + padField(sign + text, width)) << x << " " << width;
        }
    }
    EXPECT_EQ(signedShortestNoLeadingZero(-0.25), "-.25");
    EXPECT_EQ(signedShortestNoLeadingZero(0.25), " .25");
    // A number rounded and appended: the text of the rounded double, for hundredths (made from
    // the rounded digits) and other decimals, halves and their neighbours, whole numbers and
    // numbers beyond the hundredths made that way.
    for (double x : {2.675, 0.125, -0.125, 0.005, -0.005, -0.001, 1e7 - 0.005, 1e7 + 0.005,
                     9999999.995, 123.0, -40.0, 1e300}) {
        values.push_back(x);
        values.push_back(std::nextafter(x, 0.0));
        values.push_back(std::nextafter(x, 1e308));
    }
    for (int i = 0; i < 20000; ++i) {
        // Sums of basal areas and volumes times PACF, and exact halves of hundredths.
        const double hundredths = static_cast<double>(random() % 200000000) - 1e8;
        values.push_back(std::ldexp(static_cast<double>(random() >> 11), -30) * 0.37);
        values.push_back((hundredths + 0.5) / 100);
    }
    for (const double x : values) {
        for (const int decimals : {0, 1, 2, 3, 5, 8, 9}) {
            for (const int width : {0, 6, 10}) {
                std::string out = "x";
                appendRoundedShortest(out, x, decimals, width);
                EXPECT_EQ(out, "x" + padField(shortest(roundHalfEven(x, decimals)), width))
                    << x << " " << decimals << " " << width;
            }
        }
    }
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
    // To whole numbers: a hair either side of a half, large halves, and no -0.
    EXPECT_EQ(roundHalfEven(std::nextafter(2.5, 3.0), 0), 3);
    EXPECT_EQ(roundHalfEven(std::nextafter(3.5, 3.0), 0), 3);
    EXPECT_EQ(roundHalfEven(-std::nextafter(2.5, 3.0), 0), -3);
    EXPECT_EQ(roundHalfEven(4503599627370495.5, 0), 4503599627370496.0);
    EXPECT_EQ(roundHalfEven(4503599627370494.5, 0), 4503599627370494.0);
    EXPECT_FALSE(std::signbit(roundHalfEven(-0.5, 0)));
    EXPECT_EQ(nearestWholeHalfEven(2.5), 2);
    EXPECT_EQ(nearestWholeHalfEven(3.5), 4);
    EXPECT_EQ(nearestWholeHalfEven(-3.5), -4);
    EXPECT_EQ(nearestWholeHalfEven(40000.5), 40000);  // no 16-bit limit
    EXPECT_EQ(toInt16(32767.4), std::optional<std::int16_t>(32767));
    EXPECT_EQ(toInt16(-32768.5), std::optional<std::int16_t>(-32768));  // half to even
    EXPECT_EQ(toInt16(32767.5), std::nullopt);                          // rounds to 32768
}

// Half to even on the exact decimal value of a double, worked out from its full expansion: the
// reference for numbers at and a few units in the last place around halves.
double halfEvenFromExpansion(double x, int decimals) {
    std::string text(1200, '\0');
    text.resize(static_cast<std::size_t>(std::to_chars(text.data(), text.data() + text.size(),
                                                       std::fabs(x), std::chars_format::fixed, 1100)
                                             .ptr -
                                         text.data()));
    const std::size_t point = text.find('.');
    std::string kept = text.substr(0, point) + text.substr(point + 1, decimals);
    const std::string rest = text.substr(point + 1 + static_cast<std::size_t>(decimals));
    const bool aboveHalf =
        rest[0] > '5' || (rest[0] == '5' && rest.find_first_not_of('0', 1) != std::string::npos);
    const bool half = rest[0] == '5' && !aboveHalf;
    const bool odd = (kept.back() - '0') % 2 == 1;
    if (aboveHalf || (half && odd)) {  // add one in the last kept place
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
        if (i == 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[i - 1];
    }
    kept.insert(kept.size() - static_cast<std::size_t>(decimals), ".");
    double value = 0;
    std::from_chars(kept.data(), kept.data() + kept.size(), value);
    return x < 0 && value != 0 ? -value : value;
}

TEST(NumberText, HalvesAreToldFromTheirNeighboursByTheExactValue) {
    std::mt19937_64 random(11);
    for (int i = 0; i < 20000; ++i) {
        const int decimals = 1 + i % 4;
        const double power = std::pow(10.0, decimals);
        const double half =
            (static_cast<double>(random() % 2000000) + 0.5) / power * (i % 3 == 0 ? -1 : 1);
        double x = half;
        for (int step = 0; step < i % 4; ++step) x = std::nextafter(x, i % 2 == 0 ? 1e300 : -1e300);
        ASSERT_EQ(roundHalfEven(x, decimals), halfEvenFromExpansion(x, decimals))
            << std::setprecision(17) << x << " to " << decimals;
        // The written text, also a little further from the half (just inside and outside the
        // millionth of a unit where the exact value decides) and anywhere between two halves.
        const double unit = 1 / power;
        const double uniform = static_cast<double>(random() % 1000000) / 1e6;
        for (const double y : {x, half + 0.9e-6 * unit, half - 0.9e-6 * unit, half + 1.1e-6 * unit,
                               half - 1.1e-6 * unit, half + uniform * unit}) {
            char text[kShortestRoom];
            const std::string written(text, writeRoundedShortest(text, y, decimals));
            ASSERT_EQ(written, shortest(halfEvenFromExpansion(y, decimals)))
                << std::setprecision(17) << y << " to " << decimals;
        }
    }
    for (double x : {12.25, 0.125, 2.675, 1.005, -0.125, 0.0625, 1234.5625})
        for (int decimals : {1, 2, 3})
            EXPECT_EQ(roundHalfEven(x, decimals), halfEvenFromExpansion(x, decimals)) << x;
}

// Format (of the reports) rounds halves away from zero, on the stored value.
TEST(NumberText, FormatRoundsHalvesAwayFromZero) {
    EXPECT_EQ(fixedDecimalsHalfAway(0.45, "0.0"), "0.5");  // 0.45 lies above the half as a double
    EXPECT_EQ(fixedDecimalsHalfAway(0.25, "0.0"), "0.3");
    EXPECT_EQ(fixedDecimalsHalfAway(-0.25, "0.0"), "-0.3");
    EXPECT_EQ(fixedDecimalsHalfAway(2.675, "0.00"), "2.67");  // below the half: down
    EXPECT_EQ(fixedDecimalsHalfAway(0.125, "0.00"), "0.13");
    EXPECT_EQ(fixedDecimalsHalfAway(1, "0.0000"), "1.0000");
    EXPECT_EQ(fixedDecimalsHalfAway(-0.00004, "0.0000"), "0.0000");  // no minus sign on a zero
    EXPECT_EQ(fixedDecimalsHalfAway(9.96, "0.0"), "10.0");
    EXPECT_EQ(fixedDecimalsHalfAway(5.5, "0"), "6");
}

TEST(NumberText, ParsingIsStrictAndTypedTextTakesItsLeadingNumber) {
    EXPECT_EQ(parseNumber(" 12.5 "), 12.5);
    EXPECT_EQ(parseNumber(".5"), 0.5);
    EXPECT_EQ(parseNumber("+3"), 3);
    EXPECT_EQ(parseNumber("1e300"), 1e300);
    for (const char* text : {"-", ".", "-.", "1.2.3", "1-2", "--1", "1,5", "NaN", "inf", "1e400",
                             "0x10", "12a", "1.5x", ""})
        EXPECT_EQ(parseNumber(text), std::nullopt) << text;
    EXPECT_EQ(leadingNumber("  40000 trees"), 40000);
    EXPECT_EQ(leadingNumber("x2"), 0);
    EXPECT_EQ(leadingNumber("-1.5e2z"), -150);
    EXPECT_EQ(leadingNumber("3e"), 3);
    EXPECT_EQ(leadingNumber(""), 0);
}

double general(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value == 0 ? 0.0 : value;
}

TEST(NumberText, ShortDecimalsReadAsTheGeneralConversionBitForBit) {
    std::mt19937_64 g(2024);
    for (int n = 0; n < 200000; ++n) {
        std::string text = g() % 4 == 0 ? "-" : "";
        for (int i = static_cast<int>(g() % 9); i >= 0; --i) text += char('0' + g() % 10);
        if (const int after = static_cast<int>(g() % 9); after > 0) {
            text += '.';
            for (int i = 0; i < after; ++i) text += char('0' + g() % 10);
        }
        const auto value = parseNumber(text);
        ASSERT_TRUE(value.has_value()) << text;
        ASSERT_EQ(general(text), *value) << text;
        ASSERT_FALSE(std::signbit(*value) && *value == 0) << text;
    }
    // Fifteen digits are read exactly; sixteen and more go the general way; both round alike.
    for (const char* text : {"999999999999999", "0.00000000000001", "12345678.9012345",
                             "9007199254740993", "0.1000000000000000055511151231257827",
                             "123456789012345678901234567890", "-0.000", "-0", "7."}) {
        const auto value = parseNumber(text);
        ASSERT_TRUE(value.has_value()) << text;
        EXPECT_EQ(general(text), *value) << text;
        EXPECT_FALSE(std::signbit(*value)) << text;
    }
}

}  // namespace
}  // namespace orr
