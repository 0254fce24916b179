// Step 6 with expected shares (LidarClasses 1): every LiDAR tree enters every class of its plot
// with the width of the class's draw interval. A plot worked out by hand, files and log compared
// whole; and the mean of the draws over many seeds against the expected shares, per class.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "engine/distribution/PlotIteration.h"
#include "tests/engine/distribution/DistributionData.h"
#include "tests/support/SeedMeans.h"

namespace orr::test {
namespace {

// Species 1 grows a DBH of 4 ln H (b0 0, b1 4, b2 1 of equation 1), species 2 a DBH of 6; with
// LiHgtAdj "No" the ground height H is the LiDAR height h. Volume 0.5 H (species 1), 1 + 0.25 H
// (species 2).
const std::vector<std::string> kGrowingCoefficients = {
    "0,4,1,0",   "1,5,0,0",   // DBH
    "1,1,1,0",   "1,1,1,0",   // height from DBH (not used)
    "2,1,1,0",   "0,1,1,0",   // ground height, DataSet 1 (not used: LiHgtAdj "No")
    "0,2,1,0",   "-5,1,1,0",  // ground height, DataSet 2 (not used)
    "0,0,0.5,0", "1,0,0.25,0"};

// Plot 3: class (1,2) with 70 % of the ground trees, class (2,1) with 20 %; 10 % of the draws
// fall in no class. Draw list: (1,2) over (0, 0.7], (2,1) over (0.7, 0.9]: widths 0.7 and 0.2.
// Three LiDAR trees of heights 12, 20 and 30.
//   Species 1: D = 4 ln h = 9.9396, 11.9829, 13.6048 (9.9, 12.0, 13.6 to 0.1 inch); BA
//   0.005454 D^2 = 0.538834, 0.783143, 1.009482; volume 0.5 h = 6, 10, 15. Product 2 takes DBHs
//   12 to 30: the tree of 9.9 inches moves down to product 1 (5 to 12), the other two stay.
//   Species 2: D = 6, BA 0.196344, volume 1 + 0.25 h = 4, 6, 8.5; product 1 (4 to 8) fits.
// PACF 10, so a tree adds 7 (class 1,2) or 2 (class 2,1) trees per acre:
//   (1,1): N 7, BA 7 x 0.538834 = 3.77 -> 3.8, volume 7 x 6 = 42
//   (1,2): N 14, BA 7 x (0.783143 + 1.009482) = 12.55 -> 12.5, volume 7 x 25 = 175
//   (2,1): N 3 x 2 = 6, BA 6 x 0.196344 = 1.18 -> 1.2, volume 2 x 18.5 = 37
// No iterations: MaxItern (4) divides nothing.
// The classes and trees of the hand-worked plot 3 below, with the LiDAR heights `high` of
// DataSet 1 alone, given their classes by expected shares.
void handWorked(DistributionData& d, const std::vector<std::string>& high) {
    d.session.params.LidarClasses = 1;
    d.session.params.LiHgtAdj = 1;
    d.write(DataSetFile::Coefficients, kGrowingCoefficients);
    d.write(DataSetFile::PlotClasses, {"3,1,2,14,5.5,120,70,0,0", "3,2,1,4,0.5,30,20,0,0"});
    d.writeLidar(1, high);
}

TEST(ExpectedShares, AHandWorkedPlotGivesEachClassItsShareOfEveryTree) {
    DistributionData d;
    handWorked(d, {"3,12", "3,20", "3,30", "4,25"});
    ASSERT_TRUE(d.run().completed());
    EXPECT_TRUE(d.host.messages.empty());
    EXPECT_EQ(d.read(DataSetFile::LidarPlotsDS1),
              crlf({" 3 , 1 , 1 , 0 , 0 , 0 , 7 , 3.8 , 42 ",
                    " 3 , 1 , 2 , 14 , 5.5 , 120 , 14 , 12.5 , 175 ",
                    " 3 , 2 , 1 , 4 , .5 , 30 , 6 , 1.2 , 37 "}));
    EXPECT_EQ(d.read(DataSetFile::SpeciesCountsDS1), crlf({"3,1,14", "3,2,4"}));
    // No DataSet 2 file: ground values only.
    EXPECT_EQ(d.read(DataSetFile::LidarPlotsDS2), crlf({" 3 , 1 , 2 , 14 , 5.5 , 120 , 0 , 0 , 0 ",
                                                        " 3 , 2 , 1 , 4 , .5 , 30 , 0 , 0 , 0 "}));
    const std::vector<std::string> log = d.host.logLines();
    EXPECT_EQ(log.back(),
              "LiDAR trees to classes: expected shares (every LiDAR tree entered each class with "
              "its share; no random draws)");
    // Any seed gives the same files.
    const std::string first = d.read(DataSetFile::LidarPlotsDS1);
    d.session.run.seed = 99;
    ASSERT_TRUE(d.run().completed());
    EXPECT_EQ(d.read(DataSetFile::LidarPlotsDS1), first);
}

// The plot above with trees of the same height (12 twice, 20 twice, 30 once): trees of one height
// are worked out together, and each must still enter its own classes.
//   (1,1): the two trees of 12: N 14, BA 14 x 0.538834 = 7.54 -> 7.5, volume 14 x 6 = 84
//   (1,2): 20, 20, 30: N 21, BA 7 x (2 x 0.783143 + 1.009482) = 18.03 -> 18, volume 7 x 35 = 245
//   (2,1): all five: N 10, BA 10 x 0.196344 = 1.96 -> 2, volume 2 x (4 + 6 + 4 + 8.5 + 6) = 57
TEST(ExpectedShares, TreesOfTheSameHeightEachEnterTheirClasses) {
    DistributionData d;
    handWorked(d, {"3,12", "3,20", "3,12", "3,30", "3,20"});
    ASSERT_TRUE(d.run().completed());
    EXPECT_TRUE(d.host.messages.empty());
    EXPECT_EQ(d.read(DataSetFile::LidarPlotsDS1),
              crlf({" 3 , 1 , 1 , 0 , 0 , 0 , 14 , 7.5 , 84 ",
                    " 3 , 1 , 2 , 14 , 5.5 , 120 , 21 , 18 , 245 ",
                    " 3 , 2 , 1 , 4 , .5 , 30 , 10 , 2 , 57 "}));
}

// Under expected shares a tree whose DBH fits no product meets the question in every class it
// enters (each key once for the run); a drop is warned about as with draws.
TEST(ExpectedShares, AFitlessTreeIsAskedAboutInEveryClassItEnters) {
    DistributionData d;
    d.session.params.LidarClasses = 1;
    // Species 1 (DBH 10) is above product 2 (4..8) with no product 3; so is species 2 (DBH 6)
    // above its product 2 (2..5).
    d.write(DataSetFile::Dbh,
            {R"(1,1,"5","9")", R"(1,2,"4","8")", R"(2,1,"1","2")", R"(2,2,"2","5")"});
    // Class (1,2) over (0, 0.6], class (2,2) over (0.6, 1].
    d.write(DataSetFile::PlotClasses, {"3,1,2,10,1,1,60,0,0", "3,2,2,10,1,1,40,0,0"});
    d.writeLidar(1, {"3,20", "3,30"});
    d.host.productCodes = {1, std::nullopt};
    const StepResult result = d.run();
    ASSERT_TRUE(result.completed());
    EXPECT_EQ(d.host.productQuestions, (std::vector<std::pair<int, double>>{{1, 10.0}, {2, 6.0}}));
    // Species 1 goes to product 1: per tree 0.6 x 10 = 6 trees per acre, N 12, BA 12 x 0.5454 =
    // 6.54 -> 6.5, volume 6 x 0.5 x (22 + 32) = 162. Species 2 is dropped.
    EXPECT_EQ(d.read(DataSetFile::LidarPlotsDS1), crlf({" 3 , 1 , 1 , 0 , 0 , 0 , 12 , 6.5 , 162 ",
                                                        " 3 , 1 , 2 , 10 , 1 , 1 , 0 , 0 , 0 ",
                                                        " 3 , 2 , 2 , 10 , 1 , 1 , 0 , 0 , 0 "}));
    EXPECT_EQ(result.warnings,
              (std::vector<Warning>{{"dropped trees",
                                     "2 LiDAR trees dropped for want of a product code: species 2 "
                                     "(2 trees, DBH 6 inches)."}}));
}

// The draws of one plot, MaxItern 1, over many seeds: the mean of every class's N, BA and volume
// lies within three Monte-Carlo standard errors of its expected share.
TEST(ExpectedShares, TheMeanOfTheDrawsOverManySeedsApproachesTheExpectedShares) {
    const CoefficientTable coeff = twoSpeciesCoefficients();
    DbhLimits dbh = DbhLimits::empty(2, 2);
    const double limits[2][2][2] = {{{5, 12}, {12, 30}}, {{4, 8}, {8, 20}}};
    for (int s = 1; s <= 2; ++s) {
        for (int p = 1; p <= 2; ++p) {
            dbh.minDbh[dbh.index(s, p)] = limits[s - 1][p - 1][0];
            dbh.maxDbh[dbh.index(s, p)] = limits[s - 1][p - 1][1];
        }
    }
    ParamRecord params = ParamRecord::defaults();
    std::tie(params.PACF, params.MaxSpec, params.MaxProd, params.MaxItern, params.LiHgtAdj) =
        std::tuple(10, 2, 2, 1, 0);
    distribution::Phase2Plot plot{
        5, {{1, 1, 5, 1, 1, 0.45}, {1, 2, 3, 1, 1, 0.3}, {2, 1, 2, 1, 1, 0.2}}};
    const std::vector<double> heights = {11, 12, 15, 20, 25, 30, 40, 8};
    const distribution::PlotJob job{&plot, 0, 30, heights};

    using Key = std::pair<int, int>;
    const auto values = [&](const distribution::PlotResult& r) {
        std::map<Key, std::array<double, 3>> v;
        for (const auto& c : r.classes)
            v[{c.species, c.product}] = {c.lidarN, c.lidarBA, c.lidarVol};
        return v;
    };
    params.LidarClasses = 1;
    const distribution::PassSetup expectedSetup{&coeff, &dbh, &params, 1, 0};
    distribution::GrownTrees grownTrees({&coeff, &params, 1});
    const auto expected =
        values(*distribution::plotFirstLook(expectedSetup, job, grownTrees).result);
    ParamRecord drawParams = params;
    drawParams.LidarClasses = 0;

    constexpr int kSeeds = 4000;
    std::map<Key, std::array<std::vector<double>, 3>> draws;
    for (int seed = 1; seed <= kSeeds; ++seed) {
        const distribution::PassSetup setup{&coeff, &dbh, &drawParams, 1,
                                            static_cast<std::uint64_t>(seed)};
        const auto look = distribution::plotFirstLook(setup, job, grownTrees);
        ASSERT_TRUE(look.result);
        auto v = values(*look.result);
        for (const auto& [key, unused] : expected) v.try_emplace(key);
        for (const auto& [key, x] : v)
            for (int f = 0; f < 3; ++f) draws[key][f].push_back(x[f]);
    }
    // Every class the draws reached has an expected share: (1,1), (1,2) and (2,1).
    EXPECT_EQ(draws.size(), expected.size());
    EXPECT_EQ(expected.size(), 3u);
    for (const auto& [key, fields] : draws) {
        for (int f = 0; f < 3; ++f) {
            ASSERT_EQ(fields[f].size(), std::size_t{kSeeds});
            const auto [mean, se] = seedMean(fields[f]);
            const double want = expected.count(key) ? expected.at(key)[f] : 0.0;
            EXPECT_LE(std::fabs(mean - want), 3 * se + 1e-9)
                << "class " << key.first << "," << key.second << " field " << f << ": mean " << mean
                << ", expected " << want << ", standard error " << se;
            EXPECT_GT(se, 0.0);
        }
    }
}

}  // namespace
}  // namespace orr::test
