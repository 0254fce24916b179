// The forest behind the generated data sets: per species the regression coefficients (DBH from
// height, height from DBH, ground height from the HIGH and LOW LiDAR heights, volume) and the DBH
// limits of the three product classes. The generator draws trees from these same equations, so
// the coefficient file it writes fits its own trees.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace orr::generator {

inline constexpr int kModelSpecies = 5;
inline constexpr int kModelProducts = 3;

struct SpeciesModel {
    // The five equations of the coefficient file, b0..b3, as the texts written to it.
    std::array<std::array<const char*, 4>, 5> equations;
    // Min and Max DBH of products 1..3, as entered in the DBH editor.
    std::array<std::array<const char*, 2>, kModelProducts> dbhLimits;
};

// Species 1..5 (index 0 is species 1).
const std::array<SpeciesModel, kModelSpecies>& speciesModels();

// The equations evaluated with the coefficients as written (single precision, like the program).
struct SpeciesEquations {
    double dbhB0, dbhB1, dbhB2;         // DBH = b0 + b1 (ln H)^b2
    double hgtB0, hgtB1, hgtB2;         // H = b0 + b1 DBH^b2
    double ds1B0, ds1B1, ds1B2;         // H = b0 + b1 h_HIGH^b2
    double ds2B0, ds2B1, ds2B2;         // H = b0 + b1 h_LOW^b2
    double minDbh[kModelProducts + 1];  // [1..3]
    double maxDbh[kModelProducts + 1];

    double height(double dbh) const;
    // The LiDAR height that the ground-height equation of the data set maps to `groundHeight`.
    double highLidarHeight(double groundHeight) const;
    double lowLidarHeight(double groundHeight) const;
    // The product class whose limits hold the DBH rounded to one decimal; 0 when none does.
    int productOf(double dbh) const;
};

SpeciesEquations speciesEquations(int species);  // 1..5

}  // namespace orr::generator
