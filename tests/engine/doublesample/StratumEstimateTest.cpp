// The estimates of one stratum: sums of squares, variances, the regressions and their standard
// errors, and the cases in which a regression cannot be computed. Expected values are worked out
// by hand from the plots of each test.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/doublesample/StratumEstimate.h"
#include "engine/doublesample/TValue.h"

namespace orr {
namespace {

using Plots = std::vector<Phase2Plot>;

Phase2Plot ds1(double y, double ba, double vol) {
    return {y, {ba, vol, 0, 0}};
}
Phase2Plot ds2(double y, double ba, double vol) {
    return {y, {0, 0, ba, vol}};
}
Phase2Plot ground(double y) {
    return {y, {0, 0, 0, 0}};
}

void expectAllResultsZero(const RegressionResult& r) {
    EXPECT_EQ(r.Beta, 0);
    EXPECT_EQ(r.IdxFt, 0);
    EXPECT_EQ(r.MSE, 0);
    EXPECT_EQ(r.SybarLR, 0);
    EXPECT_EQ(r.Rho, 0);
    EXPECT_EQ(r.YbarLR, 0);
    EXPECT_EQ(r.SE, 0);
    EXPECT_EQ(r.Nrs, 0);
    EXPECT_EQ(r.N1req, 0);
    EXPECT_EQ(r.N2req, 0);
}

void expectFinite(const StratumEstimate& e) {
    for (int d = 0; d < 2; ++d) {
        EXPECT_TRUE(std::isfinite(e.ybar[d]) && std::isfinite(e.s2[d]) && std::isfinite(e.CV[d]));
    }
    for (const RegressionResult& r : e.reg) {
        for (double v : {r.phase1Mean, r.phase2Mean, r.Beta, r.IdxFt, r.MSE, r.SybarLR, r.Rho,
                         r.YbarLR, r.SE, r.Nrs, r.N1req, r.N2req}) {
            EXPECT_TRUE(std::isfinite(v));
        }
    }
}

// Four plots: x = 10, 12, 9, 11 (mean 10.5, deviations -0.5, 1.5, -1.5, 0.5, SSx = 5);
// y = 120, 150, 100, 130 (mean 125, deviations -5, 25, -25, 5, SSy = 1300); SPxy = 80.
// Six Phase 1 plots with a BA sum of 64: x-bar' = 32/3, so x-bar' - x-bar = 1/6.
const Plots kFourPlots = {ds1(120, 10, 110), ds1(150, 12, 140), ds1(100, 9, 105),
                          ds1(130, 11, 120)};
const std::array<Phase1Totals, 2> kSixPhase1 = {Phase1Totals{6, 64, 700}, Phase1Totals{}};

TEST(StratumEstimate, SumsOfSquaresVarianceAndCv) {
    const StratumEstimate e = estimateStratum(kSixPhase1, kFourPlots);
    EXPECT_EQ(e.N1[0], 6);
    EXPECT_EQ(e.n[0], 4);
    EXPECT_EQ(e.N2G, 4);
    EXPECT_DOUBLE_EQ(e.ybar[0], 125);
    EXPECT_DOUBLE_EQ(e.ybarG, 125);
    EXPECT_DOUBLE_EQ(e.SSy[0], 1300);
    EXPECT_DOUBLE_EQ(e.s2[0], 1300.0 / 3);
    EXPECT_DOUBLE_EQ(e.CV[0], 100 * std::sqrt(1300.0 / 3) / 125);
    EXPECT_EQ(e.n[1], 0);
    EXPECT_EQ(e.CV[1], 0);
}

TEST(StratumEstimate, RegressionOfGroundVolumeOnLidarBasalArea) {
    const RegressionResult r = estimateStratum(kSixPhase1, kFourPlots).reg[0];
    EXPECT_DOUBLE_EQ(r.phase1Mean, 64.0 / 6);
    EXPECT_DOUBLE_EQ(r.phase2Mean, 10.5);
    EXPECT_DOUBLE_EQ(r.Beta, 16);  // 80 / 5
    // SSE = 1300 - 16 * 80 = 20.
    EXPECT_DOUBLE_EQ(r.IdxFt, 100 * (1 - 20.0 / 1300));
    EXPECT_DOUBLE_EQ(r.MSE, 10);  // 20 / (4 - 2)
    // (1 - 6/10) (1300/3) / 6 + (1 - 4/6) 10 (1/4 + (1/6)^2 / 5) = 780/27 + 23/27.
    EXPECT_NEAR(r.SybarLR, std::sqrt(803.0 / 27), 1e-12);
    EXPECT_NEAR(r.Rho, 80 / std::sqrt(5.0 * 1300), 1e-14);
    EXPECT_NEAR(r.YbarLR, 125 + 16.0 / 6, 1e-12);
    const double t = TValue(2, 0.05f);
    EXPECT_NEAR(r.SE, 100 * t * std::sqrt(803.0 / 27) / (383.0 / 3), 1e-10);
    // CV^2 = 10000 (1300/3) / 125^2; N_rs = t^2 CV^2 / 100.
    const double nrs = t * t * (10000 * (1300.0 / 3) / 15625) / 100;
    EXPECT_NEAR(r.Nrs, nrs, 1e-10);
    // rho^2 = 64/65: N1req = N_rs (64/65 + sqrt(640)/65), N2req = N_rs (1 + sqrt(6.4)) / 65.
    EXPECT_NEAR(r.N1req, nrs * (64 + std::sqrt(640.0)) / 65, 1e-10);
    EXPECT_NEAR(r.N2req, nrs * (1 + std::sqrt(6.4)) / 65, 1e-10);
}

TEST(StratumEstimate, RegressionOnLidarVolumeUsesItsOwnSums) {
    // x = 110, 140, 105, 120: mean 118.75, deviations -8.75, 21.25, -13.75, 1.25, SSx = 718.75,
    // SPxy = 43.75 + 531.25 + 343.75 + 6.25 = 925.
    const RegressionResult r = estimateStratum(kSixPhase1, kFourPlots).reg[1];
    EXPECT_DOUBLE_EQ(r.phase1Mean, 700.0 / 6);
    EXPECT_DOUBLE_EQ(r.phase2Mean, 118.75);
    EXPECT_NEAR(r.Beta, 925 / 718.75, 1e-14);
    EXPECT_NEAR(r.MSE, (1300 - 925.0 * 925 / 718.75) / 2, 1e-10);
    EXPECT_NEAR(r.YbarLR, 125 + 925 / 718.75 * (700.0 / 6 - 118.75), 1e-10);
}

TEST(StratumEstimate, ExactLineGivesItsSlopePerfectFitAndFiniteSampleSizes) {
    // y = 3 + 2x exactly.
    const Plots plots = {ds1(23, 10, 1), ds1(27, 12, 2), ds1(21, 9, 3), ds1(25, 11, 5)};
    const StratumEstimate e = estimateStratum({Phase1Totals{6, 64, 12}, Phase1Totals{}}, plots);
    const RegressionResult& r = e.reg[0];
    EXPECT_DOUBLE_EQ(r.Beta, 2);
    EXPECT_DOUBLE_EQ(r.IdxFt, 100);
    EXPECT_DOUBLE_EQ(r.Rho, 1);
    EXPECT_EQ(r.MSE, 0);
    // SSy = 4 * 5 = 20; only the Phase 1 term is left: (1 - 6/10) (20/3) / 6.
    EXPECT_NEAR(r.SybarLR, std::sqrt(0.4 * (20.0 / 3) / 6), 1e-14);
    EXPECT_GT(r.Nrs, 0);
    EXPECT_DOUBLE_EQ(r.N1req, r.Nrs);
    EXPECT_EQ(r.N2req, 0);
    expectFinite(e);
}

TEST(StratumEstimate, ExactLineWithNegativeSlopeHasRhoMinusOne) {
    const Plots plots = {ds1(40, 8, 1), ds1(60, 6, 2), ds1(50, 7, 4)};
    const StratumEstimate e = estimateStratum({Phase1Totals{3, 21, 9}, Phase1Totals{}}, plots);
    EXPECT_DOUBLE_EQ(e.reg[0].Beta, -10);
    EXPECT_DOUBLE_EQ(e.reg[0].Rho, -1);
    EXPECT_EQ(e.reg[0].N2req, 0);
    expectFinite(e);
}

TEST(StratumEstimate, NoRegressionWithTwoPlotsOrFewer) {
    const Plots two = {ds1(100, 8, 80), ds1(150, 12, 130)};
    const StratumEstimate e = estimateStratum(kSixPhase1, two);
    EXPECT_EQ(e.n[0], 2);
    EXPECT_DOUBLE_EQ(e.s2[0], 1250);  // SSy = 2 * 25^2, one degree of freedom
    EXPECT_DOUBLE_EQ(e.reg[0].phase2Mean, 10);
    expectAllResultsZero(e.reg[0]);
    expectAllResultsZero(e.reg[1]);
}

TEST(StratumEstimate, VarianceIsZeroForASinglePlot) {
    const StratumEstimate e = estimateStratum(kSixPhase1, {ds1(100, 8, 80)});
    EXPECT_EQ(e.n[0], 1);
    EXPECT_EQ(e.SSy[0], 0);
    EXPECT_EQ(e.s2[0], 0);
    EXPECT_EQ(e.CV[0], 0);
    expectAllResultsZero(e.reg[0]);
    expectFinite(e);
}

TEST(StratumEstimate, NoRegressionWhenTheVarianceWouldBeNegative) {
    // One Phase 1 plot against four Phase 2 plots: (1 - n/N1) = -3 outweighs the Phase 1 term.
    // Phase 1 term 0.8 (1300/3) / 1 = 346.7; regression term -3 * 10 * (1/4 + (x'-x)^2 / 5)
    // with x' = 2: -30 (0.25 + 72.25/5) = -441; the sum is negative.
    const StratumEstimate e =
        estimateStratum({Phase1Totals{1, 2, 100}, Phase1Totals{}}, kFourPlots);
    expectAllResultsZero(e.reg[0]);
    EXPECT_DOUBLE_EQ(e.reg[0].phase1Mean, 2);
    expectFinite(e);
}

TEST(StratumEstimate, NoRegressionWhenTheEstimateIsZero) {
    // 125 + 16 (21.5/8 - 10.5) = 125 - 125 = 0 exactly.
    const StratumEstimate e =
        estimateStratum({Phase1Totals{8, 21.5, 900}, Phase1Totals{}}, kFourPlots);
    expectAllResultsZero(e.reg[0]);
    EXPECT_GT(e.reg[1].Beta, 0);
    expectFinite(e);
}

TEST(StratumEstimate, NoRegressionWithoutVariationInX) {
    const Plots plots = {ds1(120, 10, 50), ds1(150, 10, 70), ds1(100, 10, 40)};
    const StratumEstimate e = estimateStratum(kSixPhase1, plots);
    expectAllResultsZero(e.reg[0]);
    EXPECT_GT(e.reg[1].Beta, 0);
    expectFinite(e);
}

TEST(StratumEstimate, NoRegressionWithoutVariationInY) {
    // Equal ground volumes of a value whose sum of squares does not cancel exactly.
    const Plots plots = {ds1(0.1, 1, 5), ds1(0.1, 2, 7), ds1(0.1, 4, 6), ds1(0.1, 3, 9)};
    const StratumEstimate e = estimateStratum(kSixPhase1, plots);
    EXPECT_EQ(e.CV[0], 0);
    expectAllResultsZero(e.reg[0]);
    expectAllResultsZero(e.reg[1]);
    expectFinite(e);
}

TEST(StratumEstimate, NoRegressionWithoutPhase1Plots) {
    const StratumEstimate e = estimateStratum({Phase1Totals{}, Phase1Totals{}}, kFourPlots);
    EXPECT_EQ(e.reg[0].phase1Mean, 0);
    EXPECT_DOUBLE_EQ(e.reg[0].phase2Mean, 10.5);
    expectAllResultsZero(e.reg[0]);
    expectAllResultsZero(e.reg[1]);
}

TEST(StratumEstimate, PlotsWithoutLidarCountInTheGroundMeanOnly) {
    Plots plots = kFourPlots;
    plots.push_back(ground(25));  // a ground plot without DataSet 1 values
    const StratumEstimate e = estimateStratum(kSixPhase1, plots);
    EXPECT_EQ(e.N2G, 5);
    EXPECT_EQ(e.n[0], 4);
    EXPECT_DOUBLE_EQ(e.ybarG, 105);  // 525 / 5
    EXPECT_DOUBLE_EQ(e.ybar[0], 125);
    // The fit is that of the four plots; the estimate starts from the ground mean of all five.
    EXPECT_DOUBLE_EQ(e.reg[0].Beta, 16);
    EXPECT_NEAR(e.reg[0].YbarLR, 105 + 16.0 / 6, 1e-12);
    // The standard error does not depend on the ground-only plot.
    EXPECT_NEAR(e.reg[0].SybarLR, std::sqrt(803.0 / 27), 1e-12);
}

TEST(StratumEstimate, DataSetsAreFittedSeparately) {
    // DataSet 2 on three other plots, y = 100 + 5x; DataSet 1 as before.
    Plots plots = kFourPlots;
    plots.push_back(ds2(200, 20, 30));
    plots.push_back(ds2(210, 22, 31));
    plots.push_back(ds2(230, 26, 29));
    const StratumEstimate e =
        estimateStratum({Phase1Totals{6, 64, 700}, Phase1Totals{4, 90, 120}}, plots);
    EXPECT_EQ(e.n[0], 4);
    EXPECT_EQ(e.n[1], 3);
    EXPECT_EQ(e.N2G, 7);
    EXPECT_DOUBLE_EQ(e.ybar[1], 640.0 / 3);
    EXPECT_DOUBLE_EQ(e.reg[2].phase2Mean, 68.0 / 3);
    EXPECT_NEAR(e.reg[2].Beta, 5, 1e-12);
    EXPECT_NEAR(e.reg[2].IdxFt, 100, 1e-9);
    // DataSet 1 keeps its own fit; its estimate starts from the mean of all seven plots.
    EXPECT_DOUBLE_EQ(e.reg[0].Beta, 16);
    EXPECT_NEAR(e.reg[0].YbarLR, (500 + 640) / 7.0 + 16.0 / 6, 1e-10);
    // Negative relation of DataSet 2 volume: computed, with a negative slope.
    EXPECT_LT(e.reg[3].Beta, 0);
    expectFinite(e);
}

TEST(StratumEstimate, EmptyStratumIsAllZero) {
    const StratumEstimate e = estimateStratum({Phase1Totals{}, Phase1Totals{}}, {});
    EXPECT_EQ(e.N2G, 0);
    EXPECT_EQ(e.ybarG, 0);
    for (const RegressionResult& r : e.reg) {
        EXPECT_EQ(r.phase1Mean, 0);
        EXPECT_EQ(r.phase2Mean, 0);
        expectAllResultsZero(r);
    }
}

}  // namespace
}  // namespace orr
