// The runner of a step: _Run.csv records what each step's last run read, wrote, drew and warned,
// once the step has completed, in step order; every character of a warning kept; a stopped step
// leaves the record as it was; a record that cannot be read is started anew with a warning. The
// inputs a step declares are checked before it runs, and a warning raised on any thread of the
// step reaches its result and the log.
#include <gtest/gtest.h>

#include <system_error>

#include "core/OutputSet.h"
#include "core/ParallelFor.h"
#include "files/DataSetFiles.h"
#include "files/FileFingerprint.h"
#include "files/RunRecord.h"
#include "model/workflow/StepRunner.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {
namespace {

using files::DataSetFile;
using workflow::StepEntry;

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
// Warns from inside a parallel loop, on whichever thread computes the plot.
StepResult parallelStep(const StepInputs&, StepHost&) {
    parallelFor(
        40, 4,
        [](std::size_t plot, unsigned) {
            if (plot % 10 == 9) warn("tall tree", "plot " + std::to_string(plot));
        },
        nullptr, 1);
    return {};
}

const files::StepFiles kReadsTrees{
    5, {files::chosen(ChosenInput::Trees)}, {DataSetFile::PlotClasses}, {"PACF"}};
const files::StepFiles kReadsPlotClasses{6, {files::ofDataSet(DataSetFile::PlotClasses)}, {}, {}};
const files::StepFiles kReadsNothing7{7, {}, {}, {}};
const files::StepFiles kReadsNothing8{8, {}, {}, {}};

class StepRunner : public ::testing::Test {
  protected:
    StepRunner() {
        in.dataDir = dir / "DATA FILES";
        std::filesystem::create_directories(in.dataDir);
        in.dataSetName = "R";
        in.params = ParamRecord::defaults();
        in.paths.trees = dir / "trees.csv";
        writeFile(in.paths.trees, "1,1,1,10,60,30,0,0\r\n");
    }
    std::filesystem::path runFile() const { return files::path(in, DataSetFile::Run); }
    // Runs the stand-in as step `step` with the seed 42; its result.
    StepResult run(int step, const files::StepFiles& declared,
                   StepResult (*f)(const StepInputs&, StepHost&)) {
        const StepEntry entry{workflow::describeStep(step), f, &declared};
        return workflow::runStep(entry, in, 42, host);
    }

    TempDir dir;
    StepInputs in;
    FakeHost host;
};

TEST_F(StepRunner, RecordsEachStepsLastRunInStepOrder) {
    EXPECT_EQ(run(5, kReadsTrees, &fakeStep5).warnings,
              (std::vector<Warning>{{"awkward", kAwkward}}));
    run(6, kReadsPlotClasses, &fakeStep6);
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
    ASSERT_EQ(runs[1].read.size(), 1u);
    EXPECT_EQ(runs[1].read[0].name, "R_PH2Plot.csv");

    // Step 5 again on the same files: the record as it was; a stopped step changes nothing.
    const std::string before = readFile(runFile());
    run(5, kReadsTrees, &fakeStep5);
    EXPECT_EQ(readFile(runFile()), before);
    run(7, kReadsNothing7, &stoppingStep);
    EXPECT_EQ(readFile(runFile()), before);
    // Step 5 on another tree file: its record changes in its place, before step 6.
    writeFile(in.paths.trees, "1,1,1,10,60,30,0,0\r\n2,1,1,10,60,30,0,0\r\n");
    run(5, kReadsTrees, &fakeStep5);
    runs = files::readRuns(runFile());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].step, 5);
    EXPECT_EQ(runs[0].read[0].size, 40u);
    EXPECT_EQ(runs[1].step, 6);
}

TEST_F(StepRunner, AnUnreadableRecordIsStartedAnew) {
    writeFile(runFile(), "5,\"parameter\",\"PACF\",\"20\",\"\"\r\n5,\"guess\",\"\",\"\",\"\"\r\n");
    const std::vector<Warning> warnings = run(8, kReadsNothing8, &fakeStep6).warnings;
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].kind, "run record");
    EXPECT_NE(warnings[0].text.find("record 2, field 2 (entry)"), std::string::npos)
        << warnings[0].text;
    const std::vector<files::StepRun> runs = files::readRuns(runFile());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].step, 8);
}

// The inputs a step declares are checked before it starts: a needed input not chosen, a data-set
// file an earlier step has not written.
TEST_F(StepRunner, AMissingInputStopsTheStepBeforeItRuns) {
    bool ran = false;
    static bool* ranFlag = nullptr;
    ranFlag = &ran;
    const auto step = +[](const StepInputs&, StepHost&) {
        *ranFlag = true;
        return StepResult{};
    };
    in.paths.trees.clear();
    EXPECT_EQ(run(5, kReadsTrees, step).message, "Please Enter Input File");
    const auto plotClasses = files::path(in, DataSetFile::PlotClasses);
    EXPECT_EQ(run(6, kReadsPlotClasses, step).message,
              "The file " + plotClasses.string() +
                  " is missing. It is written by step 5; please run step 5 first.");
    EXPECT_FALSE(ran);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].icon, workflow::Icon::Critical);
    EXPECT_FALSE(std::filesystem::exists(runFile()));
}

