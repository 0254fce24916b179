// _Run.csv: what each step's last run read, wrote, drew and warned, recorded once the step has
// completed, in the order the steps last ran; every character of a warning kept; a stopped step
// leaves the record as it was; a record that cannot be read is started anew with a warning.
#include <gtest/gtest.h>

#include "core/OutputSet.h"
#include "files/DataSetFiles.h"
#include "files/FileFingerprint.h"
#include "files/RunRecord.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {
namespace {

using files::DataSetFile;

// Stand-ins for steps 5 and 6: step 5 reads the tree file, writes _PH2Plot.csv and warns with
// every character a text may hold; step 6 reads _PH2Plot.csv and writes nothing.
const std::string kAwkward = "a \"quoted\", 100% sure\r\nsecond line";
StepResult fakeStep5(const StepInputs& in, StepHost&) {
    warn("awkward", kAwkward);
    StepResult r;
    writeFileAtomically(files::path(in, DataSetFile::PlotClasses), "abc");
    r.outputs = {files::path(in, DataSetFile::PlotClasses)};
    return r;
}
StepResult fakeStep6(const StepInputs&, StepHost&) {
    return {};
}
StepResult stoppingStep(const StepInputs&, StepHost&) {
    return StepResult::stopped("no");
}

class RunRecord : public ::testing::Test {
  protected:
    RunRecord() {
        in.dataDir = dir / "DATA FILES";
        std::filesystem::create_directories(in.dataDir);
        in.dataSetName = "R";
        in.params = ParamRecord::defaults();
        in.paths.trees = dir / "trees.csv";
        writeFile(in.paths.trees, "1,1,1,10,60,30,0,0\r\n");
        in.seed = 42;
    }
    std::filesystem::path runFile() const { return files::path(in, DataSetFile::Run); }
    // Runs the step under a collector, as the runner does; its warnings.
    std::vector<Warning> run(int step, bool draws, StepResult (*f)(const StepInputs&, StepHost&)) {
        WarningCollector collector;
        files::runRecorded(step, draws, f, in, host);
        return collector.take();
    }

    TempDir dir;
    StepInputs in;
    FakeHost host;
};

TEST_F(RunRecord, EachStepsLastRunInStepOrder) {
    EXPECT_EQ(run(5, false, &fakeStep5), (std::vector<Warning>{{"awkward", kAwkward}}));
    run(6, true, &fakeStep6);
    std::vector<files::StepRun> runs = files::readRuns(runFile());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].step, 5);
    EXPECT_EQ(runs[0].parameters, files::parameterTexts(in.params));
    EXPECT_EQ(runs[0].seed, std::nullopt);
    // SHA-256 of "1,1,1,10,60,30,0,0\r\n" and of "abc".
    EXPECT_EQ(runs[0].read,
              (std::vector<files::FileFingerprint>{
                  {"trees.csv", 20,
                   "cb966bcc8b1e41ba47cf28a498c4238783dc42f74f909ed9a2184ea15b02be42"}}));
    EXPECT_EQ(runs[0].wrote,
              (std::vector<files::FileFingerprint>{
                  {"R_PH2Plot.csv", 3,
                   "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"}}));
    EXPECT_EQ(runs[0].warnings, (std::vector<Warning>{{"awkward", kAwkward}}));
    EXPECT_EQ(runs[1].step, 6);
    EXPECT_EQ(runs[1].seed, 42u);
    EXPECT_EQ(runs[1].read.size(), 1u);  // _PH2Plot.csv; no coefficient, DBH or LiDAR file chosen
    EXPECT_EQ(runs[1].read[0].name, "R_PH2Plot.csv");

    // Step 5 again on the same files: the record as it was; a stopped step changes nothing.
    const std::string before = readFile(runFile());
    run(5, false, &fakeStep5);
    EXPECT_EQ(readFile(runFile()), before);
    run(7, true, &stoppingStep);
    EXPECT_EQ(readFile(runFile()), before);
    // Step 5 on another tree file: its record changes in its place, before step 6.
    writeFile(in.paths.trees, "1,1,1,10,60,30,0,0\r\n2,1,1,10,60,30,0,0\r\n");
    run(5, false, &fakeStep5);
    runs = files::readRuns(runFile());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].step, 5);
    EXPECT_EQ(runs[0].read[0].size, 40u);
    EXPECT_EQ(runs[1].step, 6);
}

TEST_F(RunRecord, AnUnreadableRecordIsStartedAnew) {
    writeFile(runFile(), "5,\"parameter\",\"PACF\",\"20\",\"\"\r\n5,\"guess\",\"\",\"\",\"\"\r\n");
    const std::vector<Warning> warnings = run(6, true, &fakeStep6);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].kind, "run record");
    EXPECT_NE(warnings[0].text.find("record 2, field 2 (entry)"), std::string::npos)
        << warnings[0].text;
    const std::vector<files::StepRun> runs = files::readRuns(runFile());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].step, 6);
}

}  // namespace
}  // namespace orr::test
