// Step 9 stops before replacing anything when an input file is missing or holds a record it
// cannot use, with one message naming what is wrong.
#include <filesystem>

#include "DoubleSampleFixture.h"
#include "engine/doublesample/DoubleSample.h"

namespace orr::test {
namespace {

class DoubleSampleErrors : public DoubleSampleTest {
  protected:
    void SetUp() override {
        writeThreeStrata();
        writeDataSetFile("_Regress.txt", {"earlier regression report"});
        writeDataSetFile("_StratVol.txt", {"earlier stratum volume report"});
    }

    // Runs the step, expects it to stop with one critical message holding every one of
    // `parts`, and the earlier reports to stand unchanged.
    void expectStop(const std::vector<std::string>& parts) {
        EXPECT_FALSE(runDoubleSample(session, host));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].icon, Icon::Critical);
        for (const std::string& part : parts) {
            EXPECT_NE(host.messages[0].text.find(part), std::string::npos)
                << "\"" << part << "\" not in: " << host.messages[0].text;
        }
        EXPECT_EQ(dataSetFile("_Regress.txt"), lines({"earlier regression report"}));
        EXPECT_EQ(dataSetFile("_StratVol.txt"), lines({"earlier stratum volume report"}));
        EXPECT_FALSE(std::filesystem::exists(session.dataSetFile("_Phase1DS2.csv")));
        EXPECT_EQ(host.log, "");
    }

    void remove(const std::string& suffix) { std::filesystem::remove(session.dataSetFile(suffix)); }
};

TEST_F(DoubleSampleErrors, MissingCombinedPhase2File) {
    remove("_Phase2.csv");
    expectStop({session.dataSetFile("_Phase2.csv").string(), "step 8"});
}

TEST_F(DoubleSampleErrors, MissingPhase1File) {
    remove("_Phase1DS1.csv");
    expectStop({session.dataSetFile("_Phase1DS1.csv").string(), "step 7"});
}

TEST_F(DoubleSampleErrors, MissingPlotFile) {
    remove("_PH2Plot.csv");
    expectStop({session.dataSetFile("_PH2Plot.csv").string(), "step 5"});
}

TEST_F(DoubleSampleErrors, MissingSummaryFile) {
    remove("_PH2Sum.csv");
    expectStop({session.dataSetFile("_PH2Sum.csv").string(), "step 5"});
}

TEST_F(DoubleSampleErrors, MissingTreeFile) {
    std::filesystem::remove(session.TreeInputFileName);
    expectStop({session.TreeInputFileName.string(), "step 5"});
}

TEST_F(DoubleSampleErrors, NoTreeFileChosen) {
    session.TreeInputFileName.clear();
    expectStop({"tree input file", "step 5"});
}

TEST_F(DoubleSampleErrors, MissingStrataFile) {
    std::filesystem::remove(session.StrataFileName);
    expectStop({session.StrataFileName.string(), "step 4"});
}

TEST_F(DoubleSampleErrors, PlotAboveMaxPlots) {
    writeDataSetFile("_Phase2.csv", {"1,40,5,50,20,5,45,0,0,0", "31,40,7,70,20,6,60,0,0,0"});
    expectStop({session.dataSetFile("_Phase2.csv").string(), "record 2", "field 1", "\"31\""});
}

TEST_F(DoubleSampleErrors, NegativePlotInPhase1) {
    writeDataSetFile("_Phase1DS1.csv", {"1,1,20,5,50", "-3,1,20,6,60"});
    expectStop({session.dataSetFile("_Phase1DS1.csv").string(), "record 2", "\"-3\""});
}

TEST_F(DoubleSampleErrors, FieldThatIsNotANumber) {
    writeDataSetFile("_PH2Sum.csv", {"1,1,29.33,5.97,59.67,15", "1,2,abc,3.67,36.67,15"});
    expectStop({session.dataSetFile("_PH2Sum.csv").string(), "record 2", "field 3", "\"abc\""});
}

TEST_F(DoubleSampleErrors, SpeciesAboveMaxSpecInPlotFile) {
    writeDataSetFile("_PH2Plot.csv", {"1,3,1,40,5,50,100,100,100"});
    expectStop({session.dataSetFile("_PH2Plot.csv").string(), "record 1", "field 2", "\"3\""});
}

TEST_F(DoubleSampleErrors, ProductAboveMaxProdInSummary) {
    writeDataSetFile("_PH2Sum.csv", {"1,7,29.33,5.97,59.67,15"});
    expectStop({session.dataSetFile("_PH2Sum.csv").string(), "record 1", "field 2", "\"7\""});
}

TEST_F(DoubleSampleErrors, NegativeSpeciesInTreeFile) {
    writeTrees({"1,1,1,10,50,30,0,0", "2,-1,1,10,50,30,0,0"});
    expectStop({session.TreeInputFileName.string(), "record 2", "field 2", "\"-1\""});
}

TEST_F(DoubleSampleErrors, NegativeStratumNumber) {
    writeStrata({"1,1,10,30", "-2,11,20,30"});
    expectStop({session.StrataFileName.string(), "record 2", "field 1", "\"-2\""});
}

TEST_F(DoubleSampleErrors, RecordCutShort) {
    writeDataSetFile("_Phase2.csv", {"1,40,5,50,20,5,45,0,0,0", "2,40,7,70"});
    expectStop({session.dataSetFile("_Phase2.csv").string(), "record"});
}

TEST_F(DoubleSampleErrors, TreesAboveTheClassTablesAreLeftOut) {
    // Species 3 and product 5 lie above MaxSpec 2 and MaxProd 2: the Part's allocation skips
    // them, so the step completes with the same report as without them.
    runExpectingSuccess();
    const std::string before = dataSetFile("_StratVol.txt");
    writeTrees({"1,1,1,10,50,30,0,0", "5,1,1,11,60,30,0,0", "27,1,1,14,70,30,0,0",
                "21,1,1,9,40,30,0,0", "4,1,2,12,55,30,0,0", "11,1,2,13,65,30,0,0",
                "26,1,2,15,75,30,0,0", "1,3,1,10,99,30,0,0", "1,1,5,10,99,30,0,0"});
    runExpectingSuccess();
    EXPECT_EQ(dataSetFile("_StratVol.txt"), before);
}

}  // namespace
}  // namespace orr::test
