// Number text: the one place that turns numbers into the texts of files, reports and the log,
// and that reads typed numbers back. Nothing is locale-dependent; "." is always the decimal point.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orr {

// 10^0 to 10^15, each an exact double: a whole number of at most 15 digits divided by one of
// them gives the correctly rounded decimal.
inline constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Shortest decimal text that reads back as the same double, always in fixed notation
// ("0.00001", never "1e-05"), with a zero before the point ("0.5"). -0 is written "0".
std::string shortest(double x);
// shortest(x) added to the end of `out`, padded as padField(shortest(x), width) does (width 0: not
// padded): the lines of the large files and the log are made this way, without a string per
// number.
void appendShortest(std::string& out, double x, int width = 0);
// The same for a single-precision value: 0.123456789f gives "0.1234568".
std::string shortestFloat(float x);

// The same texts written into a buffer of the caller's, for lines made by the million without a
// string operation per number: each writes at `at`, which has room for kShortestRoom characters,
// and returns the end of what it wrote (no padding). The room holds the fixed-notation text of
// any double: 309 digits before the point of the largest, 324 after it for the smallest, a sign
// and the point.
inline constexpr std::size_t kShortestRoom = 400;
// shortest(x).
char* writeShortest(char* at, double x);
// shortest(roundHalfEven(x, decimals)), as appendRoundedShortest makes it.
char* writeRoundedShortest(char* at, double x, int decimals);

// x rounded to `decimals` places, halves to the even neighbour, decided on the exact decimal
// value of the stored double (12.25 -> 12.2, 0.125 -> 0.12, 2.675 -> 2.67 because its double
// lies below 2.675). The result is the double nearest to the rounded decimal.
double roundHalfEven(double x, int decimals);
// shortest(roundHalfEven(x, decimals)).
std::string roundedText(double x, int decimals);
// appendShortest(out, roundHalfEven(x, decimals), width), made from the rounded digits without
// the rounded double for the usual magnitudes (the numbers of millions of lines).
void appendRoundedShortest(std::string& out, double x, int decimals, int width = 0);

// Whole number nearest to x, halves to even, without any range limit (CInt of the reports).
long long nearestWholeHalfEven(double x);
// The same, but only when the result fits a 16-bit signed integer.
std::optional<std::int16_t> toInt16(double x);

// Print style of the LiDAR plot files: " 12.5 ", " .5 ", "-3 ": the shortest text without a
// zero before the point, preceded by a blank (or the minus sign) and followed by a blank.
std::string printStyle(double x);
// printStyle(x) added to the end of `out`.
void appendPrintStyle(std::string& out, double x);
// signedShortestNoLeadingZero: a blank for x >= 0 or "-" for x < 0, then the shortest text of |x|
// without a zero before the point (0.45 -> " .45", 3 -> " 3", -0.5 -> "-.5").
std::string signedShortestNoLeadingZero(double x);
// padField(signedShortestNoLeadingZero(x), width) added to the end of `out` (width 0: not padded).
void appendSignedShortestNoLeadingZero(std::string& out, double x, int width = 0);
// The same from the shortest text of |x| (`magnitude`) and its sign, for a number whose text is
// made already, written at `at`, which has room for 1 + magnitude.size() + width characters;
// returns the end of what it wrote.
char* writeSignedNoLeadingZero(char* at, bool negative, std::string_view magnitude, int width);
// fixedDecimalsHalfAway(x, "0.0"), fixedDecimalsHalfAway(x, "0.00"), fixedDecimalsHalfAway(x,
// "0.0000"): fixed decimals, at least one digit before the point, halves away from zero (on the
// exact value of the double), minus sign for negatives. Any other pattern of the form "0" or
// "0.0...0" works the same way.
std::string fixedDecimalsHalfAway(double x, std::string_view pattern);

// A field padded to `width`: the text followed by (width - L) blanks, where L is the length of
// the text without leading and trailing blanks. A wider text gets no blanks and is not cut.
std::string padField(std::string_view text, int width);
// A caption padded to `width`: the caption followed by (width - its length) blanks, none when
// it is already as long.
std::string padCaption(std::string_view caption, int width);
// n blanks.
std::string blanks(int n);

// Strict number reading: the whole text (blanks around it allowed) must be one finite decimal
// number ("12", "-0.5", ".5", "+3", "1e3"); otherwise nullopt. -0 reads as 0.
std::optional<double> parseNumber(std::string_view text);
// The number a typed text begins with (leading blanks skipped); 0 when it begins with none.
// "2.6 trees" gives 2.6, "x2" gives 0.
double leadingNumber(std::string_view text);

}  // namespace orr
