// The species draws of step 7: a fixed seed gives fixed files, a run repeats with its seed, and
// the shares are reached over many draws.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/engine/phase1/Phase1TestData.h"

namespace orr::test {
namespace {

TEST(Phase1Draws, AFixedSeedGivesTheseFiles) {
    Phase1Data data;
    RecordingHost host;
    // Stratum 1 draws species 1 and 2 half and half, stratum 2 three to one.
    data.writeStrata(crlf({"1,1,50,30", "2,51,99,40"}));
    data.writeSpecies(crlf({"1,1,50", "1,2,50", "60,1,30", "60,2,10"}));
    // Plot 2 comes back after plots 60, 100 (in no stratum) and 3; the 9 takes no part.
    data.writeHigh(
        crlf({"2,12",  "2,13",  "2,14",  "2,15",   "2,16", "2,17", "2,9",  "60,11", "60,13",
              "60,15", "60,17", "60,19", "100,20", "3,11", "3,12", "3,13", "3,14",  "3,15",
              "3,16",  "2,16",  "2,17",  "2,18",   "2,19", "2,20", "2,21"}));
    data.writeLow(crlf({"70,11", "70,12", "70,13", "70,14", "70,15", "70,16", "70,17", "70,18",
                        "5,30", "5,31", "5,32", "5,33"}));
    data.session.run.seed = 987654321;
    ASSERT_TRUE(data.run(host));
    // Every plot's trees are split between the species: the N add up to 20 per tree and the
    // volumes to 20 H for a species-1 tree and 40 H for a species-2 tree.
    EXPECT_EQ(data.output(1), crlf({"2,1,40,21.82,620", "2,2,80,10.91,2240", "60,1,80,43.63,1120",
                                    "60,2,20,2.73,760", "3,1,100,54.54,1380", "3,2,20,2.73,480",
                                    "2,1,60,32.72,1080", "2,2,60,8.18,2280"}));
    EXPECT_EQ(data.output(2), crlf({"70,1,120,65.45,1860", "70,2,40,5.45,920", "5,1,40,21.82,1300",
                                    "5,2,40,5.45,2440"}));
}

// Shares 0.7 and 0.3 over 400 plots of ten trees each, in both passes; PACF 7.
class ManyDraws : public ::testing::Test {
  protected:
    ManyDraws() {
        data.session.params.PACF = 7;
        data.session.params.MaxPlots = 400;
        data.writeStrata(crlf({"1,1,400,30"}));
        data.writeSpecies(crlf({"1,1,70", "1,2,30"}));
        std::vector<std::string> records;
        for (int plot = 1; plot <= 400; ++plot) {
            for (int tree = 0; tree < 10; ++tree) records.push_back(std::to_string(plot) + ",20");
        }
        data.writeHigh(crlf(records));
        data.writeLow(crlf(records));
    }
    Phase1Data data;
    RecordingHost host;
};

TEST_F(ManyDraws, SpeciesCountsMatchTheSharesAndNIsAMultipleOfPacf) {
    ASSERT_TRUE(data.run(host));
    for (int pass : {1, 2}) {
        std::map<int, long> counts;
        std::istringstream lines(data.output(pass));
        for (std::string line; std::getline(lines, line);) {
            int plot = 0, species = 0;
            long n = 0;
            ASSERT_EQ(std::sscanf(line.c_str(), "%d,%d,%ld,", &plot, &species, &n), 3) << line;
            EXPECT_EQ(n % 7, 0) << line;
            counts[species] += n / 7;
        }
        EXPECT_EQ(counts[1] + counts[2], 4000) << pass;  // the shares add up to 1
        const double expected = 4000 * 0.7, standardError = std::sqrt(4000 * 0.7 * 0.3);
        EXPECT_LT(std::fabs(counts[1] - expected), 4.0 * standardError) << pass << counts[1];
    }
}

TEST_F(ManyDraws, ASeedRepeatsItsRunAndEachPassDrawsOnItsOwn) {
    ASSERT_TRUE(data.run(host));
    const std::string first1 = data.output(1), first2 = data.output(2);
    EXPECT_NE(first1, first2);  // each pass draws from generators of its own
    RecordingHost again;
    ASSERT_TRUE(data.run(again));
    EXPECT_EQ(data.output(1), first1);
    EXPECT_EQ(data.output(2), first2);
    data.session.run.seed = 12346;
    RecordingHost other;
    ASSERT_TRUE(data.run(other));
    EXPECT_NE(data.output(1), first1);
}

}  // namespace
}  // namespace orr::test
