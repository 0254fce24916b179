// Step 8 at the edges of its input: negative values, fields wider than their columns, plot
// numbers at the limit, and sums that must not run from one section into the next.
#include "tests/engine/combine/CombineFixture.h"

namespace orr::test {
namespace {

using CombineEdges = CombineTest;

// Step 8 passes a record when either of its two tested values is not 0, negative values
// included; the report and the combined file carry the negatives unchanged.
TEST_F(CombineEdges, NegativeValuesAreLetThrough) {
    setLimits(1, 1, 3);
    write("_PH2plotDS1.csv", crlf({
                                 " 1 , 1 , 1 , 20 , 1 , 10 ,-20 , 0 ,-5 ",
                                 " 2 , 1 , 1 , 0 , 0 , 0 , 0 ,-.5 , 3 ",
                             }));
    write("_PH2Sum.csv", crlf({"1,1,20,1,10,1"}));
    write("_Phase1DS1.csv", crlf({"3,1,0,-1.5,-2"}));

    ASSERT_TRUE(runCombine(session, host));

    EXPECT_EQ(read("_Phase2.csv"), crlf({
                                       "1,20,1,10,-20,0,-5,0,0,0",
                                       "2,0,0,0,0,-0.5,3,0,0,0",
                                   }));
    EXPECT_EQ(read("_VolSum.txt"), crlf({
                                       "Phase 2, Ground",
                                       kRule,
                                       kHeader,
                                       "1       1       20.00   1.00    10.00   1",
                                       "                 20     1      10",
                                       " ",
                                       "Phase 2, LiDAR-DS1",
                                       kRule,
                                       kHeader,
                                       "1       1       -10.00  -0.25   -1.00   2",
                                       "                 -10    -0.25  -1",
                                       " ",
                                       "Phase 1, LiDAR-DS1",
                                       kRule,
                                       kHeader,
                                       "1       All      0.00    -1.50   -2.00   1",
                                       "                 0      -1.5   -2",
                                   }));
}

// A field as wide as its column or wider is written whole and gets no blanks.
TEST_F(CombineEdges, AFieldWiderThanItsColumnIsNotCut) {
    setLimits(1, 1, 2);
    write("_PH2plotDS1.csv", crlf({" 2 , 1 , 1 , 20 , 1 , 10 , 0 , 0 , 0 "}));
    write("_PH2Sum.csv", crlf({"1,1,123456.25,12345678.5,0.5,32767"}));
    write("_Phase1DS1.csv", crlf({"1,1,1234567,10,-1234567.25"}));

    ASSERT_TRUE(runCombine(session, host));

    EXPECT_EQ(read("_VolSum.txt"), crlf({
                                       "Phase 2, Ground",
                                       kRule,
                                       kHeader,
                                       "1       1       123456.2512345678.500.50    32767",
                                       "                 123456.2512345678.50.5",
                                       " ",
                                       "Phase 1, LiDAR-DS1",
                                       kRule,
                                       kHeader,
                                       "1       All      1234567.0010.00   -1234567.251",
                                       "                 123456710     -1234567.25",
                                   }));
}

// The plot number MaxPlots is accepted in every file that carries plots.
TEST_F(CombineEdges, PlotMaxPlotsIsAccepted) {
    setLimits(1, 1, 4);
    write("_PH2plotDS1.csv", crlf({" 4 , 1 , 1 , 20 , 1 , 10 , 20 , 2 , 30 "}));
    write("_PH2plotDS2.csv", crlf({" 4 , 1 , 1 , 20 , 1 , 10 , 40 , 3 , 50 "}));
    write("_PH2Sum.csv", crlf({"1,1,20,1,10,1"}));
    write("_Phase1DS1.csv", crlf({"4,1,20,1,5"}));
    write("_Phase1DS2.csv", crlf({"4,1,40,2,6"}));

    ASSERT_TRUE(runCombine(session, host));

    EXPECT_EQ(read("_Phase2.csv"), crlf({"4,20,1,10,20,2,30,40,3,50"}));
    EXPECT_TRUE(host.messages.empty());
}

// A DataSet 1 record with LN = 0 but LBA not 0 counts its plot and adds to its class's BA and
// volume sums, yet the class gets no line, as its N sum is 0. Those sums belong to the DataSet 1
// section only: the DataSet 2 line of the same class shows DataSet 2 values alone.
TEST_F(CombineEdges, SumsOfOneSectionDoNotReachTheNext) {
    setLimits(1, 1, 2);
    write("_PH2plotDS1.csv", crlf({" 1 , 1 , 1 , 20 , 1 , 10 , 0 , 2 , 8 "}));
    write("_PH2plotDS2.csv", crlf({" 1 , 1 , 1 , 20 , 1 , 10 , 20 , 1 , 4 "}));
    write("_PH2Sum.csv", crlf({"1,1,20,1,10,1"}));
    write("_Phase1DS1.csv", crlf({"1,1,20,1,5"}));

    ASSERT_TRUE(runCombine(session, host));

    EXPECT_EQ(read("_Phase2.csv"), crlf({"1,20,1,10,0,2,8,20,1,4"}));
    EXPECT_EQ(read("_VolSum.txt"), crlf({
                                       "Phase 2, Ground",
                                       kRule,
                                       kHeader,
                                       "1       1       20.00   1.00    10.00   1",
                                       "                 20     1      10",
                                       " ",
                                       "Phase 2, LiDAR-DS1",
                                       kRule,
                                       kHeader,
                                       "                 0      0      0",
                                       " ",
                                       "Phase 2, LiDAR-DS2",
                                       kRule,
                                       kHeader,
                                       "1       1       20.00   1.00    4.00    1",
                                       "                 20     1      4",
                                       " ",
                                       "Phase 1, LiDAR-DS1",
                                       kRule,
                                       kHeader,
                                       "1       All      20.00   1.00    5.00    1",
                                       "                 20     1      5",
                                   }));
}

// A plot is counted once in a section however many of its records carry LiDAR values, and the
// Phase 1 sections count their plots afresh.
TEST_F(CombineEdges, APlotCountsOnceInEachSection) {
    setLimits(2, 1, 3);
    write("_PH2plotDS1.csv", crlf({
                                 " 1 , 1 , 1 , 20 , 1 , 10 , 20 , 1 , 12 ",
                                 " 1 , 2 , 1 , 20 , 1 , 10 , 40 , 3 , 24 ",
                                 " 2 , 1 , 1 , 20 , 1 , 10 , 0 , 0 , 0 ",
                             }));
    write("_PH2Sum.csv", crlf({"1,1,20,1,10,2"}));
    write("_Phase1DS1.csv", crlf({"1,1,20,1,5", "1,2,20,1,5", "2,1,20,1,5", "3,2,60,3,5"}));

    ASSERT_TRUE(runCombine(session, host));

    EXPECT_EQ(read("_VolSum.txt"), crlf({
                                       "Phase 2, Ground",
                                       kRule,
                                       kHeader,
                                       "1       1       20.00   1.00    10.00   2",
                                       "                 20     1      10",
                                       " ",
                                       "Phase 2, LiDAR-DS1",
                                       kRule,
                                       kHeader,
                                       "1       1       20.00   1.00    12.00   1",
                                       "2       1       40.00   3.00    24.00   1",
                                       "                 60     4      36",
                                       " ",
                                       "Phase 1, LiDAR-DS1",
                                       kRule,
                                       kHeader,
                                       "1       All      13.33   0.67    3.33    3",
                                       "2       All      26.67   1.33    3.33    3",
                                       "                 40     2      6.67",
                                   }));
}

}  // namespace
}  // namespace orr::test
