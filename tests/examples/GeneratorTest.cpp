// The data-set generator: the same seed gives the same bytes, and what it writes is readable by
// the program's readers and consistent in the ways the later steps need.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "core/CommaReader.h"
#include "core/NumberText.h"
#include "examples/Generator.h"
#include "setup/formats/InputFiles.h"
#include "tests/support/TestFiles.h"

namespace orr::test {
namespace {

using examples::DataSetShape;
using examples::generateDataSet;
using examples::presetShape;

DataSetShape smallShape() {
    DataSetShape shape = *presetShape("sample");
    examples::resizeShape(shape, 120);
    return shape;
}

struct LidarPlot {
    std::vector<double> heights;
};

std::map<int, LidarPlot> readLidar(const std::filesystem::path& file) {
    std::map<int, LidarPlot> plots;
    CommaReader r(file);
    int last = 0;
    std::set<int> seen;
    while (r.next(2)) {
        const int plot = r.intInRange(0, "plot", 1, 32767);
        if (plot != last) {
            EXPECT_TRUE(seen.insert(plot).second) << "records of plot " << plot << " are apart";
            last = plot;
        }
        plots[plot].heights.push_back(r.number(1, "height"));
    }
    return plots;
}

TEST(Generator, SameSeedSameBytesOtherSeedOtherStands) {
    TempDir a, b, c;
    const auto filesA = generateDataSet(smallShape(), 42, a.path());
    const auto filesB = generateDataSet(smallShape(), 42, b.path());
    const auto filesC = generateDataSet(smallShape(), 43, c.path());
    for (std::size_t i = 0; i < filesA.all().size(); ++i) {
        EXPECT_EQ(readFile(filesA.all()[i]), readFile(filesB.all()[i])) << filesA.all()[i];
    }
    EXPECT_NE(readFile(filesA.trees), readFile(filesC.trees));
    EXPECT_NE(readFile(filesA.lidarDs1), readFile(filesC.lidarDs1));
    // The tables of the forest do not depend on the seed.
    EXPECT_EQ(readFile(filesA.coefficients), readFile(filesC.coefficients));
    EXPECT_EQ(readFile(filesA.dbh), readFile(filesC.dbh));
}

TEST(Generator, InputTablesReadBackWithTheProgramsReaders) {
    TempDir dir;
    const DataSetShape shape = smallShape();
    const auto files = generateDataSet(shape, 5, dir.path());
    EXPECT_EQ(CommaReader::countRecords(files.coefficients, 4), 15);
    const CoefficientTable coeff = readCoefficientFile(files.coefficients, 3);
    for (int s = 1; s <= 3; ++s) {
        EXPECT_GT(coeff.at(3, s)[2], 0) << "DataSet 1 ground height needs b2";
        EXPECT_GT(coeff.at(4, s)[1], 0) << "DataSet 2 ground height needs b1";
        EXPECT_GT(coeff.at(5, s)[3], 0) << "volume grows with D^2 H";
    }
    const DbhLimits limits = readDbhFile(files.dbh, 3, 3);
    for (int s = 1; s <= 3; ++s) {
        EXPECT_EQ(limits.min(s, 1), 5);
        // The products follow each other without a gap at one decimal.
        EXPECT_NEAR(limits.min(s, 2), limits.max(s, 1) + 0.1, 1e-9);
        EXPECT_NEAR(limits.min(s, 3), limits.max(s, 2) + 0.1, 1e-9);
    }
    const StrataTable strata = readStrataFile(files.strata);
    ASSERT_EQ(strata.size(), 3u);
    EXPECT_EQ(strata.front().beginPlot, 1);
    EXPECT_EQ(strata.back().endPlot, 120);
    for (std::size_t k = 1; k < strata.size(); ++k) {
        EXPECT_EQ(strata[k].beginPlot, strata[k - 1].endPlot + 1);
    }
    EXPECT_EQ(readFile(files.params),
              "PACF=20\nMaxSpec=3\nMaxProd=3\nMaxItern=100\n"
              "MaxPlots=500\nLiHgtAdj=0\nModelSet=0\n");
}

TEST(Generator, TreesFitTheirProductsAndLieOnPhase1Plots) {
    TempDir dir;
    const auto files = generateDataSet(smallShape(), 9, dir.path());
    const DbhLimits limits = readDbhFile(files.dbh, 3, 3);
    const auto ds1 = readLidar(files.lidarDs1);
    const auto ds2 = readLidar(files.lidarDs2);
    // Every Phase 1 plot is in both LiDAR files.
    ASSERT_EQ(ds1.size(), 120u);
    ASSERT_EQ(ds2.size(), 120u);
    EXPECT_EQ(ds1.begin()->first, 1);
    EXPECT_EQ(ds1.rbegin()->first, 120);

    CommaReader r(files.trees);
    std::set<int> phase2;
    int last = 0;
    while (r.next(8)) {
        const int plot = r.intInRange(0, "Plot", 1, 120);
        const int species = r.intInRange(1, "Species", 1, 3);
        const int product = r.intInRange(2, "Product", 1, 3);
        const double dbh = r.number(3, "DBH");
        const double height = r.number(4, "Height");
        EXPECT_GE(dbh, limits.min(species, product)) << "record " << r.record();
        EXPECT_LE(dbh, limits.max(species, product)) << "record " << r.record();
        EXPECT_TRUE(height == 0 || height > 4.5) << "record " << r.record();
        if (plot != last) {
            EXPECT_TRUE(phase2.insert(plot).second) << "trees of plot " << plot << " are apart";
            last = plot;
        }
    }
    EXPECT_EQ(phase2.size(), 12u);
}

TEST(Generator, LidarHeightsFollowTheGroundAndDataSet2RunsLower) {
    TempDir dir;
    DataSetShape shape = *presetShape("sample");
    const auto files = generateDataSet(shape, 3, dir.path());
    const auto ds1 = readLidar(files.lidarDs1);
    const auto ds2 = readLidar(files.lidarDs2);
    std::map<int, std::vector<double>> ground;
    CommaReader r(files.trees);
    while (r.next(8)) {
        if (r.number(4, "Height") > 0) {
            ground[r.int16(0, "Plot")].push_back(r.number(4, "Height"));
        }
    }
    auto mean = [](const std::vector<double>& v) {
        double s = 0;
        for (double x : v) s += x;
        return s / static_cast<double>(v.size());
    };
    // Correlation of the plots' mean ground height with their mean HIGH LiDAR height.
    std::vector<double> g, l;
    int lower = 0;
    for (const auto& [plot, heights] : ground) {
        g.push_back(mean(heights));
        l.push_back(mean(ds1.at(plot).heights));
        lower += mean(ds2.at(plot).heights) < mean(ds1.at(plot).heights);
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

TEST(Generator, PresetsAndResizing) {
    const DataSetShape large = *presetShape("large");
    EXPECT_EQ(large.phase1Plots, 30000);
    EXPECT_EQ(large.phase2Plots, 3000);
    EXPECT_EQ(large.species, 5);
    EXPECT_EQ(large.strata, 20);
    EXPECT_EQ(large.params.MaxSpec, 5);
    EXPECT_EQ(large.params.MaxProd, 3);
    EXPECT_EQ(large.params.MaxItern, 100);
    EXPECT_EQ(large.params.MaxPlots, 32767);
    const DataSetShape x2 = *presetShape("large-x2");
    EXPECT_EQ(x2.phase2Plots, 6000);
    EXPECT_LE(x2.phase1Plots, x2.params.MaxPlots);
    EXPECT_FALSE(presetShape("medium"));

    DataSetShape shape = *presetShape("sample");
    examples::resizeShape(shape, 2000);
    EXPECT_EQ(shape.phase1Plots, 2000);
    EXPECT_EQ(shape.phase2Plots, 200);
    EXPECT_EQ(shape.params.MaxPlots, 2000);
    examples::resizeShape(shape, 2);
    EXPECT_EQ(shape.phase2Plots, 1);
    EXPECT_EQ(shape.strata, 2);
}

TEST(Generator, LargeShapeStaysWithinItsLimits) {
    // A slice of the large preset: up to 150 LiDAR heights per plot, about 75 on average.
    DataSetShape shape = *presetShape("large");
    examples::resizeShape(shape, 400);
    TempDir dir;
    const auto files = generateDataSet(shape, 11, dir.path());
    const auto ds1 = readLidar(files.lidarDs1);
    std::size_t total = 0;
    for (const auto& [plot, p] : ds1) {
        EXPECT_GE(p.heights.size(), 1u);
        EXPECT_LE(p.heights.size(), 150u);
        total += p.heights.size();
    }
    const double average = static_cast<double>(total) / static_cast<double>(ds1.size());
    EXPECT_GT(average, 55);
    EXPECT_LT(average, 95);
    EXPECT_EQ(CommaReader::countRecords(files.coefficients, 4), 25);
    EXPECT_EQ(readStrataFile(files.strata).size(), 20u);
}

}  // namespace
}  // namespace orr::test
