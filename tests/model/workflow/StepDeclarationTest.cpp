// Every step of the table run on the bundled sample, in order, through its runner: the files it
// opens are exactly those its declaration lists as there to be read, each opened once; the files
// it writes are among those it declares, and its declaration agrees with the names of the data
// set's files on which step writes each.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "core/FileReads.h"
#include "files/DataSetFiles.h"
#include "files/RunRecord.h"
#include "model/workflow/StepRunner.h"
#include "model/workflow/StepTable.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {
namespace {

namespace fs = std::filesystem;

// Counts the files opened for reading, on any thread.
class OpenedFiles : public ReadWatch {
  public:
    std::unique_ptr<ReadSink> opened(const fs::path& file) override {
        const std::lock_guard<std::mutex> lock(lock_);
        ++count_[file];
        return nullptr;
    }
    std::map<fs::path, int> take() {
        const std::lock_guard<std::mutex> lock(lock_);
        return std::exchange(count_, {});
    }

  private:
    std::mutex lock_;
    std::map<fs::path, int> count_;
};

// The sample's parameters, from its NAME=VALUE lines.
ParamRecord sampleParameters(const fs::path& file) {
    ParamRecord p = ParamRecord::defaults();
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string name = line.substr(0, eq);
        const std::string text = line.substr(eq + 1);
        // LiHgtAdj may be given as its list's words: "yes" is position 0, "no" position 1.
        const int value = text == "yes" ? 0 : text == "no" ? 1 : std::stoi(text);
        if (name == "PACF") p.PACF = static_cast<std::int16_t>(value);
        if (name == "MaxSpec") p.MaxSpec = static_cast<std::int16_t>(value);
        if (name == "MaxProd") p.MaxProd = static_cast<std::int16_t>(value);
        if (name == "MaxItern") p.MaxItern = static_cast<std::int16_t>(value);
        if (name == "MaxPlots") p.MaxPlots = value;
        if (name == "LiHgtAdj") p.LiHgtAdj = static_cast<std::int16_t>(value);
        if (name == "ModelSet") p.ModelSet = static_cast<std::int16_t>(value);
    }
    return p;
}

TEST(StepDeclaration, EveryStepOpensWhatItDeclaresOnceAndWritesOnlyWhatItDeclares) {
    const char* source = std::getenv("ORRAVANT_SOURCE_DIR");
    const fs::path sample = fs::path(source ? source : ".") / "examples/sample";
    TempDir dir;
    Session session;
    session.appDir = dir.path();
    fs::create_directories(session.dataFilesDir());
    session.dataSetName = "DECL";
    session.inputs = {sample / "coefficients.csv", sample / "strata.csv",
                      sample / "dbh.csv",          sample / "trees.csv",
                      sample / "lidar-ds1.csv",    sample / "lidar-ds2.csv",
                      sample / "areas.csv"};
    session.params = sampleParameters(sample / "params.txt");
    session.run.threads = 4;

    OpenedFiles opened;
    const ScopedReadWatch watch(opened);
    for (const workflow::StepEntry& step : workflow::stepTable()) {
        SCOPED_TRACE("step " + std::to_string(step.number()));
        ASSERT_NE(step.files, nullptr);
        EXPECT_EQ(step.files->step, step.number());
        FakeHost host;
        const StepInputs in = workflow::stepInputs(session, ProductCodePolicy::Drop);
        const StepResult result = workflow::runStep(step, in, 7, host);
        ASSERT_TRUE(result.completed()) << result.message;

        std::map<fs::path, int> expected;
        for (const fs::path& file : files::presentReads(*step.files, in)) expected[file] = 1;
        // The run record is the runner's, not an input of the step.
        std::map<fs::path, int> seen = opened.take();
        seen.erase(files::path(in, files::DataSetFile::Run));
        EXPECT_EQ(seen, expected);

        for (const fs::path& written : result.outputs) {
            const auto file = files::dataSetFileNamed(in.dataSetName, written.filename().string());
            ASSERT_TRUE(file) << written;
            const auto& writes = step.files->writes;
            EXPECT_NE(std::find(writes.begin(), writes.end(), *file), writes.end()) << written;
        }
        for (const files::DataSetFile file : step.files->writes)
            EXPECT_EQ(files::writtenByStep(file), step.number()) << files::suffix(file);
        // What the record says the step read: the files of its declaration that are there.
        const std::vector<files::StepRun> runs =
            files::readRuns(files::path(in, files::DataSetFile::Run));
        const auto run = std::find_if(runs.begin(), runs.end(),
                                      [&](const auto& r) { return r.step == step.number(); });
        ASSERT_NE(run, runs.end());
        ASSERT_EQ(run->read.size(), expected.size());
        std::size_t i = 0;
        for (const fs::path& file : files::presentReads(*step.files, in))
            EXPECT_EQ(run->read[i++], files::fingerprint(file));
        // What it wrote: fingerprinted as written, the same as the files read back now.
        ASSERT_EQ(run->wrote.size(), result.outputs.size());
        for (std::size_t k = 0; k < result.outputs.size(); ++k)
            EXPECT_EQ(run->wrote[k], files::fingerprint(result.outputs[k]));
    }
}

}  // namespace
}  // namespace orr::test
