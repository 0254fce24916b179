#include "core/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace orr {

namespace {

// Fixed-notation text of x with exactly `decimals` digits after the point, from the exact binary
// value (to_chars is exact for any precision).
std::string fixedText(double x, int decimals) {
    std::string buf(std::size_t{400} + static_cast<std::size_t>(decimals), '\0');
    auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), x, std::chars_format::fixed, decimals);
    buf.resize(static_cast<std::size_t>(res.ptr - buf.data()));
    return buf;
}

// Digits of |x| to `decimals` places after the point, rounded by `mode` on the exact decimal
// value of the double. Returns the digits without sign or point: "1225" for 12.25 with 2
// decimals. mode 0: half to even, 1: half away from zero.
std::string roundedDigits(double magnitude, int decimals, int mode) {
    // A tie can only be told from its neighbours by the full expansion; ask for a generous
    // number of extra digits first and for the exact expansion only when they are all zero.
    constexpr int kExtra = 24;
    std::string text = fixedText(magnitude, decimals + kExtra);
    std::size_t point = text.find('.');
    std::string digits = text.substr(0, point) + text.substr(point + 1);
    std::size_t keep = digits.size() - kExtra;
    char next = digits[keep];
    bool roundUp = false;
    if (next > '5') {
        roundUp = true;
    } else if (next == '5') {
        if (mode == 1) {
            roundUp = true;
        } else {
            bool restZero = digits.find_first_not_of('0', keep + 1) == std::string::npos;
            if (restZero) {
                // Could still be above the tie beyond the digits asked for: look at all of them.
                std::string exact = fixedText(magnitude, 1100);
                std::size_t p = exact.find('.');
                std::string all = exact.substr(0, p) + exact.substr(p + 1);
                restZero = all.find_first_not_of('0', keep + 1) == std::string::npos;
            }
            if (!restZero) {
                roundUp = true;
            } else {
                char last = keep > 0 ? digits[keep - 1] : '0';
                roundUp = ((last - '0') % 2) == 1;
            }
        }
    }
    digits.resize(keep);
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
            digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
        } else {
            ++digits[static_cast<std::size_t>(i)];
        }
    }
    return digits;
}

// Inserts the point `decimals` places from the right of a digit string; keeps one digit before
// the point.
std::string withPoint(std::string digits, int decimals) {
    while (static_cast<int>(digits.size()) <= decimals) digits.insert(digits.begin(), '0');
    // Drop surplus leading zeros before the point.
    std::size_t intLen = digits.size() - static_cast<std::size_t>(decimals);
    std::size_t firstNonZero = digits.find_first_not_of('0');
    std::size_t drop =
        std::min(intLen - 1, firstNonZero == std::string::npos ? intLen - 1 : firstNonZero);
    digits.erase(0, drop);
    if (decimals > 0) digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
    return digits;
}

double parseExact(std::string_view text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// The common case of a plain decimal of at most 15 digits ("12", "-3.75"): both the digits as a
// whole number and the power of ten are exact doubles, so one division gives the correctly
// rounded value, the same as from_chars. Anything else (an exponent, a point without digits on
// both sides, more digits) is left to the general path.
std::optional<double> plainDecimal(std::string_view text) {
    constexpr long kMostDigits = 15;
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p < end && *p == '-';
    if (negative) ++p;
    // Digits beyond the fifteenth may wrap `digits` around; such a text is refused below.
    std::uint64_t digits = 0;
    const char* const wholeStart = p;
    while (p < end && static_cast<unsigned char>(*p - '0') < 10) {
        digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
        ++p;
    }
    const long before = p - wholeStart;
    long after = 0;
    if (p < end) {
        if (*p != '.') return std::nullopt;
        const char* const fractionStart = ++p;
        while (p < end && static_cast<unsigned char>(*p - '0') < 10) {
            digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
            ++p;
        }
        after = p - fractionStart;
        if (after == 0 || p != end) return std::nullopt;
    }
    if (before == 0 || before + after > kMostDigits) return std::nullopt;
    const double whole = static_cast<double>(digits);
    const double value = after == 0 ? whole : whole / kPowersOfTen[after];
    return negative ? -value : value;
}

}  // namespace

