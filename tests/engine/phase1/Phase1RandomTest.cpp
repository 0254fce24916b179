// The species draws of step 7: exact generators per group, repeatable runs, and the shares
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
#include "core/NumberText.h"
#include "tests/engine/phase1/Phase1TestData.h"

namespace orr::test {
namespace {

// The generator of a group, written out here from the rule of the draws: SplitMix64's finaliser,
// seed mix(mix(seed ^ (0x700 + pass)) ^ position), uniform numbers from the top 53 bits.
std::uint64_t finaliser(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

std::mt19937_64 groupGenerator(std::uint64_t seed, std::uint64_t pass, std::uint64_t position) {
    return std::mt19937_64(finaliser(finaliser(seed ^ (0x700 + pass)) ^ position));
}

TEST(Phase1Draws, EveryGroupDrawsFromItsOwnGenerator) {
    Phase1Data data;
    RecordingHost host;
    data.writeStandardSetUp();
    data.writeStrata(crlf({"1,1,50,30"}));
    // Shares: species 2 0.75 (drawn for r in (0, 0.75]), species 1 0.25 (r in (0.75, 1]).
    data.writeSpecies(crlf({"1,1,25", "1,2,75"}));
    // Groups: plot 2 (position 0, the 9 takes no part), plot 60 outside every stratum
    // (position 1, no draws), plot 3 (position 2), plot 2 again (position 3).
    struct Tree {
        int plot;
        double h;
        std::uint64_t position;
    };
    const std::vector<Tree> trees = {{2, 12, 0}, {2, 13, 0}, {2, 14, 0}, {3, 11, 2},
                                     {3, 15, 2}, {3, 17, 2}, {2, 16, 3}};
    data.writeHigh(crlf({"2,12", "2,9", "2,13", "2,14", "60,20", "3,11", "3,15", "3,17", "2,16"}));
    data.session.LowLidarFileName.clear();
    data.session.run.seed = 987654321;
    ASSERT_TRUE(data.run(host));

    // The lines the draws must give, group by group.
    std::string expected;
    std::uint64_t position = ~0ULL;
    std::mt19937_64 g;
    std::map<int, std::vector<double>> heights;  // species -> heights of the group
    auto writeGroup = [&](int plot) {
        for (const auto& [species, hs] : heights) {
            const double dbh = species == 1 ? 10.0 : 5.0;
            double ba = 0.0, volume = 0.0;
            for (double h : hs) {
                ba += 0.005454 * dbh * dbh;
                volume += species == 1 ? h : 2.0 * h;
            }
            RecordLine()
                .integer(plot)
                .integer(species)
                .integer(static_cast<long long>(hs.size()) * 20)
                .rounded(ba * 20, 2)
                .rounded(volume * 20, 2)
                .appendTo(expected);
        }
        heights.clear();
    };
    for (std::size_t i = 0; i < trees.size(); ++i) {
        if (trees[i].position != position) {
            if (!heights.empty()) writeGroup(trees[i - 1].plot);
            position = trees[i].position;
            g = groupGenerator(987654321, 1, position);
        }
        const double r = static_cast<double>(g() >> 11) * 0x1p-53;
        ASSERT_GT(r, 0.0);
        heights[r <= 0.75 ? 2 : 1].push_back(trees[i].h);
    }
    writeGroup(trees.back().plot);
    EXPECT_EQ(readFile(data.out("_Phase1DS1.csv")), expected);
}

// Three species with shares 0.5, 0.3 and 0.2 over 400 plots of ten trees each; PACF 7.
class ManyDraws : public ::testing::Test {
  protected:
    ManyDraws() {
        data.session.params.MaxSpec = 3;
        data.session.params.PACF = 7;
        data.session.params.MaxPlots = 400;
        data.writeCoefficients({"10,0,0,0", "5,0,0,0", "8,0,0,0", "0,0,0,0", "0,0,0,0", "0,0,0,0",
                                "0,1,1,0", "0,1,1,0", "0,1,1,0", "0,1,1,0", "0,1,1,0", "0,1,1,0",
                                "0,0,1,0", "0,0,1,0", "0,0,1,0"});
        data.writeDbh(crlf({"1,1,0,99", "2,1,0,99", "3,1,0,99"}));
        data.writeStrata(crlf({"1,1,400,30"}));
        data.writeSpecies(crlf({"1,1,50", "1,2,30", "1,3,20"}));
        std::vector<std::string> records;
        for (int plot = 1; plot <= 400; ++plot) {
            for (int tree = 0; tree < 10; ++tree) records.push_back(std::to_string(plot) + ",20");
        }
        data.writeHigh(crlf(records));
        data.writeLow(crlf(records));
    }

    // Trees per species in an output file, from N / PACF.
    std::map<int, long> countsIn(const std::filesystem::path& file) {
        std::map<int, long> counts;
        for (const std::string& line : fileLines(file)) {
            int plot = 0, species = 0;
            long n = 0;
            EXPECT_EQ(std::sscanf(line.c_str(), "%d,%d,%ld,", &plot, &species, &n), 3) << line;
            EXPECT_EQ(n % 7, 0) << line;  // N is always a multiple of PACF
            counts[species] += n / 7;
        }
        return counts;
    }

    Phase1Data data;
    RecordingHost host;
};

TEST_F(ManyDraws, SpeciesCountsMatchTheStratumShares) {
    ASSERT_TRUE(data.run(host));
    for (const char* suffix : {"_Phase1DS1.csv", "_Phase1DS2.csv"}) {
        const std::map<int, long> counts = countsIn(data.out(suffix));
        const double n = 4000.0;
        const std::map<int, double> shares = {{1, 0.5}, {2, 0.3}, {3, 0.2}};
        long total = 0;
        for (const auto& [species, p] : shares) {
            const double expected = n * p;
            const double standardError = std::sqrt(n * p * (1.0 - p));
            const long observed = counts.count(species) ? counts.at(species) : 0;
            total += observed;
            EXPECT_LT(std::fabs(observed - expected), 4.0 * standardError)
                << suffix << " species " << species << ": " << observed << " of 4000";
        }
        EXPECT_EQ(total, 4000);  // the shares add up to 1: every tree gets a species
    }
}

TEST_F(ManyDraws, AFixedSeedGivesIdenticalFiles) {
    ASSERT_TRUE(data.run(host));
    const std::string first1 = readFile(data.out("_Phase1DS1.csv"));
    const std::string first2 = readFile(data.out("_Phase1DS2.csv"));
    RecordingHost again;
    ASSERT_TRUE(data.run(again));
    EXPECT_EQ(readFile(data.out("_Phase1DS1.csv")), first1);
    EXPECT_EQ(readFile(data.out("_Phase1DS2.csv")), first2);
    // The two passes draw from generators of their own.
    EXPECT_NE(first1, first2);
    // Another seed, other draws.
    data.session.run.seed = 12346;
    RecordingHost other;
    ASSERT_TRUE(data.run(other));
    EXPECT_NE(readFile(data.out("_Phase1DS1.csv")), first1);
}

TEST_F(ManyDraws, AClockSeedIsLoggedAndRepeatsTheRun) {
    data.session.run.seed.reset();
    ASSERT_TRUE(data.run(host));
    ASSERT_GE(host.appended.size(), 2u);
    const std::string& line = host.appended[1];
    ASSERT_EQ(line.rfind("Random seed: ", 0), 0u) << line;
    const std::string first = readFile(data.out("_Phase1DS1.csv"));
    data.session.run.seed = std::stoull(line.substr(13));
    RecordingHost again;
    ASSERT_TRUE(data.run(again));
    EXPECT_EQ(readFile(data.out("_Phase1DS1.csv")), first);
    // A fixed seed is not logged.
    EXPECT_EQ(again.appended[1].rfind("Random seed: ", 0), std::string::npos);
}

}  // namespace
}  // namespace orr::test
