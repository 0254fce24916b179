// Step 7 with expected shares (LidarClasses 1): every LiDAR tree enters every species of its
// stratum with the width of the species' draw interval, and N is written to 2 decimals. A plot
// worked out by hand, the file compared whole; and the mean of the draws over many seeds against
// the expected shares, per plot and species.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/CommaReader.h"
#include "tests/engine/phase1/Phase1TestData.h"
#include "tests/support/SeedMeans.h"

namespace orr::test {
namespace {

// Species 1 grows a DBH of 4 ln H, species 2 one of 5 inches (BA 0.13635); H = h; volume H
// (species 1) and 2H (species 2). Product 1 of species 1 starts at 10 inches.
const std::vector<std::string> kGrowingCoefficients = {
    "0,4,1,0", "5,0,0,0",  // DBH
    "0,0,0,0", "0,0,0,0",  // height from DBH (not used)
    "0,1,1,0", "0,1,1,0",  // DataSet 1 ground height H = h
    "0,1,1,0", "0,1,1,0",  // DataSet 2 ground height H = h
    "0,0,1,0", "0,0,2,0",  // volume H and 2H
};

// Stratum 1 holds 2 ground trees per acre of species 1 for each of species 2: draw list species 1
// over (0, 2/3], species 2 over (2/3, 1]. Plot 5 has three LiDAR trees, of heights 12, 20 and 30.
//   Species 1: D = 4 ln h = 9.94, 11.98, 13.60; the first is below the 10 inches of product 1 and
//   is not counted. BA 0.005454 D^2 = 0.783143 and 1.009482 for the other two.
//   N = 2 x 2/3 x PACF 20 = 26.67; BA = 2/3 x 20 x 1.792625 = 23.90; volume 2/3 x 20 x 50 = 666.67.
//   Species 2: all three count: N = 3 x 1/3 x 20 = 20, BA = 20 x 0.13635 = 2.73 (2.727),
//   volume 1/3 x 20 x 2 x 62 = 826.67.
// The stratum and trees of the hand-worked plots below, with the LiDAR heights `high` of
// DataSet 1 alone, given their classes by expected shares.
void handWorked(Phase1Data& data, const std::string& high) {
    data.session.params.LidarClasses = 1;
    data.writeCoefficients(kGrowingCoefficients);
    writeFile(data.session.inputs.dbh, crlf({"1,1,10,99", "2,1,0,99"}));
    data.writeStrata(crlf({"1,1,10,30"}));
    data.writeSpecies(crlf({"3,1,2", "3,2,1"}));
    data.writeHigh(high);
    data.session.inputs.lidarLow.clear();
}

TEST(Phase1ExpectedShares, AHandWorkedPlotGivesEachSpeciesItsShareOfEveryTree) {
    Phase1Data data;
    handWorked(data, crlf({"5,12", "5,20", "5,30"}));
    ASSERT_TRUE(data.run());
    EXPECT_TRUE(data.host.messages.empty());
    EXPECT_EQ(data.output(1), crlf({"5,1,26.67,23.9,666.67", "5,2,20,2.73,826.67"}));
    EXPECT_EQ(data.host.logLines().back(),
              "LiDAR trees to species: expected shares (every LiDAR tree entered each species of "
              "its stratum with its share; no random draws)");
}

// The same trees again, heights repeating within plot 5 (20 twice) and from plot to plot (plot 6
// holds the heights of the plot above): each tree still enters with its own share.
//   Plot 5 (12, 20, 30, 20): species 1 counts 20, 30, 20: N = 3 x 2/3 x 20 = 40,
//   BA = 2/3 x 20 x (2 x 0.783143 + 1.009482) = 34.34, volume 2/3 x 20 x 70 = 933.33; species 2
//   counts all four: N = 4 x 1/3 x 20 = 26.67, BA = 26.67 x 0.13635 = 3.64,
//   volume 1/3 x 20 x 2 x 82 = 1093.33.
//   Plot 6 (30, 12, 20): the plot above.
TEST(Phase1ExpectedShares, TreesOfTheSameHeightEachEnterWithTheirShare) {
    Phase1Data data;
    handWorked(data, crlf({"5,12", "5,20", "5,30", "5,20", "6,30", "6,12", "6,20"}));
    ASSERT_TRUE(data.run());
    EXPECT_TRUE(data.host.messages.empty());
    EXPECT_EQ(data.output(1), crlf({"5,1,40,34.34,933.33", "5,2,26.67,3.64,1093.33",
                                    "6,1,26.67,23.9,666.67", "6,2,20,2.73,826.67"}));
}

// Species 2 given a volume of -2H: every tree that enters it is tallied as implausible, whether
// its height is met for the first time or again (within the plot, and in the next plot), once
// for each tree; the first is the first tree of plot 5 (H 12, -24 cubic feet).
TEST(Phase1ExpectedShares, EveryTreeOfAnImplausibleVolumeIsTallied) {
    Phase1Data data;
    handWorked(data, crlf({"5,12", "5,20", "5,12", "6,20", "6,12"}));
    std::vector<std::string> coefficients = kGrowingCoefficients;
    coefficients[9] = "0,0,-2,0";
    data.writeCoefficients(coefficients);
    const StepResult result = runStep(7, &computePhase1, data.session, data.host);
    ASSERT_TRUE(result.completed());
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0].text,
              "5 DataSet 1 LiDAR tree volumes below 0 or not finite, the first -24 cubic feet in "
              "plot 5, species 2: are the coefficients those of this model set?");
}