namespace {

// writeScaled(at, hundredths, 2), the rounding of every basal area and volume of the files: the
// same digits, divided by a constant that the compiler turns into a multiplication.
inline char* writeHundredths(char* at, long long hundredths) {
    const auto digits = static_cast<unsigned long long>(hundredths < 0 ? -hundredths : hundredths);
    if (hundredths < 0) *at++ = '-';
    at = std::to_chars(at, at + 20, digits / 100).ptr;
    const auto fraction = static_cast<unsigned>(digits % 100);
    if (fraction == 0) return at;
    *at++ = '.';
    *at++ = static_cast<char>('0' + fraction / 10);
    if (fraction % 10 != 0) *at++ = static_cast<char>('0' + fraction % 10);
    return at;
}

// writeScaled for any other number of decimals.
[[gnu::noinline]] char* writeScaledDigits(char* at, long long scaled, int decimals) {
    const auto digits = static_cast<unsigned long long>(scaled < 0 ? -scaled : scaled);
    const auto power = static_cast<unsigned long long>(kPowersOfTen[decimals]);
    if (scaled < 0) *at++ = '-';
    at = std::to_chars(at, at + 20, digits / power).ptr;
    unsigned long long fraction = digits % power;
    if (fraction == 0) return at;
    *at++ = '.';
    int places = decimals;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --places;
    }
    // The fraction's digits, with the zeros after the point that lead them.
    char* const start = at;
    at += places;
    for (char* p = at; p > start; fraction /= 10) *--p = static_cast<char>('0' + fraction % 10);
    return at;
}

// The decimal scaled / 10^decimals written at `at` (room for a sign, 20 digits and the point),
// its trailing zeros after the point dropped and the point with them; returns its end.
inline char* writeScaled(char* at, long long scaled, int decimals) {
    return decimals == 2 ? writeHundredths(at, scaled) : writeScaledDigits(at, scaled, decimals);
}

void padTo(std::string& out, std::ptrdiff_t length, int width) {
    if (width > length) out.append(static_cast<std::size_t>(width - length), ' ');
}

}  // namespace

char* writeShortest(char* at, double x) {
    if (x == 0 || !std::isfinite(x)) {
        *at = '0';
        return at + 1;
    }
    // A whole number below 2^53 is written with the digits of the integer (plots, codes and
    // counts: most of the numbers of the files and the log).
    if (std::fabs(x) < 0x1p53 && x == std::trunc(x))
        return std::to_chars(at, at + kShortestRoom, static_cast<long long>(x)).ptr;
    // A double nearest to a whole number of hundredths below 10^15 (the rounded basal areas and
    // volumes of the files): that decimal, its trailing zeros dropped. No other decimal of at most
    // fifteen significant digits gives the same double, so it is the shortest text.
    if (std::fabs(x) < 1e13) {
        const auto hundredths = std::llround(x * 100);
        if (static_cast<double>(hundredths) / 100 == x) return writeScaled(at, hundredths, 2);
    }
    return std::to_chars(at, at + kShortestRoom, x, std::chars_format::fixed).ptr;
}

std::string shortest(double x) {
    char buf[kShortestRoom];
    return std::string(buf, writeShortest(buf, x));
}

void appendShortest(std::string& out, double x, int width) {
    char buf[kShortestRoom];
    char* end = writeShortest(buf, x);
    out.append(buf, static_cast<std::size_t>(end - buf));
    padTo(out, end - buf, width);
}

std::string shortestFloat(float x) {
    if (x == 0 || !std::isfinite(x)) return "0";
    // A single-precision value is shown with at most seven significant digits, as few as
    // give back the same float: 0.123456789 is shown as 0.1234568.
    char buf[64];
    for (int precision = 0; precision < 7; ++precision) {
        auto res = std::to_chars(buf, buf + sizeof buf, static_cast<double>(x),
                                 std::chars_format::scientific, precision);
        float back = 0;
        std::from_chars(buf, res.ptr, back);
        if (back == x || precision == 6) {
            // Mantissa digits and exponent of "d.ddde-05" turned into fixed notation.
            std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
            std::size_t e = sci.find('e');
            bool negative = sci[0] == '-';
            std::string digits;
            for (char c : sci.substr(0, e))
                if (c >= '0' && c <= '9') digits += c;
            int exponent = 0;
            std::from_chars(sci.data() + e + 1 + (sci[e + 1] == '+' ? 1 : 0),
                            sci.data() + sci.size(), exponent);
            while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
            int intDigits = exponent + 1;
            std::string text;
            if (intDigits <= 0) {
                text = "0." + std::string(static_cast<std::size_t>(-intDigits), '0') + digits;
            } else if (static_cast<std::size_t>(intDigits) >= digits.size()) {
                text =
                    digits + std::string(static_cast<std::size_t>(intDigits) - digits.size(), '0');
            } else {
                text = digits.substr(0, static_cast<std::size_t>(intDigits)) + "." +
                       digits.substr(static_cast<std::size_t>(intDigits));
            }
            return negative ? "-" + text : text;
        }
    }
    return "0";
}

