// Steps 5 to 9 on the bundled sample data, and the regression report checked against an
// independent computation of the estimates from the step 7 and step 8 files: the sums are formed
// here stratum by stratum from the files, as the estimator defines them, and every printed value
// must agree with them within its rounding.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "engine/combine/Combine.h"
#include "engine/distribution/Distribution.h"
#include "engine/doublesample/DoubleSample.h"
#include "engine/doublesample/TValue.h"
#include "engine/phase1/Phase1.h"
#include "engine/phase2/Phase2Totals.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::vector<double>> readRecords(const fs::path& file) {
    std::vector<std::vector<double>> records;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<double> fields;
        std::stringstream s(line);
        std::string f;
        while (std::getline(s, f, ',')) fields.push_back(std::stod(f));
        if (!fields.empty()) records.push_back(fields);
    }
    return records;
}

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream s(line);
    std::string w;
    while (s >> w) out.push_back(w);
    return out;
}

// The estimates of one regression as the estimator defines them.
struct Expected {
    bool computed = false;
    double beta = 0, idx = 0, y = 0, s = 0, rho = 0, se = 0;
    double xp1 = 0, xp2 = 0, nrs = 0, n1req = 0, n2req = 0;
    int N1 = 0, n = 0;
};

class SampleData : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* source = std::getenv("ORRAVANT_SOURCE_DIR");
        sample = fs::path(source ? source : ".") / "examples" / "sample";
        ASSERT_TRUE(fs::exists(sample / "strata.csv")) << sample;
        session.appDir = dir.path();
        fs::create_directories(session.dataFilesDir());
        session.DataSetName = "SAMPLE";
        session.params = ParamRecord::defaults();
        std::ifstream params(sample / "params.txt");
        std::string line;
        while (std::getline(params, line)) {
            const auto eq = line.find('=');
            const std::string name = line.substr(0, eq);
            const auto value = static_cast<std::int16_t>(std::stoi(line.substr(eq + 1)));
            if (name == "PACF") session.params.PACF = value;
            if (name == "MaxSpec") session.params.MaxSpec = value;
            if (name == "MaxProd") session.params.MaxProd = value;
            if (name == "MaxItern") session.params.MaxItern = value;
            if (name == "MaxPlots") session.params.MaxPlots = value;
            if (name == "LiHgtAdj") session.params.LiHgtAdj = value;
            if (name == "ModelSet") session.params.ModelSet = value;
        }
        session.CoeffFileName = sample / "coefficients.csv";
        session.StrataFileName = sample / "strata.csv";
        session.DBHFileName = sample / "dbh.csv";
        session.TreeInputFileName = sample / "trees.csv";
        session.HighLidarFileName = sample / "lidar-ds1.csv";
        session.LowLidarFileName = sample / "lidar-ds2.csv";
        session.run.seed = 1;
        session.run.threads = 1;
    }

    TempDir dir;
    fs::path sample;
    Session session;
    FakeHost host;
};

