#include "engine/doublesample/StudentT.h"

#include <cmath>
#include <initializer_list>

namespace orr {

double studentT(int df, float alpha) {
    if (df == 0) return 0;
    const double p = static_cast<double>(alpha);
    // Normal quantile of the upper p/2 tail (Hastings' rational approximation).
    const double w = std::sqrt(std::log(4.0 / (p * p)));
    const double z = w - (2.515517 + 0.802853 * w + 0.010328 * w * w) /
                             (1 + 1.432788 * w + 0.189269 * w * w + 0.001308 * w * w * w);
    const double z2 = z * z;
    const double z3 = z2 * z;
    const double z5 = z3 * z2;
    const double z7 = z5 * z2;
    const double z9 = z7 * z2;
    const double g1 = (z3 + z) / 4;
    const double g2 = (5 * z5 + 16 * z3 + 3 * z) / 96;
    const double g3 = (3 * z7 + 19 * z5 + 17 * z3 - 15 * z) / 384;
    const double g4 = (79 * z9 + 776 * z7 + 1482 * z5 - 1920 * z3 - 945 * z) / 92160;
    // z + g1/df + g2/df^2 + g3/df^3 + g4/df^4, evaluated from the innermost term.
    double a = 0;
    for (const double g : {g4, g3, g2, g1}) a = (g + a) / df;
    return z + a;
}

}  // namespace orr

namespace orr {

namespace {

// The continued fraction of the incomplete beta function (modified Lentz), valid and quickly
// converging for x < (a + 1) / (a + b + 2).
double betaContinuedFraction(double a, double b, double x) {
    constexpr double kTiny = 1e-300;
    constexpr double kEpsilon = 1e-16;
    double c = 1;
    double d = 1 - (a + b) * x / (a + 1);
    if (std::fabs(d) < kTiny) d = kTiny;
    d = 1 / d;
    double h = d;
    for (int m = 1; m <= 10000; ++m) {
        const double m2 = 2.0 * m;
        double step = m * (b - m) * x / ((a + m2 - 1) * (a + m2));
        d = 1 + step * d;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = 1 + step / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1 / d;
        h *= d * c;
        step = -(a + m) * (a + b + m) * x / ((a + m2) * (a + m2 + 1));
        d = 1 + step * d;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = 1 + step / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1 / d;
        const double change = d * c;
        h *= change;
        if (std::fabs(change - 1) < kEpsilon) break;
    }
    return h;
}

// The regularized incomplete beta function I_x(a, b).
double regularizedBeta(double x, double a, double b) {
    if (x <= 0) return 0;
    if (x >= 1) return 1;
    const double logFront =
        std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x);
    if (x < (a + 1) / (a + b + 2)) return std::exp(logFront) * betaContinuedFraction(a, b, x) / a;
    return 1 - std::exp(logFront) * betaContinuedFraction(b, a, 1 - x) / b;
}

}  // namespace

double studentTTail(double df, double t) {
    const double x = df / (df + t * t);
    return regularizedBeta(x, df / 2, 0.5);
}

double studentTQuantile(double df, double alpha) {
    if (!(df > 0) || !(alpha > 0) || !(alpha < 1)) return 0;
    // The tail probability falls as t grows: bisect until the interval cannot shrink further.
    double low = 0;
    double high = 1;
    while (studentTTail(df, high) > alpha) high *= 2;
    for (int i = 0; i < 2000; ++i) {
        const double middle = low + (high - low) / 2;
        if (middle <= low || middle >= high) break;
        (studentTTail(df, middle) > alpha ? low : high) = middle;
    }
    return low + (high - low) / 2;
}

}  // namespace orr
