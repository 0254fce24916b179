// The tree rule of a Phase 1 LiDAR tree. Equation 3 (pass 1) or 4 (pass 2) turns the LiDAR height
// into a ground height, equation 1 the ground height into a DBH; basal area and volume come from
// the tree equations. A power or logarithm without a real value gives 0, as in the tree
// equations, so no NaN or inf reaches a sum.
#include "engine/phase1/LidarTreeRule.h"

#include <cmath>

#include "core/NumberText.h"
#include "engine/equations/TreeEquations.h"

namespace orr::phase1 {

namespace {

constexpr int kDbhEquation = 1;
constexpr int kGroundHeightDs1 = 3;
constexpr int kGroundHeightDs2 = 4;

double finiteOrZero(double x) {
    return std::isfinite(x) ? x : 0.0;
}

// Whether the DBH rounded to 1 decimal (half to even) lies below the minimum. Rounding moves a
// value by at most 0.05, so only a DBH within reach of the minimum needs the exact rounding.
bool belowMinimum(double dbh, double minimum) {
    constexpr double kReach = 0.051;
    if (dbh >= minimum + kReach) return false;
    if (dbh < minimum - kReach) return true;
    return roundHalfEven(dbh, 1) < minimum;
}

}  // namespace

LidarTreeRule::LidarTreeRule(const CoefficientTable& coeff, const DbhLimits& limits,
                             const ParamRecord& params, int pass)
    : coeff_(coeff), limits_(limits), params_(params), pass_(pass) {}

double LidarTreeRule::groundHeight(int species, double h, int plotAge) const {
    // LiHgtAdj list position 0 is "Yes": the LiDAR height is adjusted to a ground height.
    if (params_.LiHgtAdj != 0) return h;
    const int equation = pass_ == 1 ? kGroundHeightDs1 : kGroundHeightDs2;
    const auto& b = coeff_.at(equation, species);
    // The DataSet 1 equation needs its exponent b2, the DataSet 2 equation its factor b1.
    if ((pass_ == 1 && b[2] == 0.0) || (pass_ != 1 && b[1] == 0.0)) throw MissingCoefficient();
    if (params_.ModelSet == 1) {
        return finiteOrZero(b[0] + b[1] * plotAge + b[2] * std::pow(h, b[3]));
    }
    return finiteOrZero(b[0] + b[1] * std::pow(h, b[2]));
}

double LidarTreeRule::dbhFromHeight(int species, double height, int plotAge) const {
    const auto& b = coeff_.at(kDbhEquation, species);
    const double lnH = std::log(height);
    if (params_.ModelSet == 1) {
        return finiteOrZero(std::exp(b[0] + b[1] * std::pow(lnH, b[2]) *
                                                std::pow(static_cast<double>(plotAge), b[3])));
    }
    return finiteOrZero(b[0] + b[1] * std::pow(lnH, b[2]));
}

std::optional<GroundTree> LidarTreeRule::compute(int species, double h, int plotAge) const {
    GroundTree tree;
    tree.height = groundHeight(species, h, plotAge);
    if (tree.height <= 0.0) return std::nullopt;
    const double dbh = dbhFromHeight(species, tree.height, plotAge);
    // There is no product class in Phase 1: the tree only has to reach product 1's minimum.
    const double minimum = limits_.maxProd >= 1 ? limits_.min(species, 1) : 0.0;
    if (belowMinimum(dbh, minimum)) return std::nullopt;
    tree.basalArea = treeBasalArea(dbh);
    tree.volume = treeVolume(coeff_, params_, species, dbh, tree.height);
    return tree;
}

}  // namespace orr::phase1