// Independent estimates of stratum h: the plots are filtered from the files for this stratum.
std::map<int, Expected> expectedStratum(int h, const std::vector<int>& stratumOf,
                                        const std::vector<std::vector<double>>& phase2,
                                        const std::vector<std::vector<double>> phase1[2],
                                        std::vector<double>& M0) {
    auto in = [&](double plot) { return h == 0 || stratumOf[static_cast<int>(plot)] == h; };
    std::map<int, Expected> out;
    std::vector<double> ys;
    for (const auto& r : phase2) {
        if (in(r[0]) && !(r[1] <= 0 && r[2] <= 0)) ys.push_back(r[3]);
    }
    double yG = 0;
    for (double y : ys) yG += y;
    const double ybarG = ys.empty() ? 0 : yG / ys.size();
    for (int d = 0; d < 2; ++d) {
        std::set<int> plots1;
        double ba1 = 0, vol1 = 0;
        for (const auto& r : phase1[d]) {
            if (!in(r[0]) || (r[2] == 0 && r[3] == 0)) continue;
            plots1.insert(static_cast<int>(r[0]));
            ba1 += r[3];
            vol1 += r[4];
        }
        const double N1 = static_cast<double>(plots1.size());
        std::vector<std::array<double, 3>> pts;  // y, BA, volume
        for (const auto& r : phase2) {
            if (!in(r[0]) || (r[1] <= 0 && r[2] <= 0)) continue;
            const double ba = r[5 + 3 * d], vol = r[6 + 3 * d];
            if (ba == 0 && vol == 0) continue;
            pts.push_back({r[3], ba, vol});
        }
        const double n = static_cast<double>(pts.size());
        if (h == 0) M0[d] = n + N1;
        double my = 0;
        for (const auto& p : pts) my += p[0] / n;
        double syy = 0;
        for (const auto& p : pts) syy += (p[0] - my) * (p[0] - my);
        const double s2 = n > 1 ? syy / (n - 1) : 0;
        const double cv = my > 0 ? 100 * std::sqrt(s2) / my : 0;
        for (int j = 0; j < 2; ++j) {
            Expected e;
            e.N1 = static_cast<int>(N1);
            e.n = static_cast<int>(n);
            e.xp1 = N1 > 0 ? (j == 0 ? ba1 : vol1) / N1 : 0;
            double mx = 0;
            for (const auto& p : pts) mx += p[1 + j] / n;
            e.xp2 = n > 0 ? mx : 0;
            double sxx = 0, sxy = 0;
            for (const auto& p : pts) {
                sxx += (p[1 + j] - mx) * (p[1 + j] - mx);
                sxy += (p[1 + j] - mx) * (p[0] - my);
            }
            if (n > 2 && N1 > 0 && my != 0 && sxx > 0 && syy > 0) {
                e.beta = sxy / sxx;
                const double mse = (syy - sxy * sxy / sxx) / (n - 2);
                const double dx = e.xp1 - mx;
                const double v =
                    (n / (n + N1)) * s2 / N1 + (1 - n / N1) * mse * (1 / n + dx * dx / sxx);
                e.y = ybarG + e.beta * dx;
                if (v >= 0 && e.y != 0) {
                    e.computed = true;
                    e.idx = 100 * (e.beta * sxy) / syy;
                    e.s = std::sqrt(v);
                    e.rho = sxy / std::sqrt(sxx * syy);
                    const double t = TValue(static_cast<int>(n) - 2, 0.05f);
                    e.se = 100 * t * e.s / e.y;
                    e.nrs = t * t * cv * cv / 100;
                    const double r2 = e.rho * e.rho;
                    e.n1req = e.nrs * (r2 + (1 - r2) * std::sqrt(10 * r2 / (1 - r2)));
                    e.n2req = e.nrs * ((1 - r2) + r2 * std::sqrt(0.1 * (1 - r2) / r2));
                }
            }
            out[2 * d + j] = e;
        }
    }
    return out;
}

void near(const std::string& printed, double value, double halfUnit, const std::string& what) {
    EXPECT_LE(std::abs(std::stod(printed) - value), halfUnit + 1e-9 * (1 + std::abs(value)))
        << what << ": printed " << printed << ", computed " << value;
}

