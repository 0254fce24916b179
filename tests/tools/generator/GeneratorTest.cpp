// The data-set generator: the bundled sample is its output, so the same seed gives the same bytes,
// and another seed gives other stands on the same tables of the forest. That its data sets are
// consistent is checked by running them: the sample through every step without a warning or a
// dropped tree (RunCommandTest), generated data sets in the robustness and golden runs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/NumberText.h"
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

// Every LiDAR height of the file has exactly `decimals` digits after its point (a height whose
// last digits are zeros has fewer, "12.5" or "12"); returns how many have exactly that many.
std::size_t heightsWithDecimals(const std::string& text, std::size_t decimals,
                                std::size_t& records) {
    std::size_t exact = 0;
    records = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        const std::string line = text.substr(at, end - at);
        at = end + 2;
        ++records;
        const std::size_t point = line.find('.');
        const std::size_t digits = point == std::string::npos ? 0 : line.size() - point - 1;
        EXPECT_LE(digits, decimals) << line;
        if (digits == decimals) ++exact;
    }
    return exact;
}

TEST(Generator, TwoDecimalHeightsChangeOnlyTheLidarFilesAndOnlyTheirLastDigit) {
    TempDir dir;
    auto shape = *generator::presetShape("sample");
    const auto one = generator::generateDataSet(shape, 5, dir / "one");
    shape.heightDecimals = 2;
    const auto two = generator::generateDataSet(shape, 5, dir / "two");
    for (const auto& [a, b] : {std::pair{one.coefficients, two.coefficients},
                               {one.strata, two.strata},
                               {one.dbh, two.dbh},
                               {one.trees, two.trees},
                               {one.params, two.params}})
        EXPECT_EQ(readFile(a), readFile(b)) << a;
    for (const auto& [a, b] :
         {std::pair{one.lidarDs1, two.lidarDs1}, std::pair{one.lidarDs2, two.lidarDs2}}) {
        const std::string tenths = readFile(a);
        const std::string hundredths = readFile(b);
        std::size_t records1 = 0, records2 = 0;
        const std::size_t exact1 = heightsWithDecimals(tenths, 1, records1);
        const std::size_t exact2 = heightsWithDecimals(hundredths, 2, records2);
        // The same trees of the same plots; most heights have a second decimal that is not 0.
        EXPECT_EQ(records1, records2);
        EXPECT_GT(exact1, records1 * 8 / 10);
        EXPECT_GT(exact2, records2 * 8 / 10);
        // Each height in hundredths rounds to the one written in tenths, except at a tie (a
        // last digit 5), where the height itself decided.
        for (std::size_t at1 = 0, at2 = 0; at1 < tenths.size() && at2 < hundredths.size();) {
            const std::size_t end1 = tenths.find("\r\n", at1);
            const std::size_t end2 = hundredths.find("\r\n", at2);
            const std::string line1 = tenths.substr(at1, end1 - at1);
            const std::string line2 = hundredths.substr(at2, end2 - at2);
            at1 = end1 + 2;
            at2 = end2 + 2;
            const std::size_t comma1 = line1.find(','), comma2 = line2.find(',');
            EXPECT_EQ(line1.substr(0, comma1), line2.substr(0, comma2));  // the same plot
            const double h1 = std::stod(line1.substr(comma1 + 1));
            const double h2 = std::stod(line2.substr(comma2 + 1));
            if (line2.back() == '5' && line2.find('.') + 3 == line2.size()) {
                EXPECT_LE(std::abs(h1 - h2), 0.05 + 1e-9) << line1 << " " << line2;
            } else {
                EXPECT_EQ(roundHalfEven(h2, 1), h1) << line1 << " " << line2;
            }
        }
    }
    // The default is one decimal: the bytes of the data sets made before the option.
    EXPECT_EQ(generator::DataSetShape{}.heightDecimals, 1);
    shape.heightDecimals = 3;
    EXPECT_THROW(generator::generateDataSet(shape, 5, dir / "three"), std::invalid_argument);
}

}  // namespace
}  // namespace orr::test
