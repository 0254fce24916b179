// The data-set generator: the bundled sample is its output, so the same seed gives the same bytes,
// and another seed gives other stands on the same tables of the forest. That its data sets are
// consistent is checked by running them: the sample through every step without a warning or a
// dropped tree (RunCommandTest), generated data sets in the robustness and golden runs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/TestFiles.h"
#include "tools/generator/Generator.h"

namespace orr::test {
namespace {

TEST(Generator, TheBundledSampleIsItsOutputAndAnotherSeedGivesOtherStands) {
    const char* source = std::getenv("ORRAVANT_SOURCE_DIR");
    const auto bundled =
        generator::dataSetFiles(std::filesystem::path(source ? source : ".") / "examples/sample");
    TempDir dir;
    const auto sample = *generator::presetShape("sample");
    const auto fresh = generator::generateDataSet(sample, generator::kSampleSeed, dir / "1");
    for (std::size_t i = 0; i < fresh.all().size(); ++i)
        EXPECT_EQ(readFile(bundled.all()[i]), readFile(fresh.all()[i])) << bundled.all()[i];
    const auto other = generator::generateDataSet(sample, 43, dir / "43");
    EXPECT_NE(readFile(fresh.trees), readFile(other.trees));
    EXPECT_NE(readFile(fresh.lidarDs1), readFile(other.lidarDs1));
    EXPECT_EQ(readFile(fresh.coefficients), readFile(other.coefficients));
    EXPECT_EQ(readFile(fresh.dbh), readFile(other.dbh));
}

}  // namespace
}  // namespace orr::test
