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
