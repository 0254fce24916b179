// Tree equations: basal area, height, volume and the built-in taper-based merchantable volume.
// Units: DBH and top diameters in inches, heights in feet, basal area in square feet, volume in
// cubic feet. Where a power or logarithm has no real value the equations return 0 (never NaN or
// inf); a height of 0 means "no height".
#pragma once

#include <cstdint>

#include "core/Parameters.h"
#include "files/CoefficientFile.h"

namespace orr {

// 0.005454 * dbh^2
double treeBasalArea(double dbh);
// Predicted total height from the height equation (equation 2) of the species.
// ModelSet 0: b0 + b1 * dbh^b2; ModelSet 1: exp(b0 + b1 * (ln dbh)^b2 * age^b3).
double treeHeight(const CoefficientTable& coeff, const ParamRecord& params, int species, double dbh,
                  int age);
// Tree volume: ModelSet 0 the volume equation (equation 5), ModelSet 1 taperVolume.
double treeVolume(const CoefficientTable& coeff, const ParamRecord& params, int species, double dbh,
                  double height);
// Merchantable volume to the top diameter ptip from the built-in tables (species above 5 use the
// row of species 3; species 0 has all coefficients 0).
double taperVolume(std::int16_t species, double dbh, double height, float ptip);

// The seventeen built-in tables, five single-precision values each, index 0..5 (0 stays 0).
struct TaperTables {
    float TV0[6], TVD[6], TVH[6];
    float TPD[6], TPH[6], TP1[6], TP2[6], TP3[6], TP4[6], TP0[6];
    float VRD[6], VRH[6], VR1[6], VR2[6], VR3[6], VR4[6], VR0[6];
};
const TaperTables& taperTables();

}  // namespace orr
