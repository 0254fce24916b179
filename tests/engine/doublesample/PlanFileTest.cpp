// _Plan.csv against the formulas of the plan worked out here, from the regressions' Rho and t as
// _Estimates.csv holds them and the ground volumes of the test's own Phase 2 plots, at the
// default costs and target and at others; the required sizes of _Regress.txt with them; and the
// required sizes at the defaults exactly as the fixed factors 10 and 0.1 give them.
#include <cmath>
#include <fstream>
#include <map>
#include <numeric>
#include <sstream>

#include "core/NumberText.h"
#include "engine/doublesample/PlanEstimates.h"
#include "files/EstimatesFile.h"
#include "files/HeaderedFile.h"
#include "files/PlanFile.h"
#include "tests/engine/doublesample/DoubleSampleFixture.h"

namespace orr::test {
namespace {

using files::EstimateRecord;
using files::PlanRecord;

// Agreement to 1e-9 of the larger magnitude (absolute below 1e-9).
void expectClose(double actual, double expected, const char* what) {
    EXPECT_LE(std::abs(actual - expected), 1e-9 * std::max(1.0, std::abs(expected)))
        << what << ": " << shortest(actual) << " against " << shortest(expected);
}

double mean(const std::vector<double>& y) {
    return std::accumulate(y.begin(), y.end(), 0.0) / static_cast<double>(y.size());
}
double standardDeviation(const std::vector<double>& y) {
    const double m = mean(y);
    double squares = 0;
    for (double v : y) squares += (v - m) * (v - m);
    return std::sqrt(squares / static_cast<double>(y.size() - 1));
}

struct Costs {
    double c2, c1, E;
};

// The three strata of writeThreeStrata, worked out by hand from its records. Ground volumes of
// the Phase 2 plots with DataSet 1 LiDAR values (plot 7 has none, plot 14 no ground trees; plot
// 5 lies in stratum 2; plots 26 and 27 only in the non-stratified index 0):
const std::map<int, std::vector<double>> kGroundDs1 = {
    {0, {50, 70, 90, 80, 120, 60, 150, 100, 130, 40, 60, 50, 200, 180}},
    {1, {50, 70, 90, 80, 60}},
    {2, {120, 150, 100, 130}},
    {3, {40, 60, 50}},
};
// Stratum 3's regressions all fall: it enters the combination through its ground plots (40, 60,
// 50: standard deviation 10) and has no LiDAR rho. The combination's plot weights: n + N1 of
// DataSet 1 per stratum, 5 + 9, 4 + 6 and 3 + 3 of 30.
const double kWeights[] = {0, 14.0 / 30, 10.0 / 30, 6.0 / 30};

class PlanFile : public DoubleSampleTest {
  protected:
    std::vector<PlanRecord> plan() {
        return files::readWithHeader<files::PlanFile>(path(DataSetFile::Plan), {});
    }
    std::vector<EstimateRecord> estimates() {
        return files::readWithHeader<files::EstimatesFile>(path(DataSetFile::Estimates), {});
    }
    void setCosts(const Costs& c) {
        session.params.GroundPlotCost = c.c2;
        session.params.LidarPlotCost = c.c1;
        session.params.TargetError = c.E;
    }
    // The variable line of _Regress.txt of stratum h and variable `name`, split into words.
    std::vector<std::string> variableLine(int h, const std::string& name) {
        std::istringstream in(read(DataSetFile::Regression));
        for (std::string line; std::getline(in, line);) {
            std::istringstream fields(line);
            std::vector<std::string> w{std::istream_iterator<std::string>(fields), {}};
            if (w.size() == 8 && w[0] == std::to_string(h) && w[1] == name) return w;
        }
        return {};
    }
};

TEST_F(PlanFile, ThreeStrataAgainstTheFormulasAtDefaultAndOtherCosts) {
    for (const Costs& c : {Costs{10, 1, 10}, Costs{25, 0.5, 7.5}, Costs{3, 2, 20},
                           Costs{1, 10, 100}, Costs{40, 1, 2.5}}) {
        SCOPED_TRACE("c2 " + shortest(c.c2) + ", c1 " + shortest(c.c1) + ", E " + shortest(c.E));
        writeThreeStrata();
        setCosts(c);
        runExpectingSuccess();
        const std::vector<PlanRecord> rows = plan();
        const std::vector<EstimateRecord> regressions = estimates();
        const EstimateRecord* combined = nullptr;
        std::map<int, const EstimateRecord*> selected;
        for (const EstimateRecord& r : regressions) {
            if (!r.selected) continue;
            if (r.stratum)
                selected[*r.stratum] = &r;
            else
                combined = &r;
        }
        ASSERT_EQ(selected.size(), 3u);  // strata 0, 1, 2; stratum 3 has no regression
        ASSERT_TRUE(combined);
        ASSERT_EQ(rows.size(), 3u + 3u + 1u);

        // Each stratum on its own.
        std::size_t i = 0;
        for (const auto& [h, r] : selected) {
            SCOPED_TRACE("stratum " + std::to_string(h));
            const PlanRecord& p = rows[i++];
            const std::vector<double>& y = kGroundDs1.at(h);
            const double rho2 = *r->rho * *r->rho;
            const double sY = standardDeviation(y);
            const double cv = 100 * sY / mean(y);
            const double Nrs = r->t * r->t * cv * cv / (c.E * c.E);
            const double n2 = Nrs * ((1 - rho2) + std::sqrt(c.c1 / c.c2 * rho2 * (1 - rho2)));
            const double n1 = Nrs * (rho2 + std::sqrt(c.c2 / c.c1 * rho2 * (1 - rho2)));
            const double cost = c.c2 * n2 + c.c1 * n1;
            EXPECT_EQ(p.stratum, std::to_string(h));
            EXPECT_EQ(p.variable, r->variable);
            expectClose(*p.rho2, rho2, "rho2");
            expectClose(*p.sY, sY, "s_y");
            EXPECT_EQ(p.n2, static_cast<double>(y.size()));
            EXPECT_EQ(p.n1, r->n1);
            EXPECT_EQ(p.sePercent, r->sePercent);
            expectClose(*p.ratio, std::sqrt(c.c2 / c.c1 * rho2 / (1 - rho2)), "ratio_n1_n2");
            expectClose(p.n2Required, n2, "n2_required");
            expectClose(p.n1Required, n1, "n1_required");
            expectClose(p.cost, cost, "cost");
            expectClose(p.groundOnlyN, Nrs, "ground_only_n");
            expectClose(p.groundOnlyCost, c.c2 * Nrs, "ground_only_cost");
            EXPECT_EQ(p.pays, cost < c.c2 * Nrs);
            // The regression report's sizes of the same variable, whole.
            const std::vector<std::string> w = variableLine(h, r->variable);
            ASSERT_EQ(w.size(), 8u);
            EXPECT_EQ(w[5], std::to_string(std::llround(Nrs)));
            EXPECT_EQ(w[6], std::to_string(std::llround(n1)));
            EXPECT_EQ(w[7], std::to_string(std::llround(n2)));
        }

        // The whole forest: strata 1 to 3 with their weights, then the total.
        const double V0 = std::pow(c.E * combined->ybarLR / (100 * combined->t), 2);
        double design = 0, spread = 0;
        std::vector<double> S(4), rho2(4);
        for (int h = 1; h <= 3; ++h) {
            S[h] = standardDeviation(kGroundDs1.at(h));
            rho2[h] = h == 3 ? 0 : *selected.at(h)->rho * *selected.at(h)->rho;
            design += kWeights[h] * S[h] *
                      (std::sqrt(c.c2 * (1 - rho2[h])) + std::sqrt(c.c1) * std::sqrt(rho2[h]));
            spread += kWeights[h] * S[h];
        }
        const double K = design / V0;
        double n2Total = 0, n1Total = 0, costTotal = 0;
        for (int h = 1; h <= 3; ++h) {
            SCOPED_TRACE("design, stratum " + std::to_string(h));
            const PlanRecord& p = rows[i++];
            const double n2 = K * kWeights[h] * S[h] * std::sqrt((1 - rho2[h]) / c.c2);
            const double n1 = K * kWeights[h] * S[h] * std::sqrt(rho2[h]) / std::sqrt(c.c1);
            EXPECT_EQ(p.stratum, "all");
            EXPECT_EQ(p.variable, "stratum " + std::to_string(h));
            expectClose(*p.rho2, rho2[h], "rho2");
            expectClose(*p.sY, S[h], "s_y");
            expectClose(p.n2Required, n2, "n2_h");
            expectClose(p.n1Required, n1, "n1_h");
            expectClose(p.cost, c.c2 * n2 + c.c1 * n1, "cost");
            expectClose(p.groundOnlyN, kWeights[h] * S[h] * spread / V0, "ground_only_n");
            EXPECT_EQ(p.pays, n1 >= n2);
            n2Total += n2;
            n1Total += n1;
            costTotal += c.c2 * n2 + c.c1 * n1;
        }
        EXPECT_FALSE(rows[5].pays);  // stratum 3: no LiDAR plots
        const PlanRecord& total = rows[i];
        EXPECT_EQ(std::pair(total.stratum, total.variable),
                  std::pair(std::string("all"), std::string("total")));
        EXPECT_FALSE(total.rho2 || total.sY || total.ratio);
        EXPECT_EQ(total.sePercent, combined->sePercent);
        expectClose(total.n2Required, n2Total, "total n2");
        expectClose(total.n1Required, n1Total, "total n1");
        expectClose(total.cost, costTotal, "total cost");
        expectClose(costTotal, design * design / V0, "least cost");
        expectClose(total.groundOnlyN, spread * spread / V0, "ground-only plots");
        expectClose(total.groundOnlyCost, c.c2 * spread * spread / V0, "ground-only cost");
        EXPECT_EQ(total.pays, costTotal < c.c2 * spread * spread / V0);

        // The report's Plan section: the plots to take rounded up, and where LiDAR does not pay.
        const std::string html = read(DataSetFile::Report);
        EXPECT_NE(html.find("<h2 id=\"plan\">Plan</h2>"), std::string::npos);
        EXPECT_NE(
            html.find("<strong>" + std::to_string(static_cast<long>(std::ceil(n2Total))) +
                      " ground plots and " + std::to_string(static_cast<long>(std::ceil(n1Total))) +
                      " LiDAR plots for "),
            std::string::npos);
        EXPECT_NE(html.find("<li>Stratum 3: in the design for the whole forest the LiDAR phase "
                            "does not pay; it would take fewer LiDAR plots (0.0) than ground "
                            "plots"),
                  std::string::npos);
    }
}

// A perfect fit: rho^2 is 1, so no ratio and no ground plots beyond the LiDAR plots' own; the
// one stratum of the combination takes every plot of the design (weight 1).
TEST_F(PlanFile, APerfectFitNeedsNoRatioAndOnlyLidarPlots) {
    writeSingleStratum();
    setCosts({20, 2, 5});
    runExpectingSuccess();
    const std::vector<PlanRecord> rows = plan();
    ASSERT_EQ(rows.size(), 2u + 1u + 1u);
    for (const PlanRecord& p : rows) {
        SCOPED_TRACE(p.stratum + " " + p.variable);
        EXPECT_FALSE(p.ratio);
        EXPECT_NEAR(p.n2Required, 0, 1e-9 * p.n1Required);
        EXPECT_TRUE(p.pays);
        if (p.stratum != "all") {
            EXPECT_NEAR(*p.rho2, 1, 1e-12);
            expectClose(p.n1Required, p.groundOnlyN, "n1 = N_rs");
            expectClose(p.cost, 2 * p.groundOnlyN, "cost = c1 N_rs");
        }
    }
    expectClose(rows[2].n1Required, rows[3].n1Required, "one stratum is the total");
}

// The required sizes at the default costs and target are the doubles of the fixed factors.
TEST(PlanDefaults, RequiredSizesAreThoseOfTheFixedFactors) {
    const std::array<Phase1Totals, 2> phase1{{{6, 60, 660}, {}}};
    std::vector<Phase2Plot> plots;
    for (const auto& [y, ba, vol] : {std::tuple{100.0, 8.0, 80.0},
                                     {150.0, 12.0, 130.0},
                                     {90.0, 9.5, 70.0},
                                     {170.0, 11.0, 150.0},
                                     {120, 10.5, 99}})
        plots.push_back({y, {ba, vol, 0, 0}});
    const StratumEstimate e = estimateStratum(phase1, plots);
    const StratumEstimate again = estimateStratum(phase1, plots, PlanSettings{10, 1, 10});
    for (int k = 0; k < 2; ++k) {
        const RegressionResult& r = e.reg[k];
        ASSERT_GT(r.Nrs, 0);
        const double rho2 = r.Rho * r.Rho;
        const double spread = rho2 * (1 - rho2);
        EXPECT_EQ(r.Nrs, r.t * r.t * e.CV[0] * e.CV[0] / (10.0 * 10.0));
        EXPECT_EQ(r.N1req, r.Nrs * (rho2 + std::sqrt(10 * spread)));
        EXPECT_EQ(r.N2req, r.Nrs * ((1 - rho2) + std::sqrt(0.1 * spread)));
        EXPECT_EQ(again.reg[k].N1req, r.N1req);
        EXPECT_EQ(again.reg[k].N2req, r.N2req);
    }
}

}  // namespace
}  // namespace orr::test
