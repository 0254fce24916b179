// The draw intervals, the stratum shares and the group generators.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "engine/phase1/GroupRandom.h"
#include "engine/phase1/StratumShares.h"
#include "tests/support/TestFiles.h"

namespace orr::phase1 {
namespace {

using test::crlf;
using test::TempDir;
using test::writeFile;

// --- draw lists ----------------------------------------------------------------------------

TEST(DrawList, LargestShareFirstWithAdjoiningIntervals) {
    const DrawList list = buildDrawList({0.0, 0.2, 0.5, 0.3});
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].species, 2);
    EXPECT_EQ(list[1].species, 3);
    EXPECT_EQ(list[2].species, 1);
    EXPECT_DOUBLE_EQ(list[0].lower, 0.0);
    EXPECT_DOUBLE_EQ(list[0].upper, 0.5);
    EXPECT_DOUBLE_EQ(list[1].lower, 0.5);
    EXPECT_DOUBLE_EQ(list[1].upper, 0.8);
    EXPECT_DOUBLE_EQ(list[2].lower, 0.8);
    EXPECT_DOUBLE_EQ(list[2].upper, 1.0);
}

TEST(DrawList, IntervalsAreOpenBelowAndClosedAbove) {
    const DrawList list = buildDrawList({0.0, 0.25, 0.75});
    EXPECT_EQ(drawSpecies(list, 0.0), 0);  // 0 lies in no interval
    EXPECT_EQ(drawSpecies(list, 1e-9), 2);
    EXPECT_EQ(drawSpecies(list, 0.75), 2);
    EXPECT_EQ(drawSpecies(list, 0.7500001), 1);
    EXPECT_EQ(drawSpecies(list, 0.9999999), 1);
}

TEST(DrawList, SpeciesWithoutShareTakeNoPart) {
    const DrawList list = buildDrawList({0.0, 0.0, 1.0, 0.0});
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].species, 2);
    EXPECT_TRUE(buildDrawList({0.0, 0.0, 0.0}).empty());
}

TEST(DrawList, EqualSharesKeepSpeciesOrderAfterTheReversal) {
    // sub1900 turns equal shares round; storing largest first turns them back.
    const DrawList list = buildDrawList({0.0, 0.5, 0.5});
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].species, 1);
    EXPECT_EQ(list[1].species, 2);
}

TEST(DrawList, SharesAboveOneLeaveTheLastIntervalEmpty) {
    const DrawList list = buildDrawList({0.0, 0.6, 0.7, 0.1});
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].species, 1);
    EXPECT_DOUBLE_EQ(list[1].upper, 1.0);  // capped
    EXPECT_EQ(list[2].species, 3);
    EXPECT_DOUBLE_EQ(list[2].lower, 1.0);
    EXPECT_DOUBLE_EQ(list[2].upper, 1.0);  // zero width: never drawn
    for (double r = 0.001; r < 1.0; r += 0.001) EXPECT_NE(drawSpecies(list, r), 3);
}

TEST(DrawList, SharesBelowOneLeaveAGap) {
    const DrawList list = buildDrawList({0.0, 0.5, 0.2});
    EXPECT_EQ(drawSpecies(list, 0.69), 2);
    EXPECT_EQ(drawSpecies(list, 0.71), 0);
}

// --- stratum shares ------------------------------------------------------------------------

TEST(StratumShares, OverlappingRangesCountAPlotInEveryStratum) {
    TempDir dir;
    const auto file = dir / "T_PH2specDS1.csv";
    // Plot 7 lies in both ranges; plot 3 only in stratum 1, plot 12 only in stratum 2.
    writeFile(file, crlf({"3,1,0", "3,2,40", "7,1,20", "7,2,0", "12,1,0", "12,2,0"}));
    const StrataTable strata{{2, 5, 15, 40}, {1, 1, 10, 30}};
    const StratumShares shares = StratumShares::read(file, strata, 2);
    EXPECT_DOUBLE_EQ(shares.share(1, 1), 20.0 / 60.0);
    EXPECT_DOUBLE_EQ(shares.share(1, 2), 40.0 / 60.0);
    EXPECT_DOUBLE_EQ(shares.share(2, 1), 1.0);
    EXPECT_DOUBLE_EQ(shares.share(2, 2), 0.0);
}

TEST(StratumShares, AStratumWithoutTreesHasNoShares) {
    TempDir dir;
    const auto file = dir / "spec.csv";
    writeFile(file, crlf({"3,1,10", "3,2,30", "15,1,0", "15,2,0"}));
    const StrataTable strata{{1, 1, 10, 30}, {2, 11, 20, 30}};
    StratumShares shares = StratumShares::read(file, strata, 2);
    EXPECT_DOUBLE_EQ(shares.share(1, 1), 0.25);
    EXPECT_DOUBLE_EQ(shares.share(1, 2), 0.75);
    EXPECT_TRUE(shares.drawList(2).empty());
    EXPECT_EQ(shares.drawList(1).size(), 2u);
}

TEST(PlotStrata, TheFirstRecordInFileOrderWins) {
    const StrataTable strata{{4, 20, 30, 50}, {2, 1, 25, 40}};
    PlotStrata plots(strata, 100);
    ASSERT_NE(plots.firstRow(22), nullptr);
    EXPECT_EQ(plots.firstRow(22)->stratum, 4);
    EXPECT_EQ(plots.firstRow(19)->stratum, 2);
    EXPECT_EQ(plots.firstRow(30)->avgAge, 50);
    EXPECT_EQ(plots.firstRow(31), nullptr);
    EXPECT_EQ(plots.firstRow(0), nullptr);
}

// --- generators ----------------------------------------------------------------------------

TEST(GroupRandom, FinaliserOfZeroAndOne) {
    // SplitMix64's first outputs from the states 0 and 1, worked out from its three steps.
    EXPECT_EQ(mix(0), 0xe220a8397b1dcdafULL);
    EXPECT_EQ(mix(1), 0x910a2dec89025cc1ULL);
}

TEST(GroupRandom, UniformNumbersLieInTheHalfOpenUnitInterval) {
    std::mt19937_64 g(groupSeed(99, 1, 0));
    for (int i = 0; i < 10000; ++i) {
        const double r = uniform(g);
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
}

TEST(GroupRandom, PassAndPositionGiveDifferentSeeds) {
    EXPECT_NE(groupSeed(5, 1, 0), groupSeed(5, 2, 0));
    EXPECT_NE(groupSeed(5, 1, 0), groupSeed(5, 1, 1));
    EXPECT_EQ(groupSeed(5, 1, 3), mix(mix(5 ^ 0x701) ^ 3));
}

}  // namespace
}  // namespace orr::phase1
