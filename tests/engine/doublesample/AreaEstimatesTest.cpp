// Stratum areas in step 9: every value the areas add to _Estimates.csv against the formulas
// worked out here from the file's own per-stratum rows and the ground plots of the data set (the
// three strata of writeThreeStrata, where stratum 3 has no usable regression and enters through
// its ground mean); Student's t for a real number of degrees of freedom against the t density
// integrated here; areas that are refused stop the step with every file as it was; and without
// an areas file nothing about the run record changes.
#include <cmath>
#include <map>
#include <numbers>

#include "engine/doublesample/StudentT.h"
#include "files/EstimatesFile.h"
#include "files/HeaderedFile.h"
#include "files/RunRecord.h"
#include "model/workflow/StepRunner.h"
#include "tests/engine/doublesample/DoubleSampleFixture.h"

namespace orr::test {
namespace {

using files::EstimateRecord;

void expectRelative(double actual, double expected, const std::string& what) {
    EXPECT_NEAR(actual, expected, 1e-9 * std::fabs(expected)) << what;
}

// P(T <= t) of Student's t with df degrees of freedom, by Simpson's rule over the density from
// 0 to t (the density from the gamma function, nothing shared with the program).
double cumulativeT(double df, double t) {
    const double c = std::exp(std::lgamma((df + 1) / 2) - std::lgamma(df / 2)) /
                     std::sqrt(df * std::numbers::pi);
    const auto density = [&](double x) { return c * std::pow(1 + x * x / df, -(df + 1) / 2); };
    const int steps = 200000;
    const double h = t / steps;
    double sum = density(0) + density(t);
    for (int i = 1; i < steps; ++i) sum += density(i * h) * (i % 2 ? 4 : 2);
    return 0.5 + sum * h / 3;
}

TEST(StudentTQuantile, RealDegreesOfFreedom) {
    // Table values to nine digits, and fractional df checked against the density itself.
    EXPECT_NEAR(studentTQuantile(1, 0.05), 12.7062047362, 1e-8);
    EXPECT_NEAR(studentTQuantile(2, 0.05), 4.30265272975, 1e-9);
    EXPECT_NEAR(studentTQuantile(10, 0.05), 2.22813885196, 1e-9);
    for (const double df : {1.5, 2.37, 7.81, 23.456, 140.2}) {
        const double t = studentTQuantile(df, 0.05);
        EXPECT_NEAR(cumulativeT(df, t), 0.975, 1e-10) << df;
        EXPECT_LT(t, studentTQuantile(std::floor(df), 0.05)) << df;
        EXPECT_GT(t, studentTQuantile(std::ceil(df), 0.05)) << df;
    }
    EXPECT_EQ(studentTQuantile(0, 0.05), 0.0);
}

class StratumAreas : public DoubleSampleTest {
  protected:
    void writeAreas(const std::vector<std::string>& lines) {
        session.inputs.areas = dir / "areas.csv";
        writeFile(session.inputs.areas, crlf(lines));
    }
    std::vector<EstimateRecord> estimates() {
        return files::readWithHeader<files::EstimatesFile>(path(DataSetFile::Estimates), {});
    }
    // Every file of the data directory with its contents.
    std::map<std::string, std::string> dataFiles() {
        std::map<std::string, std::string> all;
        for (const auto& f : std::filesystem::directory_iterator(session.dataFilesDir()))
            all[f.path().filename().string()] = readFile(f.path());
        return all;
    }
};

// The ground volumes of the Phase 2 plots of each stratum of writeThreeStrata (plot 5 lies in
// stratum 2, plot 14 has no ground trees).
const std::map<int, std::vector<double>> kGroundPlots = {
    {1, {50, 70, 90, 80, 60, 65}}, {2, {120, 150, 100, 130}}, {3, {40, 60, 50}}};
const std::map<int, double> kAcres = {{1, 1250.5}, {2, 730}, {3, 410.25}};

TEST_F(StratumAreas, EveryNewValueFollowsTheFormulas) {
    writeThreeStrata();
    writeAreas({"2,730", "1,1250.5", "3,410.25"});
    runExpectingSuccess();
    const std::vector<EstimateRecord> rows = estimates();
    double sumAcres = 0;
    for (const auto& [h, a] : kAcres) sumAcres += a;

    // Stratum rows: the mean per acre times the stratum's acres, with the stratum's own t; the
    // non-stratified rows over the whole area.
    int stratumRows = 0;
    for (const EstimateRecord& r : rows) {
        if (!r.stratum) continue;
        const double a = *r.stratum == 0 ? sumAcres : kAcres.at(*r.stratum);
        ASSERT_TRUE(r.acres && r.total && r.seTotal && r.totalCi95Low && r.totalCi95High);
        expectRelative(*r.acres, a, "acres");
        expectRelative(*r.total, a * r.ybarLR, "total");
        expectRelative(*r.seTotal, a * r.seYbarLR, "se_total");
        expectRelative(*r.totalCi95Low, a * r.ybarLR - r.t * a * r.seYbarLR, "total low");
        expectRelative(*r.totalCi95High, a * r.ybarLR + r.t * a * r.seYbarLR, "total high");
        ++stratumRows;
    }
    EXPECT_GT(stratumRows, 4);

    // The combined rows by plots keep their area fields empty.
    int areaRows = 0;
    const EstimateRecord* selected = nullptr;
    double bestSE = 999;
    for (const EstimateRecord& r : rows) {
        if (!r.stratum && !r.areaWeighted) {
            EXPECT_FALSE(r.acres || r.total || r.seTotal);
            continue;
        }
        if (!r.areaWeighted) continue;
        ++areaRows;
        // Per stratum: the regression's row when the stratum has one, else the ground mean.
        double mean = 0, variance = 0, dfDenominator = 0, total = 0, totalVariance = 0;
        bool groundMeanUsed = false;
        for (const auto& [h, a] : kAcres) {
            double ybar = 0, v = 0, df = 0;
            const EstimateRecord* own = nullptr;
            for (const EstimateRecord& s : rows)
                if (s.stratum == h && s.variable == r.variable) own = &s;
            if (own) {
                ybar = own->ybarLR;
                v = own->seYbarLR * own->seYbarLR;
                df = *own->n2 - 2;
            } else {
                const std::vector<double>& y = kGroundPlots.at(h);
                const double n = static_cast<double>(y.size());
                for (double x : y) ybar += x / n;
                for (double x : y) v += (x - ybar) * (x - ybar);
                v = v / (n - 1) / n;
                df = n - 1;
                groundMeanUsed = true;
            }
            const double w = a / sumAcres;
            mean += w * ybar;
            variance += w * w * v;
            dfDenominator += (w * w * v) * (w * w * v) / df;
            total += a * ybar;
            totalVariance += a * a * v;
        }
        EXPECT_TRUE(groundMeanUsed) << "stratum 3 has no regression";
        const double df = variance * variance / dfDenominator;
        EXPECT_FALSE(r.n1 || r.n2 || r.beta || r.rho || r.groundMean || r.efficiency);
        expectRelative(r.ybarLR, mean, r.variable + " mean");
        expectRelative(r.seYbarLR, std::sqrt(variance), r.variable + " se");
        EXPECT_NEAR(cumulativeT(df, r.t), 0.975, 1e-10) << r.variable << " t of df " << df;
        expectRelative(r.sePercent, 100 * r.t * std::sqrt(variance) / mean, "se_percent");
        expectRelative(r.ci95Low, mean - r.t * std::sqrt(variance), "low");
        expectRelative(r.ci95High, mean + r.t * std::sqrt(variance), "high");
        ASSERT_TRUE(r.acres && r.total && r.seTotal && r.totalCi95Low && r.totalCi95High);
        expectRelative(*r.acres, sumAcres, "acres");
        expectRelative(*r.total, total, "total");
        expectRelative(*r.seTotal, std::sqrt(totalVariance), "se_total");
        expectRelative(*r.totalCi95Low, total - r.t * std::sqrt(totalVariance), "total low");
        expectRelative(*r.totalCi95High, total + r.t * std::sqrt(totalVariance), "total high");
        if (r.sePercent < bestSE) {
            bestSE = r.sePercent;
            selected = &r;
        }
    }
    EXPECT_EQ(areaRows, 2);  // LiBA-DS1 and LiVOL-DS1; DataSet 2 has no Phase 1 plots
    for (const EstimateRecord& r : rows)
        if (r.areaWeighted) {
            EXPECT_EQ(r.selected, &r == selected) << r.variable;
        }
    // The area rows follow every other row.
    EXPECT_TRUE(rows.back().areaWeighted && rows[rows.size() - 2].areaWeighted);
    EXPECT_NE(read(DataSetFile::Report).find("cu.ft per acre</strong>"), std::string::npos);
}

TEST_F(StratumAreas, AStratumWithoutAnAreaLeavesTheForestUncombined) {
    writeThreeStrata();
    writeAreas({"1,100", "2,50"});
    runExpectingSuccess();
    for (const EstimateRecord& r : estimates()) {
        EXPECT_FALSE(r.areaWeighted);
        EXPECT_EQ(r.total.has_value(), r.stratum.has_value() && *r.stratum >= 1) << r.variable;
    }
    bool noted = false;
    for (const std::string& line : host.logLines())
        noted = noted || line.find("no area for stratum 3") != std::string::npos;
    EXPECT_TRUE(noted);
}

TEST_F(StratumAreas, RefusedAreasChangeNoFile) {
    writeThreeStrata();
    runExpectingSuccess();
    const auto before = dataFiles();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"1,100", "4,50"}, "record 2, field 1 (stratum): \"4\" is not a stratum of the strata"},
        {{"1,100", "2,50", "1,20"}, "record 3, field 1 (stratum): \"1\" is given an area a second"},
        {{"1,100", "2,0"}, "record 2, field 2 (acres): \"0\" is not a positive number of acres"},
        {{"1,-5"}, "record 1, field 2 (acres): \"-5\" is not a positive number of acres"},
        {{"1,many"}, "record 1, field 2 (acres): \"many\""},
        {{"1,"}, "record 1, field 2 (acres): \"\" is not a positive number of acres"},
        {{"x,10"}, "record 1, field 1 (stratum): \"x\""},
    };
    for (const auto& [lines, message] : cases) {
        writeAreas(lines);
        host.messages.clear();
        EXPECT_FALSE(run()) << lines[0];
        ASSERT_EQ(host.messages.size(), 1u) << lines[0];
        EXPECT_NE(host.messages[0].text.find(session.inputs.areas.string()), std::string::npos);
        EXPECT_NE(host.messages[0].text.find(message), std::string::npos) << host.messages[0].text;
        EXPECT_EQ(dataFiles(), before) << lines[0];
    }
}

TEST_F(StratumAreas, TheRunRecordNamesTheAreasOnlyWhenGiven) {
    writeThreeStrata();
    const auto step9Reads = [&] {
        runExpectingSuccess();
        const StepInputs in = workflow::stepInputs(session, ProductCodePolicy::Drop);
        for (const files::StepRun& r : files::readRuns(files::path(in, files::DataSetFile::Run)))
            if (r.step == 9) return r.read;
        return std::vector<files::FileFingerprint>{};
    };
    const auto without = step9Reads();
    writeAreas({"1,100", "2,50", "3,25"});
    const auto with = step9Reads();
    // The areas file is read after the strata file and before the files of the data set.
    ASSERT_FALSE(without.empty());
    ASSERT_EQ(with.size(), without.size() + 1);
    EXPECT_EQ(with[0], without[0]);
    EXPECT_EQ(with[1].name, "areas.csv");
    EXPECT_EQ(with[1].size, 19u);  // "1,100", "2,50", "3,25" with CR LF
    for (std::size_t i = 1; i < without.size(); ++i) EXPECT_EQ(with[i + 1], without[i]);
}

}  // namespace
}  // namespace orr::test
