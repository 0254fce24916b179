// Step 7 on several threads: the plot groups are computed side by side, yet the files and the
// log come out as from one thread going tree by tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/engine/phase1/Phase1TestData.h"

namespace orr::test {
namespace {

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
