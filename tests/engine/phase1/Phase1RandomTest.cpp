// The species draws of step 7: one generator per plot group, repeatable runs, and the shares
// reached over many draws.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/CommaWriter.h"
#include "engine/phase1/GroupRandom.h"
#include "tests/engine/phase1/Phase1TestData.h"

namespace orr::test {
namespace {

struct Group {
    int plot;
    std::uint64_t position;
    std::vector<int> heights;
};

TEST(Phase1Draws, EveryGroupDrawsFromItsOwnGenerator) {
    Phase1Data data;
    RecordingHost host;
    data.writeStrata(crlf({"1,1,50,30"}));
    // Equal shares: species 1 drawn for r in (0, 0.5], species 2 for r in (0.5, 1].
    data.writeSpecies(crlf({"1,1,50", "1,2,50"}));
    // Groups: plot 2 (position 0; the 9 takes no part), plot 60 outside every stratum
    // (position 1, no draws), plot 3 (position 2), plot 2 again (position 3).
    const std::vector<Group> groups = {{2, 0, {12, 13, 14, 15, 16, 17}},
                                       {3, 2, {11, 12, 13, 14, 15, 16}},
                                       {2, 3, {16, 17, 18, 19, 20, 21}}};
    std::vector<std::string> records;
    for (const Group& group : groups) {
        if (group.position == 2) records.push_back("60,20");
        for (int h : group.heights)
            records.push_back(std::to_string(group.plot) + "," + std::to_string(h));
        if (group.position == 0) records.push_back("2,9");
    }
    data.writeHigh(crlf(records));
    data.session.LowLidarFileName.clear();
    data.session.run.seed = 987654321;
    ASSERT_TRUE(data.run(host));

    std::string expected;
    for (const Group& group : groups) {
        std::mt19937_64 g(phase1::mix(phase1::mix(987654321ULL ^ 0x701) ^ group.position));
        std::map<int, std::pair<int, double>> bySpecies;  // species -> trees, sum of heights
        for (int h : group.heights) {
            const double r = static_cast<double>(g() >> 11) * 0x1p-53;
            auto& [trees, heights] = bySpecies[r <= 0.5 ? 1 : 2];
            ++trees;
            heights += h;
        }
        for (const auto& [species, sums] : bySpecies) {
            const double ba = species == 1 ? 0.5454 : 0.13635;
            RecordLine()
                .integer(group.plot)
                .integer(species)
                .integer(sums.first * 20)
                .rounded(sums.first * ba * 20, 2)
                .rounded(sums.second * species * 20, 2)
                .appendTo(expected);
        }
    }
    EXPECT_EQ(readFile(data.out("_Phase1DS1.csv")), expected);
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
    for (const char* suffix : {"_Phase1DS1.csv", "_Phase1DS2.csv"}) {
        std::map<int, long> counts;
        for (const std::string& line : fileLines(data.out(suffix))) {
            int plot = 0, species = 0;
            long n = 0;
            ASSERT_EQ(std::sscanf(line.c_str(), "%d,%d,%ld,", &plot, &species, &n), 3) << line;
            EXPECT_EQ(n % 7, 0) << line;
            counts[species] += n / 7;
        }
        EXPECT_EQ(counts[1] + counts[2], 4000) << suffix;  // the shares add up to 1
        const double expected = 4000 * 0.7, standardError = std::sqrt(4000 * 0.7 * 0.3);
        EXPECT_LT(std::fabs(counts[1] - expected), 4.0 * standardError) << suffix << counts[1];
    }
}

TEST_F(ManyDraws, AFixedOrLoggedSeedGivesIdenticalFiles) {
    ASSERT_TRUE(data.run(host));
    const std::string first1 = readFile(data.out("_Phase1DS1.csv"));
    const std::string first2 = readFile(data.out("_Phase1DS2.csv"));
    EXPECT_NE(first1, first2);  // each pass draws from generators of its own
    RecordingHost again;
    ASSERT_TRUE(data.run(again));
    EXPECT_EQ(readFile(data.out("_Phase1DS1.csv")), first1);
    EXPECT_EQ(readFile(data.out("_Phase1DS2.csv")), first2);
    EXPECT_EQ(again.appended[1].rfind("Random seed: ", 0), std::string::npos);  // not logged

    // A seed from the clock is logged, and running with it repeats the run.
    data.session.run.seed.reset();
    RecordingHost clock;
    ASSERT_TRUE(data.run(clock));
    const std::string& line = clock.appended.at(1);
    ASSERT_EQ(line.rfind("Random seed: ", 0), 0u) << line;
    const std::string fromClock = readFile(data.out("_Phase1DS1.csv"));
    EXPECT_NE(fromClock, first1);
    data.session.run.seed = std::stoull(line.substr(13));
    RecordingHost repeat;
    ASSERT_TRUE(data.run(repeat));
    EXPECT_EQ(readFile(data.out("_Phase1DS1.csv")), fromClock);
}

}  // namespace
}  // namespace orr::test
