// The captions that the output labels get when steps 5 to 9 complete, and the status log's text.
#include "files/DataSetFiles.h"
#include "model/workflow/StatusLog.h"
#include "tests/model/workflow/WorkflowFixture.h"

namespace orr::workflow {
namespace {

class StepCaptions : public WorkflowTest {
  protected:
    StepCaptions() { wf.activate(); }
    std::filesystem::path file(files::DataSetFile f) const {
        return files::path(session.dataFilesDir(), session.dataSetName, f);
    }
    void write(files::DataSetFile f, std::string_view content) {
        test::writeFile(file(f), content);
    }
    void expectShown(const std::vector<std::pair<Label, std::string>>& rows) {
        for (const auto& [l, caption] : rows) {
            EXPECT_TRUE(wf.label(l).visible) << labelName(l);
            EXPECT_EQ(wf.label(l).caption, caption);
        }
    }
};

TEST_F(StepCaptions, StepsFiveSixSevenAndEightNameTheirFiles) {
    for (int step : {5, 6, 7, 8}) ASSERT_TRUE(wf.runStep(step, host));
    expectShown(
        {{Label::PlotClassesFile, "OutFile=  ABC_PH2Plot.csv"},
         {Label::PlotTotalsFile, "OutFile=  ABC_PH2PlotT.csv"},
         {Label::Phase2SummaryFile, "OutFile=  ABC_PH2Sum.csv"},
         {Label::TreeFile, "InFile - TREES.csv OutFile= ABC_PH2TreeV.csv"},
         {Label::LidarPlotsDS1,
          "Data Set 1   Infile= ABC_PH2Plot.csv   Outfile= ABC_PH2plotDS1.csv"},
         {Label::Phase1DS1, "DataSet 1   Infile= High Heights.csv   Outfile= ABC_Phase1DS1.csv"},
         {Label::Phase2File, "Outfile= ABC_Phase2.csv"},
         {Label::VolumeSummary, "Outfile= ABC_VolSum.txt"}});
    // Data set 2 only with a low file, and in step 7 only when the step wrote its file.
    EXPECT_FALSE(wf.label(Label::LidarPlotsDS2).visible);
    EXPECT_FALSE(wf.label(Label::Phase1DS2).visible);
    session.lidarLowFile = "C:\\lidar\\LOW.csv";
    ScriptedSteps::behaviour[2] = [this](const StepInputs&, StepHost&) {
        StepResult r;
        r.outputs = {file(files::DataSetFile::Phase1DS2), file(files::DataSetFile::Phase1DS1)};
        return r;
    };
    for (int step : {6, 7}) ASSERT_TRUE(wf.runStep(step, host));
    expectShown({{Label::LidarPlotsDS2,
                  "Data Set 2   Infile= ABC_PH2Plot.csv   Outfile= ABC_PH2plotDS2.csv"},
                 {Label::Phase1DS2, "DataSet 2   Infile= LOW.csv   Outfile= ABC_Phase1DS2.csv"}});
}

TEST_F(StepCaptions, StepNineListsTheReportsThatHoldSomething) {
    write(files::DataSetFile::StratumVolume, "");
    write(files::DataSetFile::Regression, "x\r\n");
    ASSERT_TRUE(wf.runStep(9, host));
    expectShown({{Label::Regression, "Outfile= ABC_Regress.txt"},
                 {Label::StratumVolume, "Outfile= ABC_StratVol.txt"},
                 {Label::Reports, "ABC_Regress.txt"}});
    EXPECT_FALSE(std::filesystem::exists(file(files::DataSetFile::VolumeSummary)));  // not made
    write(files::DataSetFile::StratumVolume, "x\r\n");
    write(files::DataSetFile::VolumeSummary, "x\r\n");
    ASSERT_TRUE(wf.runStep(9, host));
    expectShown({{Label::Reports, "ABC_StratVol.txt, ABC_Regress.txt, ABC_VolSum.txt"}});
}

TEST(StatusLog, EveryLineEndsInCrLfAndShowsWithOneLineFeed) {
    StatusLog log;
    log.append("DataSet Name is: ABC");
    log.append("");
    EXPECT_EQ(log.text(), "DataSet Name is: ABC\r\n\r\n");
    EXPECT_EQ(log.length(), 24u);
    log.set(" ");
    EXPECT_EQ(log.text(), " ");
    EXPECT_EQ(StatusLog::forDisplay("a\r\nb\rc\nd"), "a\nb\nc\nd");
}

}  // namespace
}  // namespace orr::workflow
