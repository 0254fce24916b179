// The captions that the output labels get when steps 5 to 9 complete.
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/workflow/StepCaptions.h"
#include "shell/workflow/Workflow.h"
#include "tests/shell/workflow/ScriptedSteps.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::workflow {
namespace {

namespace fs = std::filesystem;
using test::ScriptedSteps;

class StepCaptions : public ::testing::Test {
  protected:
    StepCaptions() {
        session.appDir = dir.path();
        fs::create_directories(session.dataFilesDir());
        session.DataSetName = "ABC";
        session.CoeffFileName = "/d/ABC_COEFFIC.csv";
        session.StrataFileName = "/d/ABC_STRATA.csv";
        session.DBHFileName = "/d/ABC_DBH.csv";
        session.TreeInputFileName = "/field data/2024/TREES.csv";
        session.HighLidarFileName = "/lidar/High Heights.csv";
        ScriptedSteps::clear();
        wf.activate();
    }
    void write(const std::string& suffix, std::string_view content) {
        test::writeFile(session.dataSetFile(suffix), content);
    }
    const std::string& caption(Label l) { return wf.label(l).caption; }
    bool shown(Label l) { return wf.label(l).visible; }

    test::TempDir dir;
    Session session;
    test::FakeHost host;
    Workflow wf{session, ScriptedSteps::steps()};
};

TEST(BareFileName, TakesThePartAfterTheLastSeparatorOfEitherKind) {
    EXPECT_EQ(bareFileName("/a/b/trees.csv"), "trees.csv");
    EXPECT_EQ(bareFileName("C:\\data\\trees.csv"), "trees.csv");
    EXPECT_EQ(bareFileName("trees.csv"), "trees.csv");
    EXPECT_EQ(bareFileName(""), "");
}

TEST_F(StepCaptions, StepFiveNamesItsFourFilesAndTheTreeFile) {
    ASSERT_TRUE(wf.runStep(5, host));
    EXPECT_EQ(caption(Label::LblPlotOutfile1), "OutFile=  ABC_PH2Plot.csv");
    EXPECT_EQ(caption(Label::LblPlotOutfile2), "OutFile=  ABC_PH2PlotT.csv");
    EXPECT_EQ(caption(Label::LblPlotOutfile3), "OutFile=  ABC_PH2Sum.csv");
    EXPECT_EQ(caption(Label::LblInputFilename), "InFile - TREES.csv OutFile= ABC_PH2TreeV.csv");
    for (Label l : {Label::LblPlotOutfile1, Label::LblPlotOutfile2, Label::LblPlotOutfile3,
                    Label::LblInputFilename})
        EXPECT_TRUE(shown(l));
    EXPECT_FALSE(shown(Label::LblHighLidar6));
}

TEST_F(StepCaptions, StepSixShowsTheDataSetTwoLabelOnlyWithALowHeightFile) {
    ASSERT_TRUE(wf.runStep(6, host));
    EXPECT_EQ(caption(Label::LblHighLidar6),
              "Data Set 1   Infile= ABC_PH2Plot.csv   Outfile= ABC_PH2plotDS1.csv");
    EXPECT_TRUE(shown(Label::LblHighLidar6));
    EXPECT_FALSE(shown(Label::LblLowLidar6));

    session.LowLidarFileName = "/lidar/low.csv";
    ASSERT_TRUE(wf.runStep(6, host));
    EXPECT_EQ(caption(Label::LblLowLidar6),
              "Data Set 2   Infile= ABC_PH2Plot.csv   Outfile= ABC_PH2plotDS2.csv");
    EXPECT_TRUE(shown(Label::LblLowLidar6));
}

TEST_F(StepCaptions, StepSevenShowsDataSetTwoOnlyWhenItsFileHoldsSomething) {
    session.LowLidarFileName = "C:\\lidar\\LOW.csv";
    write("_Phase1DS2.csv", "");
    ASSERT_TRUE(wf.runStep(7, host));
    EXPECT_EQ(caption(Label::LblHighLidar7),
              "DataSet 1   Infile= High Heights.csv   Outfile= ABC_Phase1DS1.csv");
    EXPECT_TRUE(shown(Label::LblHighLidar7));
    EXPECT_FALSE(shown(Label::LblLowLidar7));
    EXPECT_FALSE(fs::exists(session.dataSetFile("_Phase1DS2.csv")));  // the empty one is gone

    write("_Phase1DS2.csv", "1,1,20,3.5,80\r\n");
    ASSERT_TRUE(wf.runStep(7, host));
    EXPECT_EQ(caption(Label::LblLowLidar7),
              "DataSet 2   Infile= LOW.csv   Outfile= ABC_Phase1DS2.csv");
    EXPECT_TRUE(shown(Label::LblLowLidar7));
}

TEST_F(StepCaptions, StepEightNamesTheCombinedFileAndTheSummary) {
    ASSERT_TRUE(wf.runStep(8, host));
    EXPECT_EQ(caption(Label::LblCombine8), "Outfile= ABC_Phase2.csv");
    EXPECT_EQ(caption(Label::LblCombineSumm8), "Outfile= ABC_VolSum.txt");
    EXPECT_TRUE(shown(Label::LblCombine8));
    EXPECT_TRUE(shown(Label::LblCombineSumm8));
}

TEST_F(StepCaptions, StepNineListsTheReportsThatHoldSomething) {
    write("_StratVol.txt", "x\r\n");
    write("_Regress.txt", "x\r\n");
    write("_VolSum.txt", "x\r\n");
    ASSERT_TRUE(wf.runStep(9, host));
    EXPECT_EQ(caption(Label::LblCompute9), "Outfile= ABC_Regress.txt");
    EXPECT_EQ(caption(Label::LblAllocate9), "Outfile= ABC_StratVol.txt");
    EXPECT_EQ(caption(Label::lblOutputfiles), "ABC_StratVol.txt, ABC_Regress.txt, ABC_VolSum.txt");
    EXPECT_TRUE(shown(Label::lblOutputfiles));
    EXPECT_TRUE(wf.isEnabled(Button::ViewOutput));
}

TEST_F(StepCaptions, StepNineLeavesOutAnEmptyOrMissingReportAndDeletesTheEmptyOne) {
    write("_StratVol.txt", "");
    write("_Regress.txt", "x\r\n");
    ASSERT_TRUE(wf.runStep(9, host));
    EXPECT_EQ(caption(Label::lblOutputfiles), "ABC_Regress.txt");
    EXPECT_FALSE(fs::exists(session.dataSetFile("_StratVol.txt")));
    EXPECT_FALSE(fs::exists(session.dataSetFile("_VolSum.txt")));  // not created either
}

TEST_F(StepCaptions, DialogsShowTheirLabelsWithTheGivenCaption) {
    wf.showLabel(Label::lbldatasetname, "DataSetName - ABC");
    EXPECT_TRUE(shown(Label::lbldatasetname));
    EXPECT_EQ(caption(Label::lbldatasetname), "DataSetName - ABC");
    EXPECT_EQ(labelByName("LblStratDBHfilename"), Label::LblStratDBHfilename);
    EXPECT_EQ(labelByName("LblNothing"), std::nullopt);
}

}  // namespace
}  // namespace orr::workflow
