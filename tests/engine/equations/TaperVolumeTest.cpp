// TAPERVOL: the merchantable volume from the built-in total-volume, taper and ratio equations.
// The expected volumes were worked out step by step from the tables (descent, refinement,
// volume ratio), independently of the program.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/equations/TreeEquations.h"

namespace orr {
namespace {

// Total volume of species 1: TV0 * D^TVD * H^TVH.
double totalVolumeSpecies1(double dbh, double height) {
    return double{0.002805426f} * std::pow(dbh, double{2.0728f}) *
           std::pow(height, double{0.9061f});
}

TEST(TaperVolume, Species1Dbh10Height80Top4) {
    // Vt = 17.587; the descent passes 61 ft (d = 3.875), overshoots at 60 ft (d = 4.034) and
    // the first refinement at 60.1 ft (d = 4.018) ends it; z = -0.0620.
    EXPECT_NEAR(totalVolumeSpecies1(10, 80), 17.587, 0.0005);
    EXPECT_NEAR(TAPERVOL(1, 10, 80, 4.0f), 16.497, 0.0005);
}

TEST(TaperVolume, NoVolumeUpToFourFeet) {
    EXPECT_EQ(TAPERVOL(1, 10, 4.0, 4.0f), 0.0);
    EXPECT_EQ(TAPERVOL(1, 10, 3.0, 4.0f), 0.0);
    EXPECT_EQ(TAPERVOL(1, 10, 0.0, 4.0f), 0.0);
    // Just above 4 feet the volume ratio is positive, so the result is the total volume.
    EXPECT_GT(TAPERVOL(1, 10, 4.01, 4.0f), 0.0);
    EXPECT_NEAR(TAPERVOL(1, 10, 4.01, 4.0f), totalVolumeSpecies1(10, 4.01), 1e-12);
    EXPECT_NEAR(TAPERVOL(1, 10, 4.01, 4.0f), 1.1676, 0.00005);
}

TEST(TaperVolume, SpeciesAboveFiveUseTheRowOfSpecies3) {
    const std::int16_t species = 7;
    EXPECT_EQ(TAPERVOL(species, 10, 80, 4.0f), TAPERVOL(3, 10, 80, 4.0f));
    EXPECT_EQ(TAPERVOL(32767, 12, 55, 5.0f), TAPERVOL(3, 12, 55, 5.0f));
    EXPECT_NE(TAPERVOL(species, 10, 80, 4.0f), TAPERVOL(1, 10, 80, 4.0f));
    EXPECT_EQ(TAPERVOL(species, 10, 4.0, 4.0f), 0.0);
    EXPECT_EQ(species, 7);
}

TEST(TaperVolume, SpeciesZeroHasAllCoefficientsZero) {
    EXPECT_EQ(TAPERVOL(0, 10, 80, 4.0f), 0.0);
    EXPECT_EQ(TAPERVOL(-3, 10, 80, 4.0f), 0.0);
}

TEST(TaperVolume, NineRefinementsWithoutReachingTheTopEndNineTenthsAbove) {
    // Species 3 (row of 7) has a stem diameter of about 17 in near the tip: the first step at
    // 79 ft overshoots and nine refinements up to 79.9 ft never come down to 4.025 in, so
    // hm = 79.9: r = 0.1 / 76, z = -0.01334 and the volume is (1 + z) * 17.896 = 17.657.
    EXPECT_NEAR(TAPERVOL(7, 10, 80, 4.0f), 17.6572, 0.00005);
}

TEST(TaperVolume, RefinementMovesUpTowardTheTip) {
    // With a top of 0.5 in the first step (79 ft) already overshoots; the refinement ends at
    // 79.8 ft, where d = 0.5188 <= 0.525: z = -0.04794, volume 16.7438.
    EXPECT_NEAR(TAPERVOL(1, 10, 80, 0.5f), 16.7438, 0.00005);
}

TEST(TaperVolume, TopLargerThanEveryDiameterRunsTheDescentOut) {
    // The descent ends at 4 ft without reaching 20 in: hm = 4.05, r = 75.95 / 76,
    // z = -0.87119 and the volume is (1 + z) * 17.587 = 2.2654.
    EXPECT_NEAR(TAPERVOL(1, 10, 80, 20.0f), 2.2654, 0.00005);
}

TEST(TaperVolume, ShortTreeRunsNoDescentStep) {
    // Between 4 and 5 feet no step runs and hm = 0.05; the ratio is then positive and the
    // volume is the total volume.
    EXPECT_NEAR(TAPERVOL(1, 10, 4.5, 4.0f), totalVolumeSpecies1(10, 4.5), 1e-12);
}

TEST(TaperVolume, OtherSpeciesAndTops) {
    // Species 2, DBH 12, height 60, top 6: the descent lands at 39 ft with d = 6.0013 inside
    // the window; z = -0.07248, Vt = 19.1663, volume 17.7772.
    EXPECT_NEAR(TAPERVOL(2, 12, 60, 6.0f), 17.7772, 0.00005);
    // Species 5, DBH 8, height 50, top 3: hm = 38 ft, z = +0.00063 > 0, so the total volume
    // 7.4023 stands.
    EXPECT_NEAR(TAPERVOL(5, 8, 50, 3.0f), 7.4023, 0.00005);
}

TEST(TaperVolume, NeverNaNOrInfinite) {
    for (int species = -1; species <= 7; ++species) {
        for (double dbh : {-5.0, 0.0, 0.5, 1.0, 10.0, 1e6}) {
            for (double height :
                 {-1.0, 0.0, 4.0, 4.01, 80.0, 5000.0, double{INFINITY}, double{NAN}}) {
                for (float ptip : {0.0f, 4.0f, -1.0f, 1e30f}) {
                    const double v =
                        TAPERVOL(static_cast<std::int16_t>(species), dbh, height, ptip);
                    EXPECT_TRUE(std::isfinite(v))
                        << species << " " << dbh << " " << height << " " << ptip;
                }
            }
        }
    }
}

TEST(TaperTablesTest, IndexZeroStaysZeroAndValuesAreSinglePrecision) {
    const TaperTables& t = taperTables();
    for (const float* table : {t.TV0, t.TVD, t.TVH, t.TPD, t.TPH, t.TP1, t.TP2, t.TP3, t.TP4, t.TP0,
                               t.VRD, t.VRH, t.VR1, t.VR2, t.VR3, t.VR4, t.VR0}) {
        EXPECT_EQ(table[0], 0.0f);
    }
    EXPECT_EQ(t.TV0[1], 0.002805426f);
    EXPECT_NE(double{t.TV0[1]}, 0.002805426);  // the float, not the decimal
    EXPECT_EQ(t.TP2[3], -2.218238f);
    EXPECT_EQ(t.VR0[5], -0.77081f);
}

}  // namespace
}  // namespace orr