// Per plot and species the N, BA and volume of _Phase1DS1.csv, from a run of the step.
using Totals = std::map<std::pair<int, int>, std::array<double, 3>>;
Totals readTotals(const std::filesystem::path& file) {
    Totals totals;
    CommaReader in(file);
    while (in.next(5)) {
        const int plot = static_cast<int>(in.number(0, "plot"));
        const int species = static_cast<int>(in.number(1, "species"));
        auto& t = totals[{plot, species}];
        for (int f = 0; f < 3; ++f) t[f] += in.number(2 + f, "value");
    }
    return totals;
}

// Three plots of two strata, the draws repeated over many seeds: the mean of each plot's N, BA
// and volume per species lies within three Monte-Carlo standard errors of its expected share.
TEST(Phase1ExpectedShares, TheMeanOfTheDrawsOverManySeedsApproachesTheExpectedShares) {
    Phase1Data data;
    data.writeCoefficients(kGrowingCoefficients);
    writeFile(data.session.inputs.dbh, crlf({"1,1,10,99", "2,1,0,99"}));
    data.writeStrata(crlf({"1,1,10,30", "2,11,20,40"}));
    data.writeSpecies(crlf({"3,1,2", "3,2,1", "12,1,1", "12,2,3"}));
    data.writeHigh(crlf(
        {"5,12", "5,20", "5,30", "5,41.5", "7,15", "7,18", "14,25", "14,11", "14,35", "14,19"}));
    data.session.inputs.lidarLow.clear();
    data.session.params.LidarClasses = 1;
    ASSERT_TRUE(data.run());
    const Totals expected = readTotals(data.file(DataSetFile::Phase1DS1));
    ASSERT_EQ(expected.size(), 6u);  // three plots, two species each

    data.session.params.LidarClasses = 0;
    constexpr int kSeeds = 150;
    std::map<std::pair<int, int>, std::array<std::vector<double>, 3>> draws;
    for (int seed = 1; seed <= kSeeds; ++seed) {
        data.session.run.seed = static_cast<std::uint64_t>(seed);
        RecordingHost quiet;
        ASSERT_TRUE(data.run(quiet));
        Totals run = readTotals(data.file(DataSetFile::Phase1DS1));
        for (const auto& [key, unused] : expected) run.try_emplace(key);
        ASSERT_EQ(run.size(), expected.size());
        for (const auto& [key, t] : run)
            for (int f = 0; f < 3; ++f) draws[key][f].push_back(t[f]);
    }
    for (const auto& [key, fields] : draws) {
        for (int f = 0; f < 3; ++f) {
            ASSERT_EQ(fields[f].size(), std::size_t{kSeeds});
            const auto [mean, se] = seedMean(fields[f]);
            // The files hold 2 decimals: half a hundredth more on either side.
            EXPECT_LE(std::fabs(mean - expected.at(key)[f]), 3 * se + 0.005)
                << "plot " << key.first << ", species " << key.second << ", field " << f
                << ": mean " << mean << ", expected " << expected.at(key)[f] << ", SE " << se;
            EXPECT_GT(se, 0.0);
        }
    }
}

}  // namespace
}  // namespace orr::test
