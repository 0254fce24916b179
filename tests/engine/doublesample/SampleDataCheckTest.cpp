// Steps 5 to 9 on the bundled sample data; every regression and combined line of the report must
// agree, within its rounding, with the estimates computed here from the step 7 and 8 files.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/combine/CombineStep.h"
#include "engine/distribution/DistributionStep.h"
#include "engine/doublesample/DoubleSampleStep.h"
#include "engine/doublesample/StudentT.h"
#include "engine/phase1/Phase1Step.h"
#include "engine/phase2/PlotTotalsStep.h"
#include "files/DataSetFiles.h"
#include "files/Phase1File.h"
#include "files/Phase2File.h"
#include "files/StrataFile.h"
#include "model/session/ParameterRanges.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {
namespace {

namespace fs = std::filesystem;
using files::DataSetFile;

// The estimates of one regression as the estimator defines them.
struct Expected {
    bool computed = false;
    double beta = 0, idx = 0, y = 0, s = 0, rho = 0, se = 0;
    int N1 = 0, n = 0;
};

// Independent estimates of stratum h (0: every plot), by data set d and LiDAR variable j as
// 2 d + j; M0 takes the plots of index 0 of each data set.
std::map<int, Expected> expectedStratum(int h, const std::vector<int>& stratumOf,
                                        const std::vector<files::Phase2PlotTotals>& phase2,
                                        const std::vector<files::Phase1Total> (&phase1)[2],
                                        double (&M0)[2]) {
    auto in = [&](int plot) { return h == 0 || stratumOf[static_cast<std::size_t>(plot)] == h; };
    auto ground = [&](const files::Phase2PlotTotals& r) {
        return in(r.plot) && (r.ground.n > 0 || r.ground.ba > 0);
    };
    std::map<int, Expected> out;
    double yG = 0, nG = 0;
    for (const auto& r : phase2) {
        if (!ground(r)) continue;
        yG += r.ground.vol;
        ++nG;
    }
    const double ybarG = nG > 0 ? yG / nG : 0;
    for (int d = 0; d < 2; ++d) {
        std::set<int> plots1;
        double x1[2] = {0, 0};  // Phase 1 sums of BA and volume
        for (const auto& r : phase1[d]) {
            if (!in(r.plot) || (r.n == 0 && r.ba == 0)) continue;
            plots1.insert(r.plot);
            x1[0] += r.ba;
            x1[1] += r.vol;
        }
        const double N1 = static_cast<double>(plots1.size());
        std::vector<std::array<double, 3>> pts;  // y, BA, volume
        for (const auto& r : phase2) {
            if (ground(r) && (r.lidar[d].ba != 0 || r.lidar[d].vol != 0))
                pts.push_back({r.ground.vol, r.lidar[d].ba, r.lidar[d].vol});
        }
        const double n = static_cast<double>(pts.size());
        if (h == 0) M0[d] = n + N1;
        double my = 0, syy = 0;
        for (const auto& p : pts) my += p[0] / n;
        for (const auto& p : pts) syy += (p[0] - my) * (p[0] - my);
        const double s2 = n > 1 ? syy / (n - 1) : 0;
        for (int j = 0; j < 2; ++j) {
            Expected& e = out[2 * d + j];
            e.N1 = static_cast<int>(N1);
            e.n = static_cast<int>(n);
            double mx = 0, sxx = 0, sxy = 0;
            for (const auto& p : pts) mx += p[1 + j] / n;
            for (const auto& p : pts) {
                sxx += (p[1 + j] - mx) * (p[1 + j] - mx);
                sxy += (p[1 + j] - mx) * (p[0] - my);
            }
            if (n <= 2 || N1 == 0 || my == 0 || sxx <= 0 || syy <= 0) continue;
            e.beta = sxy / sxx;
            const double mse = (syy - sxy * sxy / sxx) / (n - 2);
            const double dx = x1[j] / N1 - mx;
            const double v =
                (n / (n + N1)) * s2 / N1 + (1 - n / N1) * mse * (1 / n + dx * dx / sxx);
            e.y = ybarG + e.beta * dx;
            if (v < 0 || e.y == 0) continue;
            e.computed = true;
            e.idx = 100 * (e.beta * sxy) / syy;
            e.s = std::sqrt(v);
            e.rho = sxy / std::sqrt(sxx * syy);
            e.se = 100 * studentT(static_cast<int>(n) - 2, 0.05f) * e.s / e.y;
        }
    }
    return out;
}

void near(const std::string& printed, double value, double halfUnit, const std::string& what) {
    EXPECT_LE(std::abs(std::stod(printed) - value), halfUnit + 1e-9 * (1 + std::abs(value)))
        << what << ": printed " << printed << ", computed " << value;
}

TEST(SampleData, RegressionReportAgreesWithAnIndependentComputation) {
    const char* source = std::getenv("ORRAVANT_SOURCE_DIR");
    const fs::path sample = fs::path(source ? source : ".") / "examples" / "sample";
    ASSERT_TRUE(fs::exists(sample / "strata.csv")) << sample;
    TempDir dir;
    Session session;
    FakeHost host;
    session.appDir = dir.path();
    fs::create_directories(session.dataFilesDir());
    session.dataSetName = "SAMPLE";
    session.params = ParamRecord::defaults();
    std::ifstream params(sample / "params.txt");
    for (std::string line; std::getline(params, line);) {
        const std::string name = line.substr(0, line.find('='));
        const int value = std::stoi(line.substr(name.size() + 1));
        if (name == "LiHgtAdj" || name == "ModelSet") {
            (name == "LiHgtAdj" ? session.params.LiHgtAdj : session.params.ModelSet) =
                static_cast<std::int16_t>(value);
            continue;
        }
        const auto count = std::ranges::find_if(
            kCountParameters, [&](const CountParameter& c) { return c.name == name; });
        ASSERT_NE(count, kCountParameters.end()) << line;
        count->set(session.params, value);
    }
    session.coefficientFile = sample / "coefficients.csv";
    session.strataFile = sample / "strata.csv";
    session.dbhFile = sample / "dbh.csv";
    session.treeFile = sample / "trees.csv";
    session.lidarHighFile = sample / "lidar-ds1.csv";
    session.lidarLowFile = sample / "lidar-ds2.csv";
    session.run.seed = 1;
    session.run.threads = 1;
    const workflow::StepFunction steps[] = {&computePlotTotals, &distributeLidarTrees,
                                            &computePhase1, &combinePhase2, &computeDoubleSample};
    for (int n = 5; n <= 9; ++n) {
        ASSERT_TRUE(runStep(n, steps[n - 5], session, host, ProductCodePolicy::Drop).completed())
            << "step " << n;
    }
    auto dataSetFile = [&](DataSetFile f) {
        return files::path(session.dataFilesDir(), session.dataSetName, f);
    };

    std::vector<int> stratumOf(static_cast<std::size_t>(session.params.MaxPlots) + 1, 0);
    int H = 0;
    for (const StrataRow& r : readStrataFile(session.strataFile)) {
        H = std::max(H, static_cast<int>(r.stratum));
        for (int p = r.beginPlot; p <= r.endPlot; ++p)
            stratumOf[static_cast<std::size_t>(p)] = r.stratum;
    }
    const auto limits = files::Limits::of(session.params);
    const auto phase2 = files::readAll<files::Phase2File>(dataSetFile(DataSetFile::Phase2), limits);
    const std::vector<files::Phase1Total> phase1[2] = {
        files::readAll<files::Phase1File>(dataSetFile(DataSetFile::Phase1DS1), limits),
        files::readAll<files::Phase1File>(dataSetFile(DataSetFile::Phase1DS2), limits)};
    ASSERT_FALSE(phase2.empty());
    ASSERT_FALSE(phase1[1].empty());

    // Regression lines by "<stratum> <variable>", combined lines by "Co <variable>".
    std::map<std::string, std::vector<std::string>> printed;
    std::ifstream report(dataSetFile(DataSetFile::Regression));
    for (std::string l; std::getline(report, l);) {
        std::istringstream fields(l);
        const std::vector<std::string> w{std::istream_iterator<std::string>(fields), {}};
        if ((w.size() == 12 || (w.size() == 6 && w[0] == "Co")) && w[1] == "GrnVol")
            printed[w[0] + " " + w[2]] = w;
    }
    const char* names[4] = {"LiBA-DS1(sq.ft)", "LiVOL-DS1(cu.ft)", "LiBA-DS2(sq.ft)",
                            "LiVOL-DS2(cu.ft)"};
    double M0[2] = {0, 0}, sum[4] = {0, 0, 0, 0}, var[4] = {0, 0, 0, 0};
    int regressionLines = 0;
    for (int h = 0; h <= H; ++h) {
        const auto expected = expectedStratum(h, stratumOf, phase2, phase1, M0);
        for (int k = 0; k < 4; ++k) {
            const Expected& e = expected.at(k);
            const std::string tag = std::to_string(h) + " " + names[k];
            ASSERT_EQ(printed.count(tag) == 1, e.computed && e.beta > 0) << tag;
            if (!printed.count(tag)) continue;
            const std::vector<std::string>& r = printed.at(tag);
            ++regressionLines;
            near(r[3], e.beta, 0.00005, tag + " Beta");
            near(r[4], e.idx, 0.05, tag + " IdxFt");
            near(r[5], e.y, 0.05, tag + " YbarLR");
            near(r[6], e.s, 0.005, tag + " S_ybarLR");
            near(r[7], e.rho, 0.00005, tag + " Rho");
            near(r[8], e.se, 0.005, tag + " SE");
            EXPECT_EQ(std::stoi(r[9]), e.N1) << tag;
            EXPECT_EQ(std::stoi(r[10]), e.n) << tag;
            if (h >= 1) {
                const double w = (e.n + e.N1) / M0[k / 2];
                sum[k] += w * e.y;
                var[k] += w * w * e.s * e.s;
            }
        }
    }
    EXPECT_GE(regressionLines, 4);
    int combinedLines = 0;
    for (int k = 0; k < 4; ++k) {
        const std::string tag = std::string("Co ") + names[k];
        ASSERT_EQ(printed.count(tag) == 1, sum[k] > 0) << tag;
        if (!printed.count(tag)) continue;
        ++combinedLines;
        const double s = std::sqrt(var[k]);
        const double se = 100 * s * studentT(static_cast<int>(M0[k / 2]) - 2 * H, 0.05f) / sum[k];
        near(printed.at(tag)[3], sum[k], 0.05, tag);
        near(printed.at(tag)[4], s, 0.005, tag + " S");
        near(printed.at(tag)[5], se, 0.005, tag + " SE");
    }
    EXPECT_GE(combinedLines, 1);
}

}  // namespace
}  // namespace orr::test
