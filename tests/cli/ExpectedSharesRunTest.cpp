// The bundled sample with LidarClasses=expected through every step: no seed, the same files for
// any seed, steps 8 and 9 on Phase 1 files with decimal N, the run record and the report saying
// how the classes were given; a warning when steps 6 and 7 used different choices; and
// `orravant-cli spread` against separate runs of the seeds and of expected shares.
#include <cmath>
#include <cstdlib>
#include <map>

#include "core/CommaReader.h"
#include "files/EstimatesFile.h"
#include "files/HeaderedFile.h"
#include "model/session/Startup.h"
#include "tests/cli/CliSupport.h"
#include "tools/generator/Generator.h"

namespace orr::test {
namespace {

class ExpectedSharesRun : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* source = std::getenv("ORRAVANT_SOURCE_DIR");
        sample = generator::dataSetFiles(std::filesystem::path(source ? source : ".") /
                                         "examples/sample");
    }
    // orravant-cli run on the sample in application directory `app` with LidarClasses `choice`.
    Outcome run(const std::filesystem::path& app, const std::string& choice,
                std::vector<std::string> more = {}) {
        if (!std::filesystem::exists(app)) {
            std::filesystem::create_directories(app);
            saveParameters(app, generator::presetShape("sample")->params);
        }
        EXPECT_EQ(cliIn(app, {"params", "set", "LidarClasses=" + choice}).status, kExitOk);
        std::vector<std::string> words = {"run", "--dataset", "S", "--product-code", "drop"};
        words.insert(words.end(), more.begin(), more.end());
        return cliIn(app, withFiles(words));
    }
    std::vector<std::string> withFiles(std::vector<std::string> words) const {
        words.insert(words.end(),
                     {"--coeff", sample.coefficients.string(), "--strata", sample.strata.string(),
                      "--dbh", sample.dbh.string(), "--trees", sample.trees.string(), "--ds1",
                      sample.lidarDs1.string(), "--ds2", sample.lidarDs2.string()});
        return words;
    }
    static std::string data(const std::filesystem::path& app, const std::string& suffix) {
        return readFile(app / "DATA FILES" / ("S" + suffix));
    }

    TempDir dir;
    generator::DataSetFiles sample;
};

TEST_F(ExpectedSharesRun, NoSeedTheSameFilesAndStepsEightAndNineReadDecimalN) {
    const Outcome first = run(dir / "a", "expected");
    ASSERT_EQ(first.status, kExitOk) << first.err;
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(first.out.find("Random seed"), std::string::npos) << first.out;
    EXPECT_NE(first.out.find("LiDAR trees to classes: expected shares"), std::string::npos);
    EXPECT_NE(first.out.find("LiDAR trees to species: expected shares"), std::string::npos);
    const Outcome second = run(dir / "b", "expected", {"--seed", "5"});
    ASSERT_EQ(second.status, kExitOk) << second.err;
    for (const char* suffix :
         {"_PH2plotDS1.csv", "_PH2plotDS2.csv", "_Phase1DS1.csv", "_Phase1DS2.csv", "_Phase2.csv",
          "_VolSum.txt", "_Regress.txt", "_StratVol.txt", "_Estimates.csv"})
        EXPECT_EQ(data(dir / "a", suffix), data(dir / "b", suffix)) << suffix;

    // N of the Phase 1 files is trees per acre to 2 decimals; step 8 sums it per species.
    const std::string phase1 = data(dir / "a", "_Phase1DS1.csv");
    CommaReader in(phase1, "S_Phase1DS1.csv");
    double nSum = 0;
    bool fraction = false;
    while (in.next(5)) {
        const double n = in.number(2, "N");
        nSum += n;
        fraction = fraction || n != std::floor(n);
        const std::string_view text = in.text(2);
        EXPECT_TRUE(text.find('.') == std::string_view::npos || text.find('.') + 3 >= text.size())
            << text;
    }
    EXPECT_TRUE(fraction);
    EXPECT_GT(nSum, 0);
    EXPECT_NE(data(dir / "a", "_VolSum.txt").find("Phase 1, LiDAR-DS1"), std::string::npos);

    // The run record: LidarClasses with the parameters, no seed; the report says it.
    const std::string record = data(dir / "a", "_Run.csv");
    EXPECT_EQ(record.find("\"seed\""), std::string::npos) << record;
    for (const char* step : {"6", "7", "8", "9"})
        EXPECT_NE(record.find(std::string(step) + ",\"parameter\",\"LidarClasses\",\"1\""),
                  std::string::npos)
            << step << "\n"
            << record;
    EXPECT_NE(data(dir / "a", "_Report.html")
                  .find("every LiDAR tree entered each class with its share; no random draws, "
                        "the result does not depend on a seed"),
              std::string::npos);

    // With random draws no LidarClasses is recorded, and the seed is.
    const Outcome draws = run(dir / "a", "draws", {"--seed", "5"});
    ASSERT_EQ(draws.status, kExitOk) << draws.err;
    EXPECT_EQ(data(dir / "a", "_Run.csv").find("LidarClasses"), std::string::npos);
    EXPECT_NE(data(dir / "a", "_Run.csv").find("6,\"seed\",\"\",\"5\""), std::string::npos);
}

