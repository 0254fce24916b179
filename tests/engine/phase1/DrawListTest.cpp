// The draw intervals and the stratum shares.
#include <gtest/gtest.h>

#include <vector>

#include "engine/phase1/StratumShares.h"
#include "tests/support/TestFiles.h"

namespace orr::phase1 {
namespace {

TEST(DrawList, TheDrawnSpeciesIsTheIntervalHoldingTheNumber) {
    struct Row {
        std::vector<double> shares;
        double r;
        int species;
    };
    const std::vector<Row> rows = {
        {{0.0, 0.25, 0.75}, 0.0, 0},   // intervals open below: 0 lies in none
        {{0.0, 0.25, 0.75}, 1e-9, 2},  // largest share first
        {{0.0, 0.25, 0.75}, 0.75, 2},  // closed above
        {{0.0, 0.25, 0.75}, 0.7500001, 1},
        {{0.0, 0.0, 1.0, 0.0}, 0.5, 2},  // species without share take no part
        {{0.0, 0.0, 0.0}, 0.5, 0},       // no shares at all
        {{0.0, 0.5, 0.5}, 0.5, 1},       // equal shares keep species order
        {{0.0, 0.5, 0.5}, 0.51, 2},
        {{0.0, 0.6, 0.7, 0.1}, 0.9999, 1},  // above one: capped, species 3 never drawn
        {{0.0, 0.5, 0.2}, 0.69, 2},         // below one: a gap at the top
        {{0.0, 0.5, 0.2}, 0.71, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.r);
        EXPECT_EQ(drawSpecies(buildDrawList(row.shares), row.r), row.species);
    }
    EXPECT_TRUE(buildDrawList({0.0, 0.0, 0.0}).empty());
}

TEST(StratumShares, OverlappingRangesCountAPlotInEveryStratum) {
    test::TempDir dir;
    const auto file = dir / "counts.csv";
    // Plot 7 lies in both ranges; plot 3 only in stratum 1, plot 12 only in stratum 2; no plot in
    // stratum 3.
    test::writeFile(file, test::crlf({"3,1,0", "3,2,40", "7,1,20", "7,2,0", "12,1,0", "12,2,0"}));
    const StrataTable strata{{2, 5, 15, 40}, {1, 1, 10, 30}, {3, 20, 25, 10}};
    StratumShares shares = StratumShares::read(file, strata, {20, 2, 1});
    EXPECT_DOUBLE_EQ(shares.share(1, 1), 20.0 / 60.0);
    EXPECT_DOUBLE_EQ(shares.share(1, 2), 40.0 / 60.0);
    EXPECT_DOUBLE_EQ(shares.share(2, 1), 1.0);
    EXPECT_DOUBLE_EQ(shares.share(2, 2), 0.0);
    EXPECT_TRUE(shares.drawList(3).empty());
}

}  // namespace
}  // namespace orr::phase1
