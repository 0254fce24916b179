// Tree equations: basal area, height and volume under both model sets, and taperVolume from the
// built-in tables. Expected volumes worked out by hand (descent, refinement, volume ratio).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/equations/TreeEquations.h"

namespace orr {
namespace {

TEST(TaperVolume, WorkedCases) {
    struct Row {
        const char* name;
        std::int16_t species;
        double dbh, height;
        float ptip;
        double expected, tolerance;
    };
    const std::vector<Row> rows = {
        {"descent then first refinement, z = -0.0620", 1, 10, 80, 4.0f, 16.497, 0.0005},
        {"species 7 on row 3: nine refinements, hm = 79.9", 7, 10, 80, 4.0f, 17.6572, 0.00005},
        {"first step overshoots, refinement moves up to 79.8", 1, 10, 80, 0.5f, 16.7438, 0.00005},
        {"top above every diameter: descent runs out, hm = 4.05", 1, 10, 80, 20.0f, 2.2654, 5e-5},
        {"species 2 lands inside the window at 39 ft", 2, 12, 60, 6.0f, 17.7772, 0.00005},
        {"species 5, positive z keeps the total volume", 5, 8, 50, 3.0f, 7.4023, 0.00005},
        {"height exactly 4 ft", 1, 10, 4.0, 4.0f, 0.0, 0.0},
        {"species 0: row of zeros", 0, 10, 80, 4.0f, 0.0, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_NEAR(taperVolume(r.species, r.dbh, r.height, r.ptip), r.expected, r.tolerance);
    }
}

// Also for a height from odd coefficients (4.3e8 ft) with a top no stem reaches: the descent
// is bounded, so it ends at once rather than after hundreds of millions of steps.
TEST(TaperVolume, NeverNaNOrInfinite) {
    for (int species = -1; species <= 7; ++species)
        for (double dbh : {-5.0, 0.0, 0.5, 1.0, 10.0, 1e6})
            for (double height :
                 {-1.0, 0.0, 4.0, 4.01, 80.0, 5000.0, 4.3e8, double{INFINITY}, double{NAN}})
                for (float ptip : {0.0f, 4.0f, -1.0f, 1e30f})
                    EXPECT_TRUE(std::isfinite(
                        taperVolume(static_cast<std::int16_t>(species), dbh, height, ptip)))
                        << species << " " << dbh << " " << height << " " << ptip;
}

ParamRecord modelSet(int position, float ptip = 4.0f) {
    ParamRecord p = ParamRecord::defaults();
    p.ModelSet = static_cast<std::int16_t>(position);
    p.PTIP = ptip;
    return p;
}

// Species 1 gets the height equation (2) and the volume equation (5); species 2 stays all 0.
CoefficientTable table(std::array<double, 4> height, std::array<double, 4> volume = {}) {
    CoefficientTable t = CoefficientTable::empty(2);
    t.at(2, 1) = height;
    t.at(5, 1) = volume;
    return t;
}

TEST(TreeEquations, HeightUnderBothModelSetsAndZeroWithoutARealValue) {
    const CoefficientTable t0 = table({10, 2, 0.5, 99});
    EXPECT_DOUBLE_EQ(treeHeight(t0, modelSet(0), 1, 16, 5), 18.0);  // 10 + 2 * 16^0.5
    EXPECT_DOUBLE_EQ(treeHeight(t0, modelSet(0), 1, 16, 80), 18.0);
    // exp(1 + 0.5 * 2 * 4^0.5) = e^3 and with age 16 exp(1 + 0.5 * 2 * 16^0.5) = e^5.
    const CoefficientTable t1 = table({1, 0.5, 1, 0.5});
    EXPECT_NEAR(treeHeight(t1, modelSet(1), 1, std::exp(2.0), 4), std::exp(3.0), 1e-12);
    EXPECT_NEAR(treeHeight(t1, modelSet(1), 1, std::exp(2.0), 16), std::exp(5.0), 1e-10);
    struct Row {
        const char* name;
        std::array<double, 4> coeff;
        int set, species;
        double dbh;
        int age;
    };
    const std::vector<Row> rows = {
        {"MS1, DBH below 1 inch", {1, 0.5, 1.5, 0.5}, 1, 1, 0.5, 20},
        {"MS0, negative DBH to a fractional power", {10, 2, 0.5, 0}, 0, 1, -4, 10},
        {"MS1, exponent beyond a double", {800, 0, 1, 1}, 1, 1, 10, 4},
        {"species without a row", {10, 2, 0.5, 0}, 0, 3, 16, 5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(treeHeight(table(r.coeff), modelSet(r.set), r.species, r.dbh, r.age), 0.0);
    }
}

TEST(TreeEquations, BasalAreaAndVolumeUnderBothModelSets) {
    EXPECT_DOUBLE_EQ(treeBasalArea(10), 0.5454);
    const CoefficientTable t = table({}, {1, 2, 3, 0.5});
    EXPECT_DOUBLE_EQ(treeVolume(t, modelSet(0), 1, 10, 50), 2671.0);  // 1 + 20 + 150 + 0.5 * 5000
    EXPECT_EQ(treeVolume(t, modelSet(0), 2, 10, 50), 0.0);
    // ModelSet 1 ignores the coefficient file, takes PTIP and lets species 7 borrow row 3.
    EXPECT_NEAR(treeVolume(t, modelSet(1, 0.5f), 1, 10, 80), 16.7438, 0.00005);
    EXPECT_NEAR(treeVolume(t, modelSet(1, 4.0f), 7, 10, 80), 17.6572, 0.00005);
}

}  // namespace
}  // namespace orr
