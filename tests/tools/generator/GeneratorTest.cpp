// The data-set generator: the same seed gives the same bytes (the bundled sample is its output),
// and what it writes is readable by the program's readers and consistent in the ways the later
// steps need.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <numeric>
#include <set>
#include <tuple>

#include "core/CommaReader.h"
#include "files/CoefficientFile.h"
#include "files/DbhFile.h"
#include "files/StrataFile.h"
#include "tests/support/TestFiles.h"
#include "tools/generator/Generator.h"

namespace orr::test {
namespace {

using generator::DataSetShape;
using generator::generateDataSet;
using generator::presetShape;

TEST(Generator, SameSeedSameBytesOtherSeedOtherStandsAndTheBundledSampleIsItsOutput) {
    DataSetShape small = *presetShape("sample");
    generator::resizeShape(small, 120);
    TempDir a, b, c, sample;
    const auto filesA = generateDataSet(small, 42, a.path());
    const auto filesB = generateDataSet(small, 42, b.path());
    const auto filesC = generateDataSet(small, 43, c.path());
    for (std::size_t i = 0; i < filesA.all().size(); ++i)
        EXPECT_EQ(readFile(filesA.all()[i]), readFile(filesB.all()[i])) << filesA.all()[i];
    EXPECT_NE(readFile(filesA.trees), readFile(filesC.trees));
    EXPECT_NE(readFile(filesA.lidarDs1), readFile(filesC.lidarDs1));
    // The tables of the forest do not depend on the seed.
    EXPECT_EQ(readFile(filesA.coefficients), readFile(filesC.coefficients));
    EXPECT_EQ(readFile(filesA.dbh), readFile(filesC.dbh));

    const char* source = std::getenv("ORRAVANT_SOURCE_DIR");
    const auto bundled =
        generator::dataSetFiles(std::filesystem::path(source ? source : ".") / "examples/sample");
    const auto fresh =
        generateDataSet(*presetShape("sample"), generator::kSampleSeed, sample.path());
    for (std::size_t i = 0; i < fresh.all().size(); ++i)
        EXPECT_EQ(readFile(bundled.all()[i]), readFile(fresh.all()[i])) << bundled.all()[i];
}

// The LiDAR file's heights by plot; the records of a plot must follow each other.
std::map<int, std::vector<double>> readLidar(const std::filesystem::path& file) {
    std::map<int, std::vector<double>> plots;
    CommaReader r(file);
    int last = 0;
    while (r.next(2)) {
        const int plot = r.intInRange(0, "plot", 1, 32767);
        EXPECT_TRUE(plot == last || !plots.count(plot)) << "records of plot " << plot << " apart";
        last = plot;
        plots[plot].push_back(r.number(1, "height"));
    }
    return plots;
}

TEST(Generator, TablesReadBackAndTreesFitTheirProductsAndLidarHeightsFollowTheGround) {
    TempDir dir;
    const auto files = generateDataSet(*presetShape("sample"), 3, dir.path());
    const CoefficientTable coeff = readCoefficientFile(files.coefficients, 3);
    const DbhLimits limits = readDbhFile(files.dbh, 3, 3);
    for (int s = 1; s <= 3; ++s) {
        EXPECT_GT(coeff.at(3, s)[2], 0) << "DataSet 1 ground height needs b2";
        EXPECT_GT(coeff.at(4, s)[1], 0) << "DataSet 2 ground height needs b1";
        EXPECT_GT(coeff.at(5, s)[3], 0) << "volume grows with D^2 H";
        EXPECT_EQ(limits.min(s, 1), 5);
        // The products follow each other without a gap at one decimal.
        EXPECT_NEAR(limits.min(s, 2), limits.max(s, 1) + 0.1, 1e-9);
        EXPECT_NEAR(limits.min(s, 3), limits.max(s, 2) + 0.1, 1e-9);
    }
    const StrataTable strata = readStrataFile(files.strata);
    ASSERT_EQ(strata.size(), 3u);
    EXPECT_EQ(strata.front().beginPlot, 1);
    EXPECT_EQ(strata.back().endPlot, 400);
    for (std::size_t k = 1; k < strata.size(); ++k)
        EXPECT_EQ(strata[k].beginPlot, strata[k - 1].endPlot + 1);
    EXPECT_EQ(readFile(files.params),
              "PACF=20\nMaxSpec=3\nMaxProd=3\nMaxItern=100\nMaxPlots=500\nLiHgtAdj=0\n"
              "ModelSet=0\n");
    // Every Phase 1 plot is in both LiDAR files.
    const auto ds1 = readLidar(files.lidarDs1);
    const auto ds2 = readLidar(files.lidarDs2);
    ASSERT_EQ(ds1.size(), 400u);
    ASSERT_EQ(ds2.size(), 400u);
    EXPECT_EQ(ds1.rbegin()->first, 400);

    CommaReader r(files.trees);
    std::map<int, std::vector<double>> ground;  // measured heights by plot
    std::set<int> plots;
    int last = 0;
    while (r.next(8)) {
        const int plot = r.intInRange(0, "Plot", 1, 400);
        const int species = r.intInRange(1, "Species", 1, 3);
        const int product = r.intInRange(2, "Product", 1, 3);
        const double dbh = r.number(3, "DBH");
        const double height = r.number(4, "Height");
        EXPECT_GE(dbh, limits.min(species, product)) << "record " << r.record();
        EXPECT_LE(dbh, limits.max(species, product)) << "record " << r.record();
        EXPECT_TRUE(height == 0 || height > 4.5) << "record " << r.record();
        EXPECT_TRUE(plot == last || plots.insert(plot).second) << "plot " << plot << " apart";
        last = plot;
        if (height > 0) ground[plot].push_back(height);
    }
    EXPECT_EQ(plots.size(), 40u);

    // The plots' mean ground height correlates with their mean HIGH LiDAR height, and the LOW
    // data set runs lower on nearly every plot.
    auto mean = [](const std::vector<double>& v) {
        return std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
    };
    std::vector<double> g, l;
    int lower = 0;
    for (const auto& [plot, heights] : ground) {
        g.push_back(mean(heights));
        l.push_back(mean(ds1.at(plot)));
        lower += mean(ds2.at(plot)) < mean(ds1.at(plot));
    }
    const double mg = mean(g), ml = mean(l);
    double sgl = 0, sgg = 0, sll = 0;
    for (std::size_t i = 0; i < g.size(); ++i) {
        sgl += (g[i] - mg) * (l[i] - ml);
        sgg += (g[i] - mg) * (g[i] - mg);
        sll += (l[i] - ml) * (l[i] - ml);
    }
    EXPECT_GT(sgl / std::sqrt(sgg * sll), 0.8);
    EXPECT_GT(lower, static_cast<int>(ground.size() * 9 / 10));
}

TEST(Generator, PresetsAndResizingKeepPlotsWithinMaxPlots) {
    const DataSetShape x2 = *presetShape("large-x2");
    EXPECT_LE(x2.phase1Plots, x2.params.MaxPlots);
    EXPECT_FALSE(presetShape("medium"));
    DataSetShape shape = *presetShape("sample");
    generator::resizeShape(shape, 2000);  // a tenth in Phase 2, MaxPlots raised to cover them
    EXPECT_EQ(std::tuple(shape.phase1Plots, shape.phase2Plots, shape.params.MaxPlots),
              std::tuple(2000, 200, 2000));
    generator::resizeShape(shape, 2);  // at least one Phase 2 plot, no more strata than plots
    EXPECT_EQ(std::tuple(shape.phase2Plots, shape.strata), std::tuple(1, 2));
}

}  // namespace
}  // namespace orr::test
