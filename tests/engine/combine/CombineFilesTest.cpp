// Step 8 on small sets of step 5, 6 and 7 files; _Phase2.csv and _VolSum.txt are compared whole
// with files worked out by hand.
#include "tests/engine/combine/CombineFixture.h"

namespace orr::test {
namespace {

// Both data sets, three species and two products. Plot 1 has a class with LN = 0 and LBA = 0
// but LVOL = 7; plot 3 has ground trees only in DataSet 1; plot 4's ground records cancel out
// (N and BA sums 0, volume 10); plot 5 has only a DataSet 2 record with LN = 0 and LBA = .5.
// Means per plot: the DataSet 1 section divides by its 2 plots with LiDAR values (1 and 2),
// not by the 4 ground plots; DataSet 2 by plots 1, 3 and 5. Data lines round halves away from
// zero (1.125 -> 1.13), totals to even (1.625 -> 1.62).
TEST_F(CombineTest, BothDataSetsGiveTheCombinedFileAndTheReport) {
    setLimits(3, 2, 6);
    write("_PH2plotDS1.csv",
          crlf({"1,1,1,20,1.5,30,40,2.5,50", "1,2,2,20,2,25,0,0,7", "2,1,1,40,3,60,20,1,10",
                "2,3,1,0,0,6,20,.5,4", "3,2,1,20,1.25,12,0,0,0", "4,1,1,20,1,5,0,0,0",
                "4,1,2,-20,-1,5,0,0,0"}));
    write("_PH2plotDS2.csv",
          crlf({"1,1,1,20,1.5,30,20,1.5,25", "3,2,1,20,1.25,12,60,3,33", "5,2,2,0,0,0,0,.5,2"}));
    const std::string summary =
        crlf({"1,1,15,1.125,22.5,4", "1,2,-5,-0.25,1.25,4", "2,1,5,0.25,3,4", "2,2,5,0.5,6.375,4"});
    write("_PH2Sum.csv", summary);
    write("_Phase1DS1.csv",
          crlf({"1,1,40,1.5,60.5", "1,3,20,1,10", "2,1,20,0.75,15.5", "6,1,0,0,12"}));
    write("_Phase1DS2.csv", crlf({"3,2,40,2,30", "5,2,-20,0,-5"}));
    host.setLog("left over from step 7\r\n");

    ASSERT_TRUE(runCombine(session, host));

    EXPECT_EQ(read("_Phase2.csv"),
              crlf({"1,40,3.5,55,40,2.5,50,20,1.5,25", "2,40,3,60,40,1.5,14,0,0,0",
                    "3,20,1.25,12,0,0,0,60,3,33", "5,0,0,0,0,0,0,0,0.5,2"}));
    EXPECT_EQ(read("_VolSum.txt"), crlf({
                                       "Phase 2, Ground",
                                       kRule,
                                       kHeader,
                                       "1       1       15.00   1.13    22.50   4",
                                       "1       2       -5.00   -0.25   1.25    4",
                                       "2       1       5.00    0.25    3.00    4",
                                       "2       2       5.00    0.50    6.38    4",
                                       "                 20     1.62   33.12",
                                       " ",
                                       "Phase 2, LiDAR-DS1",
                                       kRule,
                                       kHeader,
                                       "1       1       30.00   1.75    30.00   2",
                                       "3       1       10.00   0.25    2.00    2",
                                       "                 40     2      32",
                                       " ",
                                       "Phase 2, LiDAR-DS2",
                                       kRule,
                                       kHeader,
                                       "1       1       6.67    0.50    8.33    3",
                                       "2       1       20.00   1.00    11.00   3",
                                       "                 26.67  1.5    19.33",
                                       " ",
                                       "Phase 1, LiDAR-DS1",
                                       kRule,
                                       kHeader,
                                       "1       All      30.00   1.13    38.00   2",
                                       "2       All      0.00    0.00    0.00    2",
                                       "3       All      10.00   0.50    5.00    2",
                                       "                 40     1.62   43",
                                       " ",
                                       "Phase 1, LiDAR-DS2",
                                       kRule,
                                       kHeader,
                                       "1       All      0.00    0.00    0.00    2",
                                       "2       All      10.00   1.00    12.50   2",
                                       "3       All      0.00    0.00    0.00    2",
                                       "                 10     1      12.5",
                                   }));
    EXPECT_EQ(read("_PH2Sum.csv"), summary);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(
        host.log,
        crlf({"Combining all Phase 2 estimates...", "Combining all Phase 2 estimates completed!",
              "The following files were created in the directory - " + session.dataFilesDirText(),
              "ORV_VolSum.txt", "ORV_Phase2.csv"}));
    EXPECT_EQ(host.statuses,
              (std::vector<std::string>{"Status: Combining all Phase 2 estimates..",
                                        "Status: Combining Phase 2 estimates completed!"}));
}

// DataSet 1 without any LiDAR value: the record with LVOL = 9 but LN = LBA = 0 adds nothing.
// A DataSet 2 plot file of one byte is skipped (read, its "7" would be a record cut short); a
// Phase 1 DataSet 2 file of one byte is read and holds no record; no DataSet 2 file at all is
// the same.
TEST_F(CombineTest, WithoutLidarTheLidarSectionsAreLeftOutAndTheLidarFieldsAreZero) {
    setLimits(2, 2, 5);
    for (bool dataSet2Files : {true, false}) {
        SCOPED_TRACE(dataSet2Files);
        write("_PH2plotDS1.csv", crlf({"1,1,1,20,1.5,30,0,0,0", "2,2,2,40,2.5,45,0,0,9"}));
        std::filesystem::remove(file("_PH2plotDS2.csv"));
        std::filesystem::remove(file("_Phase1DS2.csv"));
        if (dataSet2Files) {
            write("_PH2plotDS2.csv", "7");
            write("_Phase1DS2.csv", "\n");
        }
        write("_PH2Sum.csv", crlf({"1,1,10,0.75,15,2", "2,2,20,1.25,22.5,2"}));
        write("_Phase1DS1.csv", crlf({"1,1,20,1,15", "4,2,40,3,50"}));

        ASSERT_TRUE(runCombine(session, host));

        EXPECT_EQ(read("_Phase2.csv"),
                  crlf({"1,20,1.5,30,0,0,0,0,0,0", "2,40,2.5,45,0,0,0,0,0,0"}));
        EXPECT_EQ(read("_VolSum.txt"), crlf({
                                           "Phase 2, Ground",
                                           kRule,
                                           kHeader,
                                           "1       1       10.00   0.75    15.00   2",
                                           "2       2       20.00   1.25    22.50   2",
                                           "                 30     2      37.5",
                                           " ",
                                           "Phase 1, LiDAR-DS1",
                                           kRule,
                                           kHeader,
                                           "1       All      10.00   0.50    7.50    2",
                                           "2       All      20.00   1.50    25.00   2",
                                           "                 30     2      32.5",
                                       }));
        EXPECT_TRUE(host.messages.empty());
    }
    // With no plot left to combine, the combined file of an earlier run is removed.
    write("_PH2plotDS1.csv", crlf({"1,1,1,0,0,30,0,0,5"}));
    ASSERT_TRUE(runCombine(session, host));
    EXPECT_FALSE(exists("_Phase2.csv"));
    EXPECT_TRUE(exists("_VolSum.txt"));
}

// Negative values pass (a record counts when LN or LBA is not 0); a field as wide as its
// column or wider is written whole without blanks; plot MaxPlots (2) is accepted.
TEST_F(CombineTest, NegativeValuesAndWideFieldsPassUnchanged) {
    setLimits(1, 1, 2);
    write("_PH2plotDS1.csv", crlf({"1,1,1,20,1,10,-20,0,-5", "2,1,1,0,0,0,0,-.5,3"}));
    write("_PH2Sum.csv", crlf({"1,1,123456.25,12345678.5,0.5,32767"}));
    write("_Phase1DS1.csv", crlf({"2,1,1234567,10,-1234567.25"}));

    ASSERT_TRUE(runCombine(session, host));

    EXPECT_EQ(read("_Phase2.csv"), crlf({"1,20,1,10,-20,0,-5,0,0,0", "2,0,0,0,0,-0.5,3,0,0,0"}));
    EXPECT_EQ(read("_VolSum.txt"), crlf({
                                       "Phase 2, Ground",
                                       kRule,
                                       kHeader,
                                       "1       1       123456.2512345678.500.50    32767",
                                       "                 123456.2512345678.50.5",
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
                                       "1       All      1234567.0010.00   -1234567.251",
                                       "                 123456710     -1234567.25",
                                   }));
}

}  // namespace
}  // namespace orr::test