namespace {

// The whole number nearest to `scaled` (|scaled| below 2^51), found without a branch: adding
// 1.5 * 2^52 leaves no bits below the units, and the processor rounds to nearest; taking it away
// again is exact.
inline double nearestWhole(double scaled) {
    constexpr double kUnitsOnly = 0x1.8p52;
    return (scaled + kUnitsOnly) - kUnitsOnly;
}
// Whether `scaled` lies within a millionth of a half from `nearest`: then its own rounding error
// may decide the direction. The distance is exact below 2^52.
inline bool nearHalf(double scaled, double nearest) {
    return std::fabs(std::fabs(scaled - nearest) - 0.5) <= 1e-6;
}

// scaled = x * power rounded to a whole number when it lies within a millionth of a half: the
// product's rounding error decides. Away from the hot path of roundedScaled.
[[gnu::noinline]] double roundedNearHalf(double x, double power, double scaled) {
    const double floor = std::floor(scaled);
    const double frac = scaled - floor;  // exact below 2^52
    // x * power is exactly scaled + error (a fused multiply-add gives the error exactly), so it
    // lies above the half, below it, or on it (then to the even neighbour). Both terms of the sum
    // are exact, and its rounding keeps its sign and a zero.
    const double error = std::fma(x, power, -scaled);
    const double aboveHalf = (frac - 0.5) + error;
    if (aboveHalf > 0) return floor + 1;
    if (aboveHalf < 0) return floor;
    return std::fmod(floor, 2) == 0 ? floor : floor + 1;
}

// x * 10^decimals rounded to a whole number, halves to even on the exact value of x, when the
// product lies below 10^9 (then every step below is exact or decided exactly); nullopt otherwise.
// Inline: the basal areas and volumes of millions of lines are rounded through it.
inline std::optional<double> roundedScaled(double x, int decimals) {
    if (decimals < 0 || decimals > 8) return std::nullopt;
    const double power = kPowersOfTen[decimals];
    const double scaled = x * power;
    if (!(std::fabs(scaled) < 1.0e9)) return std::nullopt;
    // Away from a half the direction is plain.
    const double nearest = nearestWhole(scaled);
    if (!nearHalf(scaled, nearest)) return nearest;
    return roundedNearHalf(x, power, scaled);
}

}  // namespace

double roundHalfEven(double x, int decimals) {
    if (!std::isfinite(x) || x == 0) return 0;
    // Beyond 2^53 every double is already a whole number.
    if (std::fabs(x) >= 9007199254740992.0) return x;
    if (x == std::trunc(x)) return x;
    // To a whole number: the processor's own rounding (to nearest, a half to even) is exact.
    if (decimals == 0) {
        const double whole = std::nearbyint(x);
        return whole == 0 ? 0.0 : whole;
    }
    // Fast path: an integer divided by a power of ten gives the double nearest to the rounded
    // decimal.
    if (const std::optional<double> whole = roundedScaled(x, decimals)) {
        const double value = *whole / kPowersOfTen[decimals];
        return value == 0 ? 0.0 : value;
    }
    std::string text = withPoint(roundedDigits(std::fabs(x), decimals, 0), decimals);
    double value = parseExact(text);
    return x < 0 && value != 0 ? -value : value;
}

char* writeRoundedShortest(char* at, double x, int decimals) {
    // In the fast path of roundHalfEven the rounded value is the double nearest to a decimal of
    // at most nine significant digits, and no other decimal of at most fifteen gives that double:
    // its shortest text is that decimal, trailing zeros dropped (and the point with them). It is
    // written from the rounded whole number, without dividing and converting back.
    if (std::isfinite(x)) {
        if (const std::optional<double> whole = roundedScaled(x, decimals))
            return writeScaled(at, static_cast<long long>(*whole), decimals);
    }
    return writeShortest(at, roundHalfEven(x, decimals));
}

void appendRoundedShortest(std::string& out, double x, int decimals, int width) {
    char buf[kShortestRoom];
    char* const end = writeRoundedShortest(buf, x, decimals);
    out.append(buf, static_cast<std::size_t>(end - buf));
    padTo(out, end - buf, width);
}

std::string roundedText(double x, int decimals) {
    return shortest(roundHalfEven(x, decimals));
}

