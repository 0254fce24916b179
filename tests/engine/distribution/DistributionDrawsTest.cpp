// The random draws of step 6: repeatable with a fixed seed whatever the number of threads, and
// distributed as the ground shares say.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "files/LidarPlotFile.h"
#include "tests/engine/distribution/DistributionData.h"

namespace orr::test {
namespace {

// DBH limits 1..50 for every class, so that every drawn tree keeps its class, and H = h.
void keepClasses(DistributionData& d, int maxProd) {
    d.session.params.MaxProd = maxProd;
    d.session.params.LiHgtAdj = 1;
    std::vector<std::string> rows;
    for (int s = 1; s <= 2; ++s)
        for (int p = 1; p <= maxProd; ++p)
            rows.push_back(std::to_string(s) + "," + std::to_string(p) + ",1,50");
    d.write(DataSetFile::Dbh, rows);
}

// `count` LiDAR trees of heights from..from+count-1 on a plot.
void addTrees(std::vector<std::string>& lines, int plot, int count, int from) {
    for (int t = 0; t < count; ++t)
        lines.push_back(std::to_string(plot) + "," + std::to_string(from + t));
}

// The LiDAR N of every class of _PH2plotDS1.csv as [plot][species * 10 + product].
std::map<int, std::map<int, double>> lidarN(const DistributionData& d) {
    std::map<int, std::map<int, double>> out;
    for (const auto& r : files::readAll<files::LidarPlotFile>(d.file(DataSetFile::LidarPlotsDS1),
                                                              files::Limits::of(d.session.params)))
        out[r.plot][r.species * 10 + r.product] = r.lidarN;
    return out;
}

TEST(DistributionDraws, FixedSeedGivesIdenticalFilesAnyThreadCount) {
    DistributionData d;
    d.session.params.MaxPlots = 5000;
    d.session.params.MaxItern = 25;
    std::mt19937 gen(11);
    std::vector<std::string> ground, high, low;
    for (int p = 1; p <= 300; ++p) {  // two or three classes, 1 to 40 trees in both data sets
        const auto a = std::to_string(10 + gen() % 60), b = std::to_string(100 - std::stoi(a));
        ground.push_back(std::to_string(p) + ",1,1,10,1,1," + a + ",0,0");
        ground.push_back(std::to_string(p) + ",2,1,10,1,1," + b + ",0,0");
        if (p % 3 == 0) ground.push_back(std::to_string(p) + ",2,2,10,1,1,5,0,0");
        const int trees = 1 + static_cast<int>(gen() % 40);
        addTrees(high, p, trees, 8 + static_cast<int>(gen() % 20));
        addTrees(low, p, trees, 12 + static_cast<int>(gen() % 20));
    }
    d.write(DataSetFile::PlotClasses, ground);
    d.writeLidar(1, high);
    d.writeLidar(2, low);
    auto outputs = [&] {
        return d.read(DataSetFile::LidarPlotsDS1) + d.read(DataSetFile::SpeciesCountsDS1) +
               d.read(DataSetFile::LidarPlotsDS2);
    };
    d.session.run.seed = 1234;
    ASSERT_TRUE(d.run().completed());
    const std::string first = outputs();
    for (unsigned threads : {4u, 0u}) {
        d.session.run.threads = threads;
        ASSERT_TRUE(d.run().completed());
        EXPECT_EQ(outputs(), first) << threads << " threads";
    }
    d.session.run.seed = 1235;
    ASSERT_TRUE(d.run().completed());
    EXPECT_NE(outputs(), first);
}

TEST(DistributionDraws, LidarNLiesWithinFourStandardErrorsOfItsExpectation) {
    DistributionData d;
    d.session.params.MaxItern = 2000;
    d.session.params.PACF = 100;
    keepClasses(d, 3);
    // Shares 0.5, 0.3, 0.2 on each plot, spread over the classes differently.
    d.write(DataSetFile::PlotClasses,
            {"1,1,1,50,1,1,50,0,0", "1,1,2,30,1,1,30,0,0", "1,2,3,20,1,1,20,0,0",
             "2,1,3,20,1,1,20,0,0", "2,2,1,50,1,1,50,0,0", "2,2,2,30,1,1,30,0,0"});
    std::vector<std::string> high = {"1,9"};  // too short: drawn but never counted
    addTrees(high, 1, 40, 11);
    addTrees(high, 2, 40, 20);
    d.writeLidar(1, high);
    ASSERT_TRUE(d.run().completed());
    const auto n = lidarN(d);
    const std::map<int, std::map<int, double>> shares = {{1, {{11, .5}, {12, .3}, {23, .2}}},
                                                         {2, {{13, .2}, {21, .5}, {22, .3}}}};
    for (const auto& [plot, classes] : shares) {
        double total = 0;
        for (const auto& [code, share] : classes) {
            const double se = 100.0 * std::sqrt(40 * share * (1 - share) / 2000);
            EXPECT_NEAR(n.at(plot).at(code), 100.0 * 40 * share, 4 * se) << plot << "/" << code;
            total += n.at(plot).at(code);
        }
        EXPECT_NEAR(total, 100.0 * 40, 1.5);  // shares adding to 1 place every counted tree
    }
}

TEST(DistributionDraws, SharesAboveOneLeaveTheLastClassEmptyAndBelowOneSomeTreesUndrawn) {
    DistributionData d;
    d.session.params.MaxItern = 500;
    keepClasses(d, 2);
    // Plot 4: shares 0.5, 0.2 and 0.5; the two halves fill (0, 1] and the 0.2 class has no width
    // left. Plot 5: a single share of 0.25.
    d.write(DataSetFile::PlotClasses, {"4,1,1,10,1,1,50,0,0", "4,1,2,10,1,1,20,0,0",
                                       "4,2,1,10,1,1,50,0,0", "5,1,1,10,1,1,25,0,0"});
    std::vector<std::string> high;
    addTrees(high, 4, 30, 15);
    addTrees(high, 5, 40, 15);
    d.writeLidar(1, high);
    ASSERT_TRUE(d.run().completed());
    const auto n = lidarN(d);
    EXPECT_EQ(n.at(4).at(12), 0);
    EXPECT_GT(n.at(4).at(11), 0);
    EXPECT_GT(n.at(4).at(21), 0);
    EXPECT_NEAR(n.at(4).at(11) + n.at(4).at(21), 300, 1);
    EXPECT_NEAR(n.at(5).at(11), 100, 4 * 10.0 * std::sqrt(40 * 0.25 * 0.75 / 500));
}

}  // namespace
}  // namespace orr::test
