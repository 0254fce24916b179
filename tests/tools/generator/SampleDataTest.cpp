// The bundled sample under examples/sample: it is what the generator writes with the sample
// preset and its seed, and step 5 counts every one of its trees.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/CommaReader.h"
#include "engine/phase2/PlotTotalsStep.h"
#include "files/DataSetFiles.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"
#include "tools/generator/Generator.h"

namespace orr::test {
namespace {

std::filesystem::path sampleDir() {
    const char* source = std::getenv("ORRAVANT_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "examples" / "sample";
}

TEST(SampleData, BundledFilesAreTheGeneratorsOutput) {
    TempDir dir;
    const auto fresh = generator::generateDataSet(*generator::presetShape("sample"),
                                                  generator::kSampleSeed, dir.path());
    const auto bundled = generator::dataSetFiles(sampleDir());
    for (std::size_t i = 0; i < fresh.all().size(); ++i) {
        ASSERT_TRUE(std::filesystem::exists(bundled.all()[i])) << bundled.all()[i];
        EXPECT_EQ(readFile(bundled.all()[i]), readFile(fresh.all()[i])) << bundled.all()[i];
    }
}

TEST(SampleData, StepFiveCountsEveryTreeOfTheSample) {
    TempDir dir;
    const auto files = generator::dataSetFiles(sampleDir());
    Session session;
    session.appDir = dir.path();
    std::filesystem::create_directories(session.dataFilesDir());
    session.dataSetName = "SAMPLE";
    session.params = generator::presetShape("sample")->params;
    session.coefficientFile = files.coefficients;
    session.dbhFile = files.dbh;
    session.treeFile = files.trees;
    FakeHost host;
    ASSERT_TRUE(runStep(5, &computePlotTotals, session, host).completed());
    EXPECT_TRUE(host.messages.empty());
    const auto output = [&](files::DataSetFile f) {
        return files::path(session.dataFilesDir(), session.dataSetName, f);
    };
    EXPECT_EQ(CommaReader::countRecords(output(files::DataSetFile::TreeVolumes), 8),
              CommaReader::countRecords(files.trees, 8));
    EXPECT_EQ(CommaReader::countRecords(output(files::DataSetFile::PlotTotals), 4), 40);
    // Every class mean is taken over the 40 plots.
    CommaReader summary(output(files::DataSetFile::Phase2Summary));
    int classes = 0;
    while (summary.next(6)) {
        EXPECT_EQ(summary.int16(5, "plots"), 40);
        ++classes;
    }
    EXPECT_EQ(classes, 9);
}

}  // namespace
}  // namespace orr::test