long long nearestWholeHalfEven(double x) {
    // A whole number needs no rounding (the common case of codes and plot numbers).
    if (x > -2147483648.0 && x < 2147483648.0) {
        const auto whole = static_cast<long long>(x);
        if (static_cast<double>(whole) == x) return whole;
    }
    double r = roundHalfEven(x, 0);
    if (r >= 9.2e18) return std::numeric_limits<long long>::max();
    if (r <= -9.2e18) return std::numeric_limits<long long>::min();
    return static_cast<long long>(r);
}

std::optional<std::int16_t> toInt16(double x) {
    if (x >= -32768.0 && x <= 32767.0) {
        const auto whole = static_cast<std::int16_t>(x);
        if (static_cast<double>(whole) == x) return whole;
    }
    if (!std::isfinite(x)) return std::nullopt;
    double r = roundHalfEven(x, 0);
    if (r < -32768 || r > 32767) return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::string printStyle(double x) {
    std::string text;
    appendPrintStyle(text, x);
    return text;
}

void appendPrintStyle(std::string& out, double x) {
    appendSignedShortestNoLeadingZero(out, x);
    out += ' ';
}

std::string signedShortestNoLeadingZero(double x) {
    std::string text;
    appendSignedShortestNoLeadingZero(text, x);
    return text;
}

void appendSignedShortestNoLeadingZero(std::string& out, double x, int width) {
    char buf[kShortestRoom];
    const std::string_view magnitude(
        buf, static_cast<std::size_t>(writeShortest(buf, x < 0 ? -x : x) - buf));
    const std::size_t start = out.size();
    out.resize(start + 1 + magnitude.size() + static_cast<std::size_t>(std::max(width, 0)));
    char* const end = writeSignedNoLeadingZero(out.data() + start, x < 0, magnitude, width);
    out.resize(static_cast<std::size_t>(end - out.data()));
}

char* writeSignedNoLeadingZero(char* at, bool negative, std::string_view magnitude, int width) {
    if (magnitude.size() > 1 && magnitude.starts_with("0.")) magnitude.remove_prefix(1);
    *at++ = negative ? '-' : ' ';
    at = std::copy(magnitude.begin(), magnitude.end(), at);
    // The padding counts the minus sign but not the blank that stands for a plus.
    const auto length = static_cast<std::ptrdiff_t>(magnitude.size()) + (negative ? 1 : 0);
    if (width > length) at = std::fill_n(at, width - length, ' ');
    return at;
}

std::string fixedDecimalsHalfAway(double x, std::string_view pattern) {
    std::size_t point = pattern.find('.');
    int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
    if (!std::isfinite(x)) x = 0;
    std::string text = withPoint(roundedDigits(std::fabs(x), decimals, 1), decimals);
    bool zero = text.find_first_not_of("0.") == std::string::npos;
    return (x < 0 && !zero) ? "-" + text : text;
}

std::string padField(std::string_view text, int width) {
    std::size_t first = text.find_first_not_of(' ');
    std::size_t last = text.find_last_not_of(' ');
    int trimmed = first == std::string_view::npos ? 0 : static_cast<int>(last - first + 1);
    std::string out(text);
    if (width > trimmed) out.append(static_cast<std::size_t>(width - trimmed), ' ');
    return out;
}

std::string padCaption(std::string_view caption, int width) {
    std::string out(caption);
    if (width > static_cast<int>(caption.size()))
        out.append(static_cast<std::size_t>(width) - caption.size(), ' ');
    return out;
}

std::string blanks(int n) {
    return std::string(n > 0 ? static_cast<std::size_t>(n) : 0, ' ');
}

std::optional<double> parseNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    if (text[0] == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    if (auto plain = plainDecimal(text)) return *plain == 0 ? 0.0 : *plain;
    // Only plain decimal numbers: digits, one point, an optional exponent. No "inf", "nan", hex.
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return std::nullopt;
    }
    double value = 0;
    auto res =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value == 0 ? 0.0 : value;
}

double leadingNumber(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos) return 0;
    std::size_t start = i;
    if (text[i] == '+' || text[i] == '-') ++i;
    bool digits = false;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, digits = true;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, digits = true;
    }
    if (!digits) return 0;
    // An exponent only when digits follow it.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && text[j] >= '0' && text[j] <= '9') {
            while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
            i = j;
        }
    }
    auto value = parseNumber(text.substr(start, i - start));
    return value.value_or(0);
}

}  // namespace orr
