// The generator through the command line, and the bundled sample through every step the command
// line has: no message, no product-code question, every output present, and every regression of
// step 9 with a positive slope.
#include <cstdlib>

#include "model/session/Startup.h"
#include "tests/cli/CliSupport.h"
#include "tools/generator/Generator.h"

namespace orr::test {
namespace {

TEST(GenerateCommand, WritesTheSevenFilesAndSaysWhere) {
    TempDir dir;
    const auto out = dir / "set";
    const Outcome r = cli({"generate", "--out", out.string(), "--plots", "50", "--seed", "7"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out, "Data set written to " + out.string() +
                         ": 50 Phase 1 plots, 5 Phase 2 plots, 3 species, 3 strata\n"
                         "  coefficients.csv\n  strata.csv\n  dbh.csv\n  trees.csv\n"
                         "  lidar-ds1.csv\n  lidar-ds2.csv\n  params.txt\n");
    for (const auto& file : generator::dataSetFiles(out).all())
        EXPECT_GT(std::filesystem::file_size(file), 0u) << file;
}

TEST(SampleRun, EveryStepCompletesOnTheBundledSample) {
    const char* source = std::getenv("ORRAVANT_SOURCE_DIR");
    const auto files =
        generator::dataSetFiles(std::filesystem::path(source ? source : ".") / "examples/sample");
    TempDir dir;
    std::filesystem::create_directories(dir / "app");
    saveParameters(dir / "app", generator::presetShape("sample")->params);
    const Outcome r =
        cliIn(dir / "app",
              {"run", "--dataset", "SAMPLE", "--coeff", files.coefficients.string(), "--strata",
               files.strata.string(), "--dbh", files.dbh.string(), "--trees", files.trees.string(),
               "--ds1", files.lidarDs1.string(), "--ds2", files.lidarDs2.string(), "--seed", "1"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.find("dropping"), std::string::npos);

    const auto outputs = {"_PH2TreeV.csv",   "_PH2Plot.csv",    "_PH2PlotT.csv",   "_PH2Sum.csv",
                          "_PH2plotDS1.csv", "_PH2plotDS2.csv", "_PH2specDS1.csv", "_Phase1DS1.csv",
                          "_Phase1DS2.csv",  "_Phase2.csv",     "_VolSum.txt",     "_Regress.txt",
                          "_StratVol.txt"};
    const auto data = dir / "app" / "DATA FILES";
    for (const auto& name : outputs)
        EXPECT_GT(std::filesystem::file_size(data / ("SAMPLE" + std::string(name))), 0u) << name;
    // Regressions with a slope of 0 or less are left out of the report: all four are there for
    // the non-stratified estimate, each of the three strata and the strata combined.
    const std::string report = readFile(data / "SAMPLE_Regress.txt");
    std::size_t lines = 0;
    for (auto at = report.find("GrnVol  Li"); at != std::string::npos;
         at = report.find("GrnVol  Li", at + 1))
        ++lines;
    EXPECT_EQ(lines, 20u) << report;
}

}  // namespace
}  // namespace orr::test
