// The random draws of step 6: repeatable with a fixed seed whatever the number of threads, and
// distributed as the ground shares say.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

#include "core/CommaReader.h"
#include "engine/distribution/DrawStream.h"
#include "tests/engine/distribution/DistributionData.h"

namespace orr::test {
namespace {

// Many plots of two or three classes and 1 to 40 LiDAR trees each, in both data sets.
void writeManyPlots(DistributionData& d, int plots) {
    d.session.params.MaxPlots = 5000;
    d.session.params.MaxItern = 25;
    std::mt19937 gen(11);
    std::vector<std::string> ground, high, low;
    for (int p = 1; p <= plots; ++p) {
        const int a = 10 + static_cast<int>(gen() % 60);
        ground.push_back(std::to_string(p) + ",1,1,10,1,1," + std::to_string(a) + ",0,0");
        ground.push_back(std::to_string(p) + ",2,1,10,1,1," + std::to_string(100 - a) + ",0,0");
        if (p % 3 == 0) ground.push_back(std::to_string(p) + ",2,2,10,1,1,5,0,0");
        const int trees = 1 + static_cast<int>(gen() % 40);
        for (int t = 0; t < trees; ++t) {
            high.push_back(std::to_string(p) + "," + std::to_string(8 + gen() % 40));
            low.push_back(std::to_string(p) + "," + std::to_string(12 + gen() % 40));
        }
    }
    d.writeDataSetFile("_PH2Plot.csv", ground);
    d.writeLidar(1, high);
    d.writeLidar(2, low);
}

// DBH limits 1..50 for every class: every drawn tree keeps its class.
void writeWideLimits(DistributionData& d, int maxProd) {
    std::vector<std::string> rows;
    for (int s = 1; s <= 2; ++s)
        for (int p = 1; p <= maxProd; ++p)
            rows.push_back(std::to_string(s) + "," + std::to_string(p) + ",1,50");
    d.writeDataSetFile("_DBH.csv", rows);
}

std::string allOutputs(const DistributionData& d) {
    return d.read("_PH2plotDS1.csv") + "|" + d.read("_PH2specDS1.csv") + "|" +
           d.read("_PH2plotDS2.csv");
}

TEST(DistributionDraws, GeneratorSeedMixesSeedPassAndPosition) {
    using distribution::mix;
    // SplitMix64 of 0 is its well-known first output.
    EXPECT_EQ(mix(0), 0xe220a8397b1dcdafULL);
    EXPECT_EQ(distribution::plotSeed(42, 1, 3), mix(mix(42 ^ 0x601) ^ 3));
    std::mt19937_64 g(distribution::plotSeed(42, 2, 0));
    distribution::DrawStream stream(42, 2, 0);
    for (int i = 0; i < 5; ++i) {
        const double expected = static_cast<double>(g() >> 11) / 9007199254740992.0;
        EXPECT_EQ(stream.next(), expected);
    }
}

TEST(DistributionDraws, FixedSeedGivesIdenticalFilesAnyThreadCount) {
    DistributionData d;
    writeManyPlots(d, 300);
    d.session.run.seed = 1234;
    d.session.run.threads = 1;
    ASSERT_TRUE(d.run());
    const std::string first = allOutputs(d);
    d.session.run.threads = 4;
    ASSERT_TRUE(d.run());
    EXPECT_EQ(allOutputs(d), first);
    d.session.run.threads = 0;
    ASSERT_TRUE(d.run());
    EXPECT_EQ(allOutputs(d), first);

    d.session.run.seed = 1235;
    ASSERT_TRUE(d.run());
    EXPECT_NE(allOutputs(d), first);
}

// Reads the LN field of every line of a plot file as [plot][species * 10 + product].
std::map<int, std::map<int, double>> lidarN(const std::filesystem::path& file) {
    std::map<int, std::map<int, double>> out;
    CommaReader reader(file);
    while (reader.next(9)) {
        out[static_cast<int>(reader.number(0, "plot"))]
           [static_cast<int>(reader.number(1, "sp") * 10 + reader.number(2, "pr"))] =
               reader.number(6, "LN");
    }
    return out;
}

TEST(DistributionDraws, LidarNLiesWithinFourStandardErrorsOfItsExpectation) {
    DistributionData d;
    d.session.params.MaxItern = 2000;
    d.session.params.PACF = 100;
    d.session.params.MaxProd = 3;
    d.session.params.LiHgtAdj = 1;  // H = h: every tree above 10 is counted
    writeWideLimits(d, 3);
    // Shares 0.5, 0.3, 0.2 on each plot, spread over the classes differently.
    d.writeDataSetFile("_PH2Plot.csv",
                       {"1,1,1,50,1,1,50,0,0", "1,1,2,30,1,1,30,0,0", "1,2,3,20,1,1,20,0,0",
                        "2,1,3,20,1,1,20,0,0", "2,2,1,50,1,1,50,0,0", "2,2,2,30,1,1,30,0,0"});
    std::vector<std::string> high;
    for (int t = 0; t < 40; ++t) {
        high.push_back("1," + std::to_string(11 + t));
        high.push_back("2," + std::to_string(20 + t));
    }
    high.push_back("1,9");  // too short: drawn but never counted
    d.writeLidar(1, high);
    d.session.LowLidarFileName.clear();
    ASSERT_TRUE(d.run());

    const auto n = lidarN(d.file("_PH2plotDS1.csv"));
    const std::map<int, std::map<int, double>> shares = {{1, {{11, .5}, {12, .3}, {23, .2}}},
                                                         {2, {{13, .2}, {21, .5}, {22, .3}}}};
    for (const auto& [plot, classes] : shares) {
        double total = 0;
        for (const auto& [code, share] : classes) {
            const double expected = 100.0 * 40 * share;
            const double se = 100.0 * std::sqrt(40 * share * (1 - share) / 2000);
            const double got = n.at(plot).at(code);
            EXPECT_NEAR(got, expected, 4 * se) << "plot " << plot << " class " << code;
            total += got;
        }
        // Shares adding to 1: every counted tree lands in some class in every iteration.
        EXPECT_NEAR(total, 100.0 * 40, 1.5);
    }
}

TEST(DistributionDraws, SharesAboveOneLeaveTheLastClassEmpty) {
    DistributionData d;
    d.session.params.MaxItern = 200;
    d.session.params.LiHgtAdj = 1;
    writeWideLimits(d, 2);
    // Shares 0.5, 0.5 and 0.2: the two halves fill (0, 1], the 0.2 class has no width left.
    d.writeDataSetFile("_PH2Plot.csv",
                       {"4,1,1,10,1,1,50,0,0", "4,1,2,10,1,1,20,0,0", "4,2,1,10,1,1,50,0,0"});
    std::vector<std::string> high;
    for (int t = 0; t < 30; ++t) high.push_back("4," + std::to_string(15 + t));
    d.writeLidar(1, high);
    d.session.LowLidarFileName.clear();
    ASSERT_TRUE(d.run());
    const auto n = lidarN(d.file("_PH2plotDS1.csv"));
    EXPECT_EQ(n.at(4).at(12), 0);
    EXPECT_GT(n.at(4).at(11), 0);
    EXPECT_GT(n.at(4).at(21), 0);
    EXPECT_NEAR(n.at(4).at(11) + n.at(4).at(21), 300, 1);
}

TEST(DistributionDraws, SharesBelowOneLeaveSomeTreesUndrawn) {
    DistributionData d;
    d.session.params.MaxItern = 500;
    d.session.params.LiHgtAdj = 1;
    writeWideLimits(d, 2);
    d.writeDataSetFile("_PH2Plot.csv", {"4,1,1,10,1,1,25,0,0"});
    std::vector<std::string> high;
    for (int t = 0; t < 40; ++t) high.push_back("4," + std::to_string(15 + t));
    d.writeLidar(1, high);
    d.session.LowLidarFileName.clear();
    ASSERT_TRUE(d.run());
    const double se = 10.0 * std::sqrt(40 * 0.25 * 0.75 / 500);
    EXPECT_NEAR(lidarN(d.file("_PH2plotDS1.csv")).at(4).at(11), 100, 4 * se);
}

TEST(DistributionDraws, OneIterationCountsWholeTrees) {
    DistributionData d;
    d.session.params.MaxItern = 1;
    d.session.params.LiHgtAdj = 1;
    writeWideLimits(d, 2);
    d.writeDataSetFile("_PH2Plot.csv", {"4,1,1,10,1,1,40,0,0", "4,2,2,10,1,1,60,0,0"});
    std::vector<std::string> high;
    for (int t = 0; t < 25; ++t) high.push_back("4," + std::to_string(15 + t));
    d.writeLidar(1, high);
    d.session.LowLidarFileName.clear();
    ASSERT_TRUE(d.run());
    const auto n = lidarN(d.file("_PH2plotDS1.csv"));
    EXPECT_EQ(std::fmod(n.at(4).at(11), 10), 0);
    EXPECT_EQ(n.at(4).at(11) + n.at(4).at(22), 250);
}

}  // namespace
}  // namespace orr::test
