// taperVolume: merchantable cubic volume to a top diameter from the built-in total-volume, taper
// and volume-ratio equations. The merchantable height is found by descending from the tip in
// one-foot steps until the stem diameter reaches the top diameter, refining upward in tenths
// of a foot when a step overshoots.
#include <cmath>

#include "engine/equations/TreeEquations.h"

namespace orr {

namespace {

// Height of the stump section below which the equations do not reach.
constexpr double kStumpHeight = 4.0;
// Half the width of the window around the top diameter that counts as reached.
constexpr double kTopWindow = 0.025;
// The descent takes at most this many one-foot steps. No tree is that tall; a height computed
// from odd coefficients can be (millions of feet), and would otherwise keep the step busy for
// hours. Beyond it the descent has run out, as it does at the stump of a real tree.
constexpr long long kMostDescentSteps = 2000;

struct TaperRow {
    double TPD, TPH, TP1, TP2, TP3, TP4, TP0;
};

// Polynomial part of the taper and volume-ratio equations in the relative depth r:
// c1 (r - 1) + c2 (r^2 - 1) + c3 (r^3 - 1) + c4 (r^4 - 1).
double depthTerms(double r, double c1, double c2, double c3, double c4) {
    return c1 * (r - 1.0) + c2 * (std::pow(r, 2.0) - 1.0) + c3 * (std::pow(r, 3.0) - 1.0) +
           c4 * (std::pow(r, 4.0) - 1.0);
}

// The taper value y(h); the stem diameter at h is (y + 1) * dbh.
double taperValue(const TaperRow& c, double dbh, double height, double h) {
    const double r = (height - h) / (height - kStumpHeight);
    return c.TPD * dbh + c.TPH * height + depthTerms(r, c.TP1, c.TP2, c.TP3, c.TP4) + c.TP0;
}

// The merchantable height: where the stem diameter reaches ptip, searched from the tip down.
double merchantableHeight(const TaperRow& c, double dbh, double height, float ptip) {
    const double lower = static_cast<double>(ptip) - kTopWindow;
    const double upper = static_cast<double>(ptip) + kTopWindow;
    double h = 0.0;
    for (long long x = 1; x <= height - kStumpHeight && x <= kMostDescentSteps; ++x) {
        h = height - x;
        const double y = taperValue(c, dbh, height, h);
        if (y + 1.0 < 0.0) continue;
        const double d = (y + 1.0) * dbh;
        if (d < lower) continue;
        if (d <= upper) return h;
        // The step went past the top diameter: move back up in tenths of a foot.
        for (int refinement = 0; refinement < 9; ++refinement) {
            h = h + 0.1;
            const double yr = taperValue(c, dbh, height, h);
            if (yr + 1.0 < 0.0) return h;
            if ((yr + 1.0) * dbh <= upper) return h;
        }
        return h;
    }
    // The descent ran out (or never ran, for a tree under 5 feet): just above its last step.
    return h + 0.05;
}

}  // namespace

double taperVolume(std::int16_t species, double dbh, double height, float ptip) {
    // Species above 5 borrow the row of species 3; a code below 0 has no row and gets row 0,
    // whose coefficients are all 0.
    const int k = species < 0 ? 0 : (species <= 5 ? species : 3);
    if (!(height > kStumpHeight)) return 0.0;
    if (!std::isfinite(height) || !std::isfinite(dbh)) return 0.0;

    const TaperTables& t = taperTables();
    const double totalVolume = static_cast<double>(t.TV0[k]) * std::pow(dbh, double{t.TVD[k]}) *
                               std::pow(height, double{t.TVH[k]});
    const TaperRow taper{t.TPD[k], t.TPH[k], t.TP1[k], t.TP2[k], t.TP3[k], t.TP4[k], t.TP0[k]};
    const double hm = merchantableHeight(taper, dbh, height, ptip);

    const double r = (height - hm) / (height - kStumpHeight);
    const double z = t.VRD[k] * dbh + t.VRH[k] * height +
                     depthTerms(r, t.VR1[k], t.VR2[k], t.VR3[k], t.VR4[k]) + t.VR0[k];
    const double volume = z <= 0.0 ? (1.0 + z) * totalVolume : totalVolume;
    // A negative DBH (no real power) or an overflow gives no volume rather than NaN or inf.
    return std::isfinite(volume) ? volume : 0.0;
}

}  // namespace orr
