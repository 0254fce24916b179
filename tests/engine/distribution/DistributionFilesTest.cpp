// Step 6 files and log compared whole (data set in DistributionData.h): with one class per plot
// every draw is forced, a class with a share of 1 receiving every counted LiDAR tree in every
// iteration. Draws from several classes are repeatable with a fixed seed whatever the number of
// threads.
#include <gtest/gtest.h>

#include <random>

#include "files/DataSetFiles.h"
#include "tests/engine/distribution/DistributionData.h"

namespace orr::test {
namespace {

TEST(DistributionFiles, ForcedDrawsGiveTheHandWorkedFilesAndLog) {
    DistributionData d;
    d.write(DataSetFile::PlotClasses,
            {"3,1,1,20,10.91,123.456,100,100,100", "5,2,2,30,5.25,80.5,100,100,100",
             "7,1,1,10,2.34,40.4,100,100,100"});
    // Plot 3: heights 20, 30.5 and 12 count, 8 is too short; plot 9 is not a Phase 2 plot.
    d.writeLidar(1, {"3,20", "3,8", "3,30.5", "5,15", "5,11", "5,10", "9,25", "3,12"});
    d.writeLidar(2, {"3,20", "5,12", "5,14", "7,15"});
    writeFile(d.file(DataSetFile::SpeciesCountsDS2), "kept\r\n");  // no step writes it
    ASSERT_TRUE(d.run().completed());
    EXPECT_TRUE(d.host.messages.empty());
    // Plot 3: N 3 x 10, BA 3 x 5.454, volume 10 x (11 + 16.25 + 7) = 342.5 -> 342 (half to even).
    // Plot 5: DBH 6 is below product 2's 8, so the trees move to product 1: BA 2 x 1.96344,
    // volume 10 x (4.75 + 3.75). DataSet 2: plot 3 H 40 -> 200, plot 5 H 7 and 9 -> 60, plot 7
    // H 30 -> 150.
    EXPECT_EQ(
        d.read(DataSetFile::LidarPlotsDS1),
        crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 30 , 16.4 , 342 ",
              " 5 , 2 , 1 , 0 , 0 , 0 , 20 , 3.9 , 85 ", " 5 , 2 , 2 , 30 , 5.2 , 80 , 0 , 0 , 0 ",
              " 7 , 1 , 1 , 10 , 2.3 , 40 , 0 , 0 , 0 "}));
    EXPECT_EQ(d.read(DataSetFile::SpeciesCountsDS1),
              crlf({"3,1,20", "3,2,0", "5,1,0", "5,2,30", "7,1,10", "7,2,0"}));
    EXPECT_EQ(
        d.read(DataSetFile::LidarPlotsDS2),
        crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 10 , 5.5 , 200 ",
              " 5 , 2 , 1 , 0 , 0 , 0 , 20 , 3.9 , 60 ", " 5 , 2 , 2 , 30 , 5.2 , 80 , 0 , 0 , 0 ",
              " 7 , 1 , 1 , 10 , 2.3 , 40 , 10 , 5.5 , 150 "}));
    EXPECT_EQ(d.read(DataSetFile::SpeciesCountsDS2), "kept\r\n");

    const std::string heading = "PLOT SP PR  GN    GBA   GVOL  LN    LBA  LVOL ";
    EXPECT_EQ(d.host.logged, (std::vector<std::string>{
                                 heading,
                                 "3     1  1  20    10.9  123       30    16.4  342",
                                 "5     2  1  0     0     0         20    3.9   85",
                                 "5     2  2  30    5.2   80        0     0     0",
                                 "7     1  1  10    2.3   40        0     0     0",
                                 heading,
                                 "3     1  1  20    10.9  123       10    5.5   200",
                                 "5     2  1  0     0     0         20    3.9   60",
                                 "5     2  2  30    5.2   80        0     0     0",
                                 "7     1  1  10    2.3   40        10    5.5   150",
                             }));
    const std::string dirLine = "The following files were created in directory - " +
                                files::dirText(d.session.dataFilesDir());
    EXPECT_EQ(d.host.logText, crlf({"Iteration Done!!", dirLine, "T_PH2plotDS1.csv",
                                    "T_PH2specDS1.csv", "T_PH2plotDS2.csv", "T_PH2specDS2.csv"}));
    EXPECT_EQ(d.host.statuses,
              (std::vector<std::string>{"Status : Iterating Phase 2 LiDAR distribution...",
                                        "Status : Iteration of Phase2 LiDAR distribution "
                                        "completed!"}));
    EXPECT_GT(d.host.progressCalls, 0u);

    // Without a DataSet 2 file: ground values only; an empty species file of DataSet 2 goes.
    d.session.lidarLowFile.clear();
    writeFile(d.file(DataSetFile::SpeciesCountsDS2), "");
    ASSERT_TRUE(d.run().completed());
    EXPECT_EQ(d.read(DataSetFile::LidarPlotsDS2),
              crlf({" 3 , 1 , 1 , 20 , 10.9 , 123 , 0 , 0 , 0 ",
                    " 5 , 2 , 2 , 30 , 5.2 , 80 , 0 , 0 , 0 ",
                    " 7 , 1 , 1 , 10 , 2.3 , 40 , 0 , 0 , 0 "}));
    EXPECT_FALSE(d.exists(DataSetFile::SpeciesCountsDS2));
    // No plots at all: every output goes, and the log lists none.
    d.write(DataSetFile::PlotClasses, {});
    ASSERT_TRUE(d.run().completed());
    for (DataSetFile f :
         {DataSetFile::LidarPlotsDS1, DataSetFile::SpeciesCountsDS1, DataSetFile::LidarPlotsDS2})
        EXPECT_FALSE(d.exists(f)) << d.file(f);
    EXPECT_EQ(d.host.logText, crlf({"Iteration Done!!", dirLine}));
}

