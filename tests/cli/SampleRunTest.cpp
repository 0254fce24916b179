// The bundled sample through every step the command line has: no message, no product-code
// question, every output present, and every regression of step 9 with a positive slope.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "cli/CliCommand.h"
#include "cli/StepTable.h"
#include "examples/Generator.h"
#include "shell/session/Startup.h"
#include "tests/support/TestFiles.h"

namespace orr::test {
namespace {

bool available(int step) {
    for (const auto& s : availableSteps()) {
        if (s.number == step) return true;
    }
    return false;
}

TEST(SampleRun, EveryStepCompletesOnTheBundledSample) {
    const char* source = std::getenv("ORRAVANT_SOURCE_DIR");
    const auto files =
        examples::dataSetFiles(std::filesystem::path(source ? source : ".") / "examples/sample");
    TempDir dir;
    std::filesystem::create_directories(dir / "app");
    saveParameters(dir / "app", examples::presetShape("sample")->params);
    std::istringstream in;
    std::ostringstream out, err;
    CliContext ctx{
        dir / "app",
        {"--dataset", "SAMPLE", "--coeff", files.coefficients.string(), "--strata",
         files.strata.string(), "--dbh", files.dbh.string(), "--trees", files.trees.string(),
         "--ds1", files.lidarDs1.string(), "--ds2", files.lidarDs2.string(), "--seed", "1"},
        false,
        in,
        out,
        err};
    ASSERT_EQ(runCommand(ctx), kExitOk) << err.str();
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(out.str().find("dropping"), std::string::npos);

    const std::vector<std::pair<int, std::vector<std::string>>> outputs = {
        {5, {"_PH2TreeV.csv", "_PH2Plot.csv", "_PH2PlotT.csv", "_PH2Sum.csv"}},
        {6, {"_PH2plotDS1.csv", "_PH2plotDS2.csv", "_PH2specDS1.csv"}},
        {7, {"_Phase1DS1.csv", "_Phase1DS2.csv"}},
        {8, {"_Phase2.csv", "_VolSum.txt"}},
        {9, {"_Regress.txt", "_StratVol.txt"}},
    };
    const auto data = dir / "app" / "DATA FILES";
    for (const auto& [step, names] : outputs) {
        if (!available(step)) continue;
        for (const auto& name : names) {
            EXPECT_GT(std::filesystem::file_size(data / ("SAMPLE" + name)), 0u) << name;
        }
    }
    if (available(9)) {
        // Regressions with a slope of 0 or less are left out of the report: all four are there
        // for the non-stratified estimate, each of the three strata and the strata combined.
        const std::string report = readFile(data / "SAMPLE_Regress.txt");
        std::size_t lines = 0;
        for (auto at = report.find("GrnVol  Li"); at != std::string::npos;
             at = report.find("GrnVol  Li", at + 1)) {
            ++lines;
        }
        EXPECT_EQ(lines, 20u) << report;
    }
}

}  // namespace
}  // namespace orr::test
