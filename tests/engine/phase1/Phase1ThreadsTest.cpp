// Step 7 on several threads: the plot groups are computed side by side, yet the files, the log
// and the stops come out as from one thread going tree by tree.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/engine/phase1/Phase1TestData.h"

namespace orr::test {
namespace {

// A LiDAR height file of many plot groups: more heights than one batch of the step holds, plots
// in three strata ranges (one of them without Phase 2 trees) and outside every range, heights of
// 10 feet or less among them, and plots that come back after other plots.
std::string manyGroups(std::uint32_t state, int plots) {
    auto next = [&state](std::uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % range;
    };
    std::string text;
    for (int i = 0; i < plots; ++i) {
        const int plot = 1 + static_cast<int>(next(2800));
        const int trees = 1 + static_cast<int>(next(40));
        for (int t = 0; t < trees; ++t) {
            const int tenths = 50 + static_cast<int>(next(700));
            text += std::to_string(plot) + "," + std::to_string(tenths / 10) + "." +
                    std::to_string(tenths % 10) + "\r\n";
        }
    }
    return text;
}

class Phase1Threads : public ::testing::Test {
  protected:
    void SetUp() override {
        data.session.params.MaxPlots = 3000;
        data.writeStandardSetUp();
        // Plots 2501..2800 lie in no stratum; stratum 3 has no Phase 2 trees.
        data.writeStrata(crlf({"1,1,1000,30", "2,1001,2000,60", "3,2001,2500,90"}));
        data.writeSpecies(crlf({"5,1,30", "5,2,70", "1500,1,50", "1500,2,50"}));
        data.writeHigh(manyGroups(7, 2600));
        data.writeLow(manyGroups(99, 2600));
    }

    struct Outcome {
        bool completed = false;
        std::string ds1, ds2;
        std::vector<std::string> appended;
        std::vector<std::string> messages;
    };

    Outcome runWith(unsigned threads) {
        data.session.run.threads = threads;
        std::filesystem::remove(data.out("_Phase1DS1.csv"));
        std::filesystem::remove(data.out("_Phase1DS2.csv"));
        RecordingHost host;
        Outcome outcome;
        outcome.completed = data.run(host);
        if (std::filesystem::exists(data.out("_Phase1DS1.csv"))) {
            outcome.ds1 = readFile(data.out("_Phase1DS1.csv"));
        }
        if (std::filesystem::exists(data.out("_Phase1DS2.csv"))) {
            outcome.ds2 = readFile(data.out("_Phase1DS2.csv"));
        }
        outcome.appended = host.appended;
        for (const auto& m : host.messages) outcome.messages.push_back(m.text);
        return outcome;
    }

    Phase1Data data;
};

TEST_F(Phase1Threads, OneAndFourThreadsGiveIdenticalFilesAndLog) {
    const Outcome one = runWith(1);
    ASSERT_TRUE(one.completed);
    // Enough lines that several batches of groups were needed.
    EXPECT_GT(fileLines(data.out("_Phase1DS1.csv")).size(), 1500u);
    for (unsigned threads : {2u, 3u, 4u}) {
        const Outcome many = runWith(threads);
        ASSERT_TRUE(many.completed) << threads;
        EXPECT_EQ(one.ds1, many.ds1) << threads << " threads";
        EXPECT_EQ(one.ds2, many.ds2) << threads << " threads";
        EXPECT_EQ(one.appended, many.appended) << threads << " threads";
    }
}

TEST_F(Phase1Threads, ATreeCountedInAPlotThatComesBackJoinsTheOpenPlot) {
    // Plot 7's second group follows a group of plot 2600 (in a stratum without Phase 2 trees),
    // which counts nothing: plot 7 is still the open plot and its trees are summed into one line.
    data.writeSpecies(crlf({"5,1,100"}));
    data.writeHigh(crlf({"7,20", "2600,30", "2600,40", "7,50"}));
    data.writeLow("");
    for (unsigned threads : {1u, 4u}) {
        const Outcome outcome = runWith(threads);
        ASSERT_TRUE(outcome.completed);
        // Species 1: DBH 10, BA 0.5454 per tree, volume = H.
        EXPECT_EQ(crlf({"7,1,40,21.82,1400"}), outcome.ds1) << threads << " threads";
    }
}

TEST_F(Phase1Threads, AMissingCoefficientLateInTheFileStopsAlikeOnAnyNumberOfThreads) {
    // Species 2 has no exponent in the DataSet 1 height equation; only stratum 2 draws it, and
    // its only plot comes last.
    data.writeCoefficients({"10,0,0,0", "5,0,0,0", "0,0,0,0", "0,0,0,0", "0,1,1,0", "0,1,0,0",
                            "0,1,1,0", "0,1,1,0", "0,0,1,0", "0,0,2,0"});
    data.writeSpecies(crlf({"5,1,10", "1500,2,10"}));
    std::string high = manyGroups(3, 2600);
    std::string kept;
    for (std::size_t start = 0; start < high.size();) {
        const std::size_t end = high.find("\r\n", start) + 2;
        const std::string line = high.substr(start, end - start);
        if (std::stoi(line) <= 1000) kept += line;
        start = end;
    }
    data.writeHigh(kept + crlf({"1500,30", "1500,40"}));
    const Outcome one = runWith(1);
    const Outcome four = runWith(4);
    EXPECT_FALSE(one.completed);
    EXPECT_EQ(std::vector<std::string>{"Potential ERROR: No coefficient for LiDAR height equation"},
              one.messages);
    EXPECT_EQ(one.messages, four.messages);
    EXPECT_EQ(one.appended, four.appended);
    // Every plot before the stop was written to the log; nothing reached a file.
    EXPECT_GT(one.appended.size(), 500u);
    EXPECT_TRUE(one.ds1.empty());
    EXPECT_TRUE(four.ds1.empty());
}

TEST_F(Phase1Threads, AnUnreadableRecordLateInTheFileStopsAlikeOnAnyNumberOfThreads) {
    const std::string high = manyGroups(7, 2600);
    const long badRecord = static_cast<long>(fileLines(data.high()).size()) + 1;
    data.writeHigh(high + crlf({"12,tall"}));
    const Outcome one = runWith(1);
    const Outcome four = runWith(4);
    EXPECT_FALSE(one.completed);
    ASSERT_EQ(1u, one.messages.size());
    EXPECT_NE(std::string::npos, one.messages[0].find("record " + std::to_string(badRecord)))
        << one.messages[0];
    EXPECT_NE(std::string::npos, one.messages[0].find("tall")) << one.messages[0];
    EXPECT_EQ(one.messages, four.messages);
    EXPECT_EQ(one.appended, four.appended);
}

}  // namespace
}  // namespace orr::test