TEST(DistributionFiles, ProductQuestionIsAskedOncePerKeyAndAnInvalidOrNoAnswerDropsTheTree) {
    // Species 1 (DBH 10) drawn into product 2 of limits 4..8: above them, with no product 3.
    struct Row {
        ProductCodePolicy policy;
        std::optional<int> answer;
        std::size_t asked, dropped;
    };
    for (const Row& row :
         {Row{ProductCodePolicy::Ask, 1, 1, 0}, Row{ProductCodePolicy::Ask, 3, 1, 1},
          Row{ProductCodePolicy::Ask, std::nullopt, 1, 1}, Row{ProductCodePolicy::Drop, 1, 0, 1}}) {
        SCOPED_TRACE(testing::Message()
                     << "answer " << row.answer.value_or(0) << ", asked " << row.asked);
        DistributionData d;
        d.write(DataSetFile::Dbh,
                {R"(1,1,"5","12")", R"(1,2,"4","8")", R"(2,1,"4","8")", R"(2,2,"8","20")"});
        d.write(DataSetFile::PlotClasses, {"3,1,2,20,10,100,100,100,100"});
        d.writeLidar(1, {"3,20", "3,30"});
        d.writeLidar(2, {"3,20"});
        d.host.productCodes = {row.answer};
        const StepResult result = d.run(row.policy);
        ASSERT_TRUE(result.completed());
        // The two trees of DataSet 1 and the one of DataSet 2.
        const std::vector<Warning> dropped = {
            {"dropped trees",
             "3 LiDAR trees dropped for want of a product code: species 1 (3 trees, DBH 10 "
             "inches)."}};
        EXPECT_EQ(result.warnings, row.dropped ? dropped : std::vector<Warning>{});
        ASSERT_EQ(d.host.productQuestions.size(), row.asked);
        if (row.asked) {
            EXPECT_EQ(d.host.productQuestions[0], (std::pair<int, double>{1, 10.0}));
        }
        const std::string ground = " 3 , 1 , 2 , 20 , 10 , 100 , 0 , 0 , 0 ";
        if (row.dropped) {
            EXPECT_EQ(d.read(DataSetFile::LidarPlotsDS1), crlf({ground}));
            continue;
        }
        // DataSet 1: H 22 and 32, volumes 11 and 16 -> 270; DataSet 2: H 40, volume 20 -> 200.
        EXPECT_EQ(d.read(DataSetFile::LidarPlotsDS1),
                  crlf({" 3 , 1 , 1 , 0 , 0 , 0 , 20 , 10.9 , 270 ", ground}));
        EXPECT_EQ(d.read(DataSetFile::LidarPlotsDS2),
                  crlf({" 3 , 1 , 1 , 0 , 0 , 0 , 10 , 5.5 , 200 ", ground}));
    }
}

// `count` LiDAR trees of heights from..from+count-1 on a plot.
void addTrees(std::vector<std::string>& lines, int plot, int count, int from) {
    for (int t = 0; t < count; ++t)
        lines.push_back(std::to_string(plot) + "," + std::to_string(from + t));
}

TEST(DistributionDraws, FixedSeedGivesIdenticalFilesAnyThreadCount) {
    DistributionData d;
    d.session.params.MaxPlots = 5000;
    d.session.params.MaxItern = 25;
    std::mt19937 gen(11);
    std::vector<std::string> ground, high, low;
    for (int p = 1; p <= 300; ++p) {  // two or three classes, 1 to 40 trees in both data sets
        const auto a = std::to_string(10 + gen() % 60), b = std::to_string(100 - std::stoi(a));
        ground.push_back(std::to_string(p) + ",1,1,10,1,1," + a + ",0,0");
        ground.push_back(std::to_string(p) + ",2,1,10,1,1," + b + ",0,0");
        if (p % 3 == 0) ground.push_back(std::to_string(p) + ",2,2,10,1,1,5,0,0");
        const int trees = 1 + static_cast<int>(gen() % 40);
        addTrees(high, p, trees, 8 + static_cast<int>(gen() % 20));
        addTrees(low, p, trees, 12 + static_cast<int>(gen() % 20));
    }
    d.write(DataSetFile::PlotClasses, ground);
    d.writeLidar(1, high);
    d.writeLidar(2, low);
    auto outputs = [&] {
        return d.read(DataSetFile::LidarPlotsDS1) + d.read(DataSetFile::SpeciesCountsDS1) +
               d.read(DataSetFile::LidarPlotsDS2);
    };
    d.session.run.seed = 1234;
    ASSERT_TRUE(d.run().completed());
    const std::string first = outputs();
    for (unsigned threads : {4u, 0u}) {
        d.session.run.threads = threads;
        ASSERT_TRUE(d.run().completed());
        EXPECT_EQ(outputs(), first) << threads << " threads";
    }
    d.session.run.seed = 1235;
    ASSERT_TRUE(d.run().completed());
    EXPECT_NE(outputs(), first);
}

}  // namespace
}  // namespace orr::test