TEST_F(SampleData, RegressionReportAgreesWithAnIndependentComputation) {
    ASSERT_TRUE(runPhase2Totals(session, host));
    ASSERT_TRUE(runDistribution(session, host));
    ASSERT_TRUE(runPhase1(session, host));
    ASSERT_TRUE(runCombine(session, host));
    ASSERT_TRUE(runDoubleSample(session, host));

    const auto strata = readRecords(session.StrataFileName);
    std::vector<int> stratumOf(static_cast<std::size_t>(session.params.MaxPlots) + 1, 0);
    int H = 0;
    for (const auto& r : strata) {
        H = std::max(H, static_cast<int>(r[0]));
        for (int p = static_cast<int>(r[1]); p <= static_cast<int>(r[2]); ++p) {
            stratumOf[static_cast<std::size_t>(p)] = static_cast<int>(r[0]);
        }
    }
    const auto phase2 = readRecords(session.dataSetFile("_Phase2.csv"));
    const std::vector<std::vector<double>> phase1[2] = {
        readRecords(session.dataSetFile("_Phase1DS1.csv")),
        readRecords(session.dataSetFile("_Phase1DS2.csv"))};
    ASSERT_FALSE(phase2.empty());
    ASSERT_FALSE(phase1[1].empty());

    std::ifstream report(session.dataSetFile("_Regress.txt"));
    std::vector<std::string> lines;
    for (std::string l; std::getline(report, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    const char* names[4] = {"LiBA-DS1(sq.ft)", "LiVOL-DS1(cu.ft)", "LiBA-DS2(sq.ft)",
                            "LiVOL-DS2(cu.ft)"};
    std::vector<double> M0(2, 0);
    std::vector<double> sum(4, 0), var(4, 0);
    int regressionLines = 0;
    std::vector<double> bestY(static_cast<std::size_t>(H) + 2, 0);
    for (int h = 0; h <= H; ++h) {
        const auto expected = expectedStratum(h, stratumOf, phase2, phase1, M0);
        double best = 999;
        for (int k = 0; k < 4; ++k) {
            const Expected& e = expected.at(k);
            const std::string tag = std::to_string(h) + " " + names[k];
            std::vector<std::string> regression, variable;
            for (const std::string& l : lines) {
                const auto w = words(l);
                if (w.size() == 12 && w[0] == std::to_string(h) && w[1] == "GrnVol" &&
                    w[2] == names[k]) {
                    regression = w;
                }
                if (w.size() == 8 && w[0] == std::to_string(h) && w[1] == names[k]) {
                    variable = w;
                }
            }
            ASSERT_EQ(!regression.empty(), e.computed && e.beta > 0) << tag;
            if (e.xp1 > 0) {
                ASSERT_FALSE(variable.empty()) << tag;
                near(variable[2], e.xp1, 0.05, tag + " Phase 1 mean");
                near(variable[3], e.xp2, 0.05, tag + " Phase 2 mean");
                if (e.computed) {
                    near(variable[5], e.nrs, 0.5, tag + " N_rs");
                    near(variable[6], e.n1req, 0.5, tag + " N1req");
                    near(variable[7], e.n2req, 0.5, tag + " N2req");
                }
            }
            if (regression.empty()) continue;
            ++regressionLines;
            near(regression[3], e.beta, 0.00005, tag + " Beta");
            near(regression[4], e.idx, 0.05, tag + " IdxFt");
            near(regression[5], e.y, 0.05, tag + " YbarLR");
            near(regression[6], e.s, 0.005, tag + " S_ybarLR");
            near(regression[7], e.rho, 0.00005, tag + " Rho");
            near(regression[8], e.se, 0.005, tag + " SE");
            EXPECT_EQ(std::stoi(regression[9]), e.N1) << tag;
            EXPECT_EQ(std::stoi(regression[10]), e.n) << tag;
            if (e.se < best) {
                best = e.se;
                bestY[static_cast<std::size_t>(h)] = e.y;
            }
            if (h >= 1) {
                const int d = k / 2;
                const double w = (e.n + e.N1) / M0[d];
                sum[k] += w * e.y;
                var[k] += w * w * e.s * e.s;
            }
        }
    }
    EXPECT_GE(regressionLines, 4);

    // The strata combined.
    int combinedLines = 0;
    for (int k = 0; k < 4; ++k) {
        if (!(sum[k] > 0)) continue;
        const double s = std::sqrt(var[k]);
        const double se = 100 * s * TValue(static_cast<int>(M0[k / 2]) - 2 * H, 0.05f) / sum[k];
        for (const std::string& l : lines) {
            const auto w = words(l);
            if (w.size() == 6 && w[0] == "Co" && w[2] == names[k]) {
                ++combinedLines;
                near(w[3], sum[k], 0.05, std::string("combined ") + names[k]);
                near(w[4], s, 0.005, std::string("combined S ") + names[k]);
                near(w[5], se, 0.005, std::string("combined SE ") + names[k]);
            }
        }
    }
    EXPECT_GE(combinedLines, 1);

    // The selected estimate of every stratum heads its row of the stratum volume report.
    std::ifstream stratVol(session.dataSetFile("_StratVol.txt"));
    std::map<std::string, double> rowY;
    for (std::string l; std::getline(stratVol, l);) {
        const auto w = words(l);
        if (l.size() > 15 && l[0] != ' ' && w.size() >= 4 && w[0] != "STRATA") {
            rowY[w[0]] = std::stod(w[1]);
        }
    }
    near(std::to_string(rowY.at("non-stratified")), bestY[0], 0.005, "row non-stratified");
    for (int h = 1; h <= H; ++h) {
        near(std::to_string(rowY.at(std::to_string(h))), bestY[static_cast<std::size_t>(h)], 0.005,
             "row " + std::to_string(h));
    }
}

}  // namespace
}  // namespace orr::test
