// The species draws of step 7: a fixed seed gives fixed files, and several threads computing
// plot groups side by side give the files and the log of one thread going tree by tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
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

// Many plot groups: more heights than one batch of the step holds, plots in three strata ranges
// (one without Phase 2 trees) and outside every range, heights of 10 feet or less among them,
// and plots that come back after other plots.
std::string manyGroups(std::uint32_t state) {
    auto next = [&state](std::uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % range);
    };
    std::string text;
    for (int i = 0; i < 2600; ++i) {
        const int plot = 1 + next(2800), trees = 1 + next(40);
        for (int t = 0; t < trees; ++t) {
            const int tenths = 50 + next(700);
            text += std::to_string(plot) + "," + std::to_string(tenths / 10) + "." +
                    std::to_string(tenths % 10) + "\r\n";
        }
    }
    return text;
}

struct Outcome {
    bool completed = false;
    std::string ds1, ds2;
    RecordingHost host;
};

void runWith(Phase1Data& data, unsigned threads, Outcome& outcome) {
    data.session.run.threads = threads;
    outcome.completed = data.run(outcome.host);
    outcome.ds1 = data.output(1);
    outcome.ds2 = data.output(2);
}

TEST(Phase1Threads, OneAndFourThreadsGiveIdenticalFilesAndLog) {
    Phase1Data data;
    data.session.params.MaxPlots = 3000;
    // Plots 2501..2800 lie in no stratum; stratum 3 has no Phase 2 trees.
    data.writeStrata(crlf({"1,1,1000,30", "2,1001,2000,60", "3,2001,2500,90"}));
    data.writeSpecies(crlf({"5,1,30", "5,2,70", "1500,1,50", "1500,2,50"}));
    data.writeHigh(manyGroups(7));
    data.writeLow(manyGroups(99));
    Outcome one, four;
    runWith(data, 1, one);
    runWith(data, 4, four);
    ASSERT_TRUE(one.completed && four.completed);
    EXPECT_GT(std::count(one.ds1.begin(), one.ds1.end(), '\n'), 1500);  // several batches
    EXPECT_EQ(one.ds1, four.ds1);
    EXPECT_EQ(one.ds2, four.ds2);
    EXPECT_EQ(one.host.logged, four.host.logged);
    EXPECT_EQ(one.host.logText, four.host.logText);
}

}  // namespace
}  // namespace orr::test
