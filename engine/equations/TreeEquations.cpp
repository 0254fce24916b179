// Basal area, predicted height and tree volume of one tree.
#include "engine/equations/TreeEquations.h"

#include <cmath>

namespace orr {

namespace {

constexpr int kHeightEquation = 2;
constexpr int kVolumeEquation = 5;

// ModelSet list position 1 is "ModelSet 2": the log-form height and the taper volume.
bool usesLogModels(const ParamRecord& params) {
    return params.ModelSet == 1;
}

bool hasRow(const CoefficientTable& coeff, int equation, int species) {
    return species >= 0 && static_cast<std::size_t>(species) < coeff.rows[equation].size();
}

// A power or logarithm without a real value gives 0 (no height, no volume), never NaN or inf.
double finiteOrZero(double x) {
    return std::isfinite(x) ? x : 0.0;
}

}  // namespace

double treeBasalArea(double dbh) {
    return finiteOrZero(0.005454 * dbh * dbh);
}

double treeHeight(const CoefficientTable& coeff, const ParamRecord& params, int species, double dbh,
                  int age) {
    if (!hasRow(coeff, kHeightEquation, species)) return 0.0;
    const auto& b = coeff.at(kHeightEquation, species);
    if (!usesLogModels(params)) return finiteOrZero(b[0] + b[1] * std::pow(dbh, b[2]));
    // The log form needs ln dbh > 0: a DBH of 1 inch or less has no height.
    if (!(dbh > 1.0)) return 0.0;
    const double exponent =
        b[0] + b[1] * std::pow(std::log(dbh), b[2]) * std::pow(static_cast<double>(age), b[3]);
    return finiteOrZero(std::exp(exponent));
}

double treeVolume(const CoefficientTable& coeff, const ParamRecord& params, int species, double dbh,
                  double height) {
    if (usesLogModels(params)) {
        return taperVolume(static_cast<std::int16_t>(species), dbh, height, params.PTIP);
    }
    if (!hasRow(coeff, kVolumeEquation, species)) return 0.0;
    const auto& b = coeff.at(kVolumeEquation, species);
    return finiteOrZero(b[0] + b[1] * dbh + b[2] * height + b[3] * dbh * dbh * height);
}

}  // namespace orr
