// Selection of each stratum's regression and the stratified combination, on inputs built in
// memory.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/doublesample/DblSampl.h"
#include "engine/doublesample/StratumEstimate.h"
#include "engine/doublesample/TValue.h"

namespace orr {
namespace {

DoubleSampleInputs emptyInputs(int H) {
    DoubleSampleInputs in;
    in.H = H;
    in.plotStratum.assign(100, 0);
    for (auto& p : in.phase1) p.assign(static_cast<std::size_t>(H) + 1, Phase1Totals{});
    in.phase2.assign(static_cast<std::size_t>(H) + 1, {});
    return in;
}

// Adds a Phase 2 plot to stratum h (and to index 0).
void addPlot(DoubleSampleInputs& in, int h, Phase2Plot p) {
    in.phase2[0].push_back(p);
    if (h > 0) in.phase2[static_cast<std::size_t>(h)].push_back(p);
}
void addPhase1(DoubleSampleInputs& in, int h, int d, Phase1Totals t) {
    auto add = [&](Phase1Totals& to) {
        to.plots += t.plots;
        to.baSum += t.baSum;
        to.volSum += t.volSum;
    };
    add(in.phase1[d][0]);
    if (h > 0) add(in.phase1[d][static_cast<std::size_t>(h)]);
}

// One stratum holding every plot. DataSet 1: y = 10 x on four plots, Phase 1 mean 25.75, so
// YbarLR = 172.5 + 10 (25.75 - 13) = 300. DataSet 2: y = 100 + 5 x on four other plots, Phase 1
// mean 18.5, YbarLR = 172.5 + 5 (18.5 - 23) = 150. Both fits are exact, so only the Phase 1
// term is left in the variance: (1 - 4/8) s2 / 4 with s2 = 2000/3 and 500/3. The DataSet 1
// standard error is exactly twice that of DataSet 2 and so is its estimate: equal SE percent.
DoubleSampleInputs tiedSingleStratum() {
    DoubleSampleInputs in = emptyInputs(1);
    for (double x : {10, 12, 14, 16}) addPlot(in, 1, {10 * x, {x, 50, 0, 0}});
    for (double x : {20, 22, 24, 26}) addPlot(in, 1, {100 + 5 * x, {0, 0, x, 50}});
    addPhase1(in, 1, 0, {4, 103, 500});
    addPhase1(in, 1, 1, {4, 74, 240});
    return in;
}

TEST(Selection, EqualStandardErrorsSelectTheLowerRegression) {
    const DoubleSampleEstimates est = estimateAllStrata(tiedSingleStratum());
    const double s1 = std::sqrt(0.5 * (2000.0 / 3) / 4);
    const double t2 = TValue(2, 0.05f);
    for (int h : {0, 1}) {
        EXPECT_EQ(est.best[h].YbarLR, 300) << h;
        EXPECT_NEAR(est.best[h].SybarLR, s1, 1e-12);
        EXPECT_NEAR(est.best[h].SE, 100 * t2 * s1 / 300, 1e-10);
    }
}

TEST(Selection, SingleStratumCombinesWithWeightOne) {
    const DoubleSampleEstimates est = estimateAllStrata(tiedSingleStratum());
    // M_0 = 4 + 4 for each data set; t has M_0 - 2 H = 6 degrees of freedom.
    const double s1 = std::sqrt(0.5 * (2000.0 / 3) / 4);
    const SelectedEstimate& c = est.best[2];
    EXPECT_EQ(c.YbarLR, est.best[1].YbarLR);
    EXPECT_NEAR(c.SybarLR, est.best[1].SybarLR, 1e-12);
    EXPECT_NEAR(c.SE, 100 * s1 * TValue(6, 0.05f) / 300, 1e-10);
}

TEST(Selection, StratumN2IsTheSampleOfTheLastRegressionWritten) {
    DoubleSampleInputs in = tiedSingleStratum();
    // A fifth DataSet 1 plot, off the line: DataSet 1 has n = 5, DataSet 2 keeps n = 4.
    addPlot(in, 1, {130, {13, 51, 0, 0}});
    const DoubleSampleEstimates est = estimateAllStrata(in);
    EXPECT_EQ(est.n2[1], 4);
    EXPECT_EQ(est.n2g[1], 9);
}

TEST(Selection, NegativeSlopesAreNeitherSelectedNorCombined) {
    DoubleSampleInputs in = emptyInputs(2);
    for (double x : {10, 12, 14, 16}) addPlot(in, 1, {10 * x + x * x, {x, x, 0, 0}});
    for (double x : {6, 7, 8}) addPlot(in, 2, {120 - 10 * x + x, {x, x, 0, 0}});
    addPhase1(in, 1, 0, {6, 80, 80});
    addPhase1(in, 2, 0, {3, 21, 21});
    const DoubleSampleEstimates est = estimateAllStrata(in);
    EXPECT_EQ(est.n2[2], 0);
    EXPECT_EQ(est.best[2].YbarLR, 0);
    EXPECT_EQ(est.best[2].SE, 0);
    EXPECT_GT(est.n2[1], 0);
    // The combination holds stratum 1 alone, weighted by its share of the plots of index 0:
    // (4 + 6) / (7 + 9).
    const double w = 10.0 / 16;
    EXPECT_NEAR(est.best[3].YbarLR, w * est.best[1].YbarLR, 1e-9);
    EXPECT_NEAR(est.best[3].SybarLR, w * est.best[1].SybarLR, 1e-9);
}

TEST(Selection, StandardErrorsOf999OrMoreSelectNothing) {
    DoubleSampleInputs in = emptyInputs(1);
    // A weak fit on three plots (t of 1 df is 11.3) around a mean volume of 0.5.
    addPlot(in, 1, {0.02, {1, 10, 0, 0}});
    addPlot(in, 1, {0.03, {3, 10, 0, 0}});
    addPlot(in, 1, {1.45, {2, 10, 0, 0}});
    addPhase1(in, 1, 0, {5, 5, 50});
    const DoubleSampleEstimates est = estimateAllStrata(in);
    EXPECT_EQ(est.best[1].YbarLR, 0);
    EXPECT_EQ(est.best[1].SE, 0);
    EXPECT_EQ(est.n2[1], 3);  // written all the same
    EXPECT_NE(est.regressReport.find(" 1    GrnVol  LiBA-DS1(sq.ft)"), std::string::npos);
}

TEST(Selection, CombinationOfTwoStrataWeightsByPlots) {
    DoubleSampleInputs in = emptyInputs(2);
    addPlot(in, 1, {50, {5, 45, 0, 0}});
    addPlot(in, 1, {70, {6, 60, 0, 0}});
    addPlot(in, 1, {90, {8, 85, 0, 0}});
    addPlot(in, 1, {80, {7, 80, 0, 0}});
    addPlot(in, 2, {120, {10, 110, 0, 0}});
    addPlot(in, 2, {150, {12, 140, 0, 0}});
    addPlot(in, 2, {100, {9, 105, 0, 0}});
    addPlot(in, 2, {130, {11, 120, 0, 0}});
    addPhase1(in, 1, 0, {8, 52, 500});
    addPhase1(in, 2, 0, {6, 64, 700});
    const DoubleSampleEstimates est = estimateAllStrata(in);
    // M_0 = 14 + 8 = 22; weights 12/22 and 10/22; t with 22 - 4 = 18 df.
    const StratumEstimate e1 = estimateStratum({in.phase1[0][1], in.phase1[1][1]}, in.phase2[1]);
    const StratumEstimate e2 = estimateStratum({in.phase1[0][2], in.phase1[1][2]}, in.phase2[2]);
    SelectedEstimate expected;
    double best = 999;
    for (int k = 0; k < 2; ++k) {
        ASSERT_GT(e1.reg[k].Beta, 0);
        ASSERT_GT(e2.reg[k].Beta, 0);
        const double sum = 12.0 / 22 * e1.reg[k].YbarLR + 10.0 / 22 * e2.reg[k].YbarLR;
        const double var =
            std::pow(12.0 / 22 * e1.reg[k].SybarLR, 2) + std::pow(10.0 / 22 * e2.reg[k].SybarLR, 2);
        const double se = 100 * std::sqrt(var) * TValue(18, 0.05f) / sum;
        if (se < best) {
            best = se;
            expected = {sum, std::sqrt(var), se};
        }
    }
    EXPECT_NEAR(est.best[3].YbarLR, expected.YbarLR, 1e-9);
    EXPECT_NEAR(est.best[3].SybarLR, expected.SybarLR, 1e-9);
    EXPECT_NEAR(est.best[3].SE, expected.SE, 1e-9);
}

TEST(Selection, NoCombinationWithoutDegreesOfFreedom) {
    // Stratum 9 makes H = 9: M_0 - 2H = 8 - 18 < 1.
    DoubleSampleInputs in = tiedSingleStratum();
    DoubleSampleInputs wide = emptyInputs(9);
    for (const Phase2Plot& p : in.phase2[1]) addPlot(wide, 9, p);
    addPhase1(wide, 9, 0, in.phase1[0][1]);
    addPhase1(wide, 9, 1, in.phase1[1][1]);
    const DoubleSampleEstimates est = estimateAllStrata(wide);
    EXPECT_EQ(est.best[9].YbarLR, 300);
    EXPECT_EQ(est.best[10].YbarLR, 0);
    EXPECT_EQ(est.best[10].SE, 0);
    EXPECT_EQ(est.regressReport.find("Co    "), std::string::npos);
    // Strata 1 to 8 have no plots: nothing selected.
    for (int h = 1; h <= 8; ++h) EXPECT_EQ(est.best[h].YbarLR, 0);
}

}  // namespace
}  // namespace orr