TEST_F(ExpectedSharesRun, StepNineWarnsWhenStepsSixAndSevenChoseDifferently) {
    ASSERT_EQ(run(dir / "a", "expected", {"--steps", "5,6", "--seed", "1"}).status, kExitOk);
    const Outcome rest = run(dir / "a", "draws", {"--steps", "7,8,9", "--seed", "1"});
    ASSERT_EQ(rest.status, kExitOk) << rest.err;
    EXPECT_EQ(rest.err, "warning: LiDAR classes: 1\n");
    EXPECT_NE(rest.out.find("Warning: Steps 6 and 7 gave the LiDAR trees their classes in "
                            "different ways: step 6 by expected shares, step 7 by random draws. "
                            "Run both with the same LidarClasses."),
              std::string::npos)
        << rest.out;
    // The same choice again: no warning.
    ASSERT_EQ(run(dir / "a", "draws", {"--steps", "6", "--seed", "1"}).status, kExitOk);
    EXPECT_EQ(run(dir / "a", "draws", {"--steps", "9"}).err, "");
}

// The regression lines of a run's _Estimates.csv by stratum ("combined": -1) and variable.
using Lines = std::map<std::pair<int, std::string>, files::EstimateRecord>;
Lines estimateLines(const std::filesystem::path& app) {
    Lines lines;
    for (const auto& r :
         files::readWithHeader<files::EstimatesFile>(app / "DATA FILES" / "S_Estimates.csv", {}))
        lines[{r.stratum.value_or(-1), r.variable}] = r;
    return lines;
}

std::optional<double> field(const CommaReader& in, int i) {
    if (in.text(i).empty()) return std::nullopt;
    return in.number(i, "spread");
}

// spread --seeds 3 against runs of seeds 1, 2, 3 and of expected shares made one by one: mean,
// standard deviation, extremes and selection share of every line, and the expected values; the
// data set's own files are left as they were.
TEST_F(ExpectedSharesRun, SpreadSumsUpTheSeedsAndLeavesTheDataSetAlone) {
    const auto app = dir / "app";
    ASSERT_EQ(run(app, "expected").status, kExitOk);
    std::map<std::string, std::string> before;
    for (const auto& e : std::filesystem::directory_iterator(app / "DATA FILES"))
        before[e.path().filename().string()] = readFile(e.path());

    const Outcome spread = cliIn(app, withFiles({"spread", "--dataset", "S", "--seeds", "3"}));
    ASSERT_EQ(spread.status, kExitOk) << spread.err;
    EXPECT_NE(spread.out.find("seed 3 of 3 done"), std::string::npos) << spread.out;
    std::map<std::string, std::string> after;
    for (const auto& e : std::filesystem::directory_iterator(app / "DATA FILES"))
        after[e.path().filename().string()] = readFile(e.path());
    const std::string spreadText = after["S_Spread.csv"];
    after.erase("S_Spread.csv");
    EXPECT_TRUE(after == before);

    std::vector<Lines> seeds;
    for (const char* seed : {"1", "2", "3"}) {
        const auto seedApp = dir / ("seed" + std::string(seed));
        ASSERT_EQ(run(seedApp, "draws", {"--seed", seed}).status, kExitOk);
        seeds.push_back(estimateLines(seedApp));
    }
    const Lines expected = estimateLines(app);

    CommaReader in(spreadText, "S_Spread.csv");
    ASSERT_TRUE(in.next(16));
    EXPECT_EQ(in.text(0), "stratum");
    EXPECT_EQ(in.text(15), "expected_selected");
    std::size_t rows = 0;
    while (in.next(16)) {
        ++rows;
        const int stratum = in.text(0) == "combined" ? -1 : static_cast<int>(in.number(0, "s"));
        const std::pair<int, std::string> key{stratum, std::string(in.text(1))};
        std::vector<double> ybar, se;
        int selected = 0;
        for (const Lines& lines : seeds) {
            if (!lines.count(key)) continue;
            ybar.push_back(lines.at(key).ybarLR);
            se.push_back(lines.at(key).seYbarLR);
            selected += lines.at(key).selected;
        }
        EXPECT_EQ(in.number(2, "seeds_written"), double(ybar.size()));
        EXPECT_EQ(in.number(3, "seeds"), 3);
        for (const auto& [values, at] : {std::pair(ybar, 4), std::pair(se, 8)}) {
            if (values.empty()) {
                EXPECT_FALSE(field(in, at));
                continue;
            }
            double mean = 0;
            for (double x : values) mean += x / double(values.size());
            EXPECT_NEAR(*field(in, at), mean, 1e-9 * std::fabs(mean));
            if (values.size() > 1) {
                double squares = 0;
                for (double x : values) squares += (x - mean) * (x - mean);
                const double sd = std::sqrt(squares / double(values.size() - 1));
                EXPECT_NEAR(*field(in, at + 1), sd, 1e-9 * std::fabs(mean) + 1e-12);
            }
            EXPECT_EQ(*field(in, at + 2), *std::min_element(values.begin(), values.end()));
            EXPECT_EQ(*field(in, at + 3), *std::max_element(values.begin(), values.end()));
        }
        EXPECT_DOUBLE_EQ(in.number(12, "selected_share"), selected / 3.0);
        if (expected.count(key)) {
            EXPECT_EQ(*field(in, 13), expected.at(key).ybarLR);
            EXPECT_EQ(*field(in, 14), expected.at(key).seYbarLR);
            EXPECT_EQ(*field(in, 15), expected.at(key).selected ? 1 : 0);
        } else {
            EXPECT_FALSE(field(in, 13));
        }
    }
    EXPECT_GE(rows, expected.size());
}

}  // namespace
}  // namespace orr::test
