#include "tools/generator/SpeciesModels.h"

#include <cmath>

#include "core/NumberText.h"

namespace orr::generator {

// Heights from DBH follow a power curve through breast height (4.5 ft); the DBH equation is the
// least-squares fit of the same curve in the form b0 + b1 (ln H)^b2 over 5 to 32 inches. HIGH
// LiDAR heights run a little below the ground heights, LOW heights lower still. Volume is total
// stem cubic feet by the combined-variable equation.
const std::array<SpeciesModel, kModelSpecies>& speciesModels() {
    static const std::array<SpeciesModel, kModelSpecies> models = {{
        {{{{"1.5528", "0.00063823", "6.73", "0"},
           {"4.5", "9.2", "0.78", "0"},
           {"1.5", "0.95", "1.02", "0"},
           {"3", "1.06", "1", "0"},
           {"-0.4", "0.05", "0.005", "0.00235"}}},
         {{{"5", "8.9"}, {"9", "11.9"}, {"12", "60"}}}},
        {{{{"1.4909", "0.00089943", "6.68", "0"},
           {"4.5", "8.1", "0.76", "0"},
           {"1.7", "0.96", "1.015", "0"},
           {"3.2", "1.07", "1", "0"},
           {"-0.3", "0.04", "0.004", "0.00215"}}},
         {{{"5", "10.9"}, {"11", "13.9"}, {"14", "60"}}}},
        {{{{"1.546", "0.0015407", "6.34", "0"},
           {"4.5", "7", "0.8", "0"},
           {"1.6", "0.97", "1.01", "0"},
           {"3.1", "1.06", "1", "0"},
           {"-0.3", "0.04", "0.004", "0.0021"}}},
         {{{"5", "10.9"}, {"11", "15.9"}, {"16", "60"}}}},
        {{{{"1.4432", "0.00071087", "6.84", "0"},
           {"4.5", "8.6", "0.74", "0"},
           {"1.4", "0.95", "1.02", "0"},
           {"2.9", "1.07", "1", "0"},
           {"-0.35", "0.045", "0.005", "0.00225"}}},
         {{{"5", "9.9"}, {"10", "12.9"}, {"13", "60"}}}},
        {{{{"1.5583", "0.0020912", "6.16", "0"},
           {"4.5", "6.4", "0.82", "0"},
           {"1.8", "0.96", "1.01", "0"},
           {"3.3", "1.06", "1", "0"},
           {"-0.25", "0.035", "0.004", "0.00205"}}},
         {{{"5", "11.9"}, {"12", "16.9"}, {"17", "60"}}}},
    }};
    return models;
}

namespace {

double value(const char* text) {
    return static_cast<double>(static_cast<float>(parseNumber(text).value_or(0.0)));
}

}  // namespace

SpeciesEquations speciesEquations(int species) {
    const SpeciesModel& m = speciesModels().at(static_cast<std::size_t>(species - 1));
    SpeciesEquations e{};
    e.dbhB0 = value(m.equations[0][0]);
    e.dbhB1 = value(m.equations[0][1]);
    e.dbhB2 = value(m.equations[0][2]);
    e.hgtB0 = value(m.equations[1][0]);
    e.hgtB1 = value(m.equations[1][1]);
    e.hgtB2 = value(m.equations[1][2]);
    e.ds1B0 = value(m.equations[2][0]);
    e.ds1B1 = value(m.equations[2][1]);
    e.ds1B2 = value(m.equations[2][2]);
    e.ds2B0 = value(m.equations[3][0]);
    e.ds2B1 = value(m.equations[3][1]);
    e.ds2B2 = value(m.equations[3][2]);
    for (int p = 1; p <= kModelProducts; ++p) {
        e.minDbh[p] = parseNumber(m.dbhLimits[p - 1][0]).value_or(0.0);
        e.maxDbh[p] = parseNumber(m.dbhLimits[p - 1][1]).value_or(0.0);
    }
    return e;
}

double SpeciesEquations::height(double dbh) const {
    return hgtB0 + hgtB1 * std::pow(dbh, hgtB2);
}

double SpeciesEquations::highLidarHeight(double groundHeight) const {
    const double x = (groundHeight - ds1B0) / ds1B1;
    return x > 0 ? std::pow(x, 1.0 / ds1B2) : 0.0;
}

double SpeciesEquations::lowLidarHeight(double groundHeight) const {
    const double x = (groundHeight - ds2B0) / ds2B1;
    return x > 0 ? std::pow(x, 1.0 / ds2B2) : 0.0;
}

int SpeciesEquations::productOf(double dbh) const {
    const double d = roundHalfEven(dbh, 1);
    for (int p = 1; p <= kModelProducts; ++p) {
        if (minDbh[p] <= d && d <= maxDbh[p]) {
            return p;
        }
    }
    return 0;
}

}  // namespace orr::generator