// A warning raised inside a parallel loop, on a helper thread as well, reaches the step's
// result, its run record and the log, in the order of the plots.
TEST_F(StepRunner, AWarningFromAParallelLoopReachesTheLog) {
    const StepResult result = run(8, kReadsNothing8, &parallelStep);
    const std::vector<Warning> expected = {{"tall tree", "plot 9"},
                                           {"tall tree", "plot 19"},
                                           {"tall tree", "plot 29"},
                                           {"tall tree", "plot 39"}};
    EXPECT_EQ(result.warnings, expected);
    const std::vector<std::string> lines = host.logLines();
    for (const Warning& w : expected)
        EXPECT_NE(std::find(lines.begin(), lines.end(), "Warning: " + w.text), lines.end())
            << host.logText;
    EXPECT_EQ(files::readRuns(runFile()).at(0).warnings, expected);
}

// A record that cannot be written fails the run, naming _Run.csv and the system's reason; the
// record of the step's earlier run is removed, so that no report takes it for this run's.
TEST_F(StepRunner, ARecordThatCannotBeWrittenStopsTheRunAndTheEarlierRecordGoes) {
    run(5, kReadsTrees, &fakeStep5);
    run(6, kReadsPlotClasses, &fakeStep6);
    ASSERT_EQ(files::readRuns(runFile()).size(), 2u);
    // The disk fills up while the new record replaces the old one.
    afterCommitRenameForTests = [](std::size_t) {
        throw std::system_error(ENOSPC, std::generic_category(), "Cannot write the record");
    };
    const StepResult r = run(6, kReadsPlotClasses, &fakeStep6);  // writes only the record
    afterCommitRenameForTests = nullptr;
    EXPECT_EQ(r.end, StepResult::End::Stopped);
    EXPECT_EQ(r.message.rfind("The run of step 6 could not be recorded in " + runFile().string() +
                                  ": Cannot write the record: No space left on device",
                              0),
              0u)
        << r.message;
    EXPECT_FALSE(std::filesystem::exists(runFile()));
    EXPECT_TRUE(files::readRuns(runFile()).empty());
}

// What stands at the record's name and is not a file is left alone; the run fails all the same.
TEST_F(StepRunner, ADirectoryAtTheRecordsNameStopsTheRunAndStays) {
    std::filesystem::create_directories(runFile() / "inside");
    const StepResult r = run(5, kReadsTrees, &fakeStep5);
    EXPECT_EQ(r.end, StepResult::End::Stopped);
    EXPECT_NE(r.message.find("could not be recorded in " + runFile().string()), std::string::npos)
        << r.message;
    EXPECT_TRUE(std::filesystem::is_directory(runFile() / "inside"));
}

// Names and text values that a spreadsheet would evaluate are written after an apostrophe and
// read back as they were; numbers and ordinary texts are written as they are.
TEST_F(StepRunner, UserTextNeverStartsASpreadsheetFormula) {
    const std::filesystem::path output = dir / "out.csv";
    files::StepRun r;
    r.step = 5;
    r.parameters = {{"PACF", "20"}, {"=cmd|' /C calc'!A0", "-2"}};
    r.read = {{"+SUM(A1).csv", 3, "ab"}, {"@x", 4, "cd"}, {"'quoted", 5, "ef"}};
    r.warnings = {{"kind", "-1 trees"}, {"\ttab", "plain"}};
    files::recordRun(output, {}, r);
    const std::string text = readFile(output);
    EXPECT_EQ(text,
              "5,\"parameter\",\"PACF\",\"20\",\"\"\r\n"
              "5,\"parameter\",\"'=cmd|' /C calc'!A0\",\"'-2\",\"\"\r\n"
              "5,\"read\",\"'+SUM(A1).csv\",\"3\",\"ab\"\r\n"
              "5,\"read\",\"'@x\",\"4\",\"cd\"\r\n"
              "5,\"read\",\"''quoted\",\"5\",\"ef\"\r\n"
              "5,\"warning\",\"kind\",\"'-1 trees\",\"\"\r\n"
              "5,\"warning\",\"'\ttab\",\"plain\",\"\"\r\n");
    const std::vector<files::StepRun> back = files::readRuns(output);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].parameters, r.parameters);
    EXPECT_EQ(back[0].read, r.read);
    EXPECT_EQ(back[0].warnings, r.warnings);
}

}  // namespace
}  // namespace orr::test
