// The cases in which a regression of one stratum cannot be computed: all its results stay 0 and
// finite. Computed regressions are checked through the whole reports.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/doublesample/StratumEstimate.h"

namespace orr {
namespace {

using Plots = std::vector<Phase2Plot>;

Phase2Plot ds1(double y, double ba, double vol) {
    return {y, {ba, vol, 0, 0}};
}

void expectAllResultsZero(const RegressionResult& r) {
    for (double v :
         {r.Beta, r.IdxFt, r.MSE, r.SybarLR, r.Rho, r.YbarLR, r.SE, r.Nrs, r.N1req, r.N2req})
        EXPECT_EQ(v, 0);
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

// x = 10, 12, 9, 11, y = 120, 150, 100, 130: SSx 5, SSy 1300, SPxy 80, Beta 16; x-bar' 32/3.
const Plots kFourPlots = {ds1(120, 10, 110), ds1(150, 12, 140), ds1(100, 9, 105),
                          ds1(130, 11, 120)};
const std::array<Phase1Totals, 2> kSixPhase1 = {Phase1Totals{6, 64, 700}, Phase1Totals{}};

TEST(StratumEstimate, RegressionsThatCannotBeComputedStayZero) {
    struct Case {
        const char* name;
        bool both;  // the LiDAR volume regression cannot be computed either
        std::array<Phase1Totals, 2> phase1;
        Plots plots;
    };
    const Phase1Totals one{1, 2, 100}, eight{8, 21.5, 900};
    const std::vector<Case> cases = {
        {"two plots", true, kSixPhase1, {ds1(100, 8, 80), ds1(150, 12, 130)}},
        {"one plot", true, kSixPhase1, {ds1(100, 8, 80)}},
        // (1 - n/N1) = -3 outweighs the Phase 1 term: 346.7 - 30 (0.25 + 72.25/5) < 0.
        {"negative variance", false, {one, {}}, kFourPlots},
        {"estimate 0", false, {eight, {}}, kFourPlots},  // 125 + 16 (21.5/8 - 10.5) = 0
        {"no variation in x",
         false,
         kSixPhase1,
         {ds1(120, 10, 50), ds1(150, 10, 70), ds1(100, 10, 40)}},
        {"no variation in y",
         true,
         kSixPhase1,
         {ds1(0.1, 1, 5), ds1(0.1, 2, 7), ds1(0.1, 4, 6), ds1(0.1, 3, 9)}},
        {"no Phase 1 plots", true, {}, kFourPlots},
        {"empty stratum", true, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const StratumEstimate e = estimateStratum(c.phase1, c.plots);
        expectAllResultsZero(e.reg[0]);
        if (c.both)
            expectAllResultsZero(e.reg[1]);
        else
            EXPECT_GT(e.reg[1].Beta, 0);
        expectAllResultsZero(e.reg[2]);
        expectFinite(e);
    }
    // s2 from one degree of freedom with two plots, 0 with one.
    EXPECT_DOUBLE_EQ(estimateStratum(kSixPhase1, {ds1(100, 8, 80), ds1(150, 12, 130)}).s2[0], 1250);
    EXPECT_EQ(estimateStratum(kSixPhase1, {ds1(100, 8, 80)}).s2[0], 0);
}

}  // namespace
}  // namespace orr
