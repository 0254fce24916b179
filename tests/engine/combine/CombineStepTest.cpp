// Step 8 on small sets of step 5, 6 and 7 files, run as the window runs it; _Phase2.csv and
// _VolSum.txt are compared whole with files worked out by hand. Bad or missing inputs stop the
// step with one message and leave the files of the previous run as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "core/OutputSet.h"
#include "engine/combine/CombineStep.h"
#include "files/DataSetFiles.h"
#include "model/session/Session.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {
namespace {

using files::DataSetFile;
constexpr DataSetFile kLidarDS1 = DataSetFile::LidarPlotsDS1,
                      kLidarDS2 = DataSetFile::LidarPlotsDS2, kSummary = DataSetFile::Phase2Summary,
                      kPhase1DS1 = DataSetFile::Phase1DS1, kPhase1DS2 = DataSetFile::Phase1DS2,
                      kVolSum = DataSetFile::VolumeSummary, kPhase2 = DataSetFile::Phase2;

// _VolSum.txt from its sections, each a title, its class lines and its total line.
std::string volSum(const std::vector<std::vector<std::string>>& sections) {
    std::vector<std::string> lines;
    for (const std::vector<std::string>& s : sections) {
        if (!lines.empty()) lines.push_back(" ");
        lines.insert(lines.end(), {s[0], std::string(50, '-'),
                                   "Species Product   N       BA      Vol     plots"});
        lines.insert(lines.end(), s.begin() + 1, s.end());
    }
    return crlf(lines);
}

// The data set "ORV" in a fresh data directory.
class CombineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        session.appDir = dir.path();
        std::filesystem::create_directories(session.dataFilesDir());
        session.dataSetName = "ORV";
        session.params = ParamRecord::defaults();
    }
    void setLimits(int maxSpec, int maxProd, int maxPlots) {
        auto& p = session.params;
        std::tie(p.MaxSpec, p.MaxProd, p.MaxPlots) = std::tuple(maxSpec, maxProd, maxPlots);
    }
    std::filesystem::path file(DataSetFile f) const {
        return files::path(session.dataFilesDir(), session.dataSetName, f);
    }
    void write(DataSetFile f, std::string_view content) { writeFile(file(f), content); }
    std::string read(DataSetFile f) const { return readFile(file(f)); }
    bool run() { return runStep(8, &combinePhase2, session, host).completed(); }

    TempDir dir;
    Session session;
    FakeHost host;
};

// Both data sets, three species and two products. Plot 1 has a class with LN = 0 and LBA = 0
// but LVOL = 7; plot 3 has ground trees only in DataSet 1; plot 4's ground records cancel out
// (N and BA sums 0, volume 10); plot 5 has only a DataSet 2 record with LN = 0 and LBA = .5.
// Means per plot: the DataSet 1 section divides by its 2 plots with LiDAR values (1 and 2),
// not by the 4 ground plots; DataSet 2 by plots 1, 3 and 5. Data lines round halves away from
// zero (1.125 -> 1.13), totals to even (1.625 -> 1.62).
TEST_F(CombineTest, BothDataSetsGiveTheCombinedFileTheReportAndTheLog) {
    setLimits(3, 2, 6);
    write(kLidarDS1, crlf({"1,1,1,20,1.5,30,40,2.5,50", "1,2,2,20,2,25,0,0,7",
                           "2,1,1,40,3,60,20,1,10", "2,3,1,0,0,6,20,.5,4", "3,2,1,20,1.25,12,0,0,0",
                           "4,1,1,20,1,5,0,0,0", "4,1,2,-20,-1,5,0,0,0"}));
    write(kLidarDS2,
          crlf({"1,1,1,20,1.5,30,20,1.5,25", "3,2,1,20,1.25,12,60,3,33", "5,2,2,0,0,0,0,.5,2"}));
    write(kSummary, crlf({"1,1,15,1.125,22.5,4", "1,2,-5,-0.25,1.25,4", "2,1,5,0.25,3,4",
                          "2,2,5,0.5,6.375,4"}));
    write(kPhase1DS1, crlf({"1,1,40,1.5,60.5", "1,3,20,1,10", "2,1,20,0.75,15.5", "6,1,0,0,12"}));
    write(kPhase1DS2, crlf({"3,2,40,2,30", "5,2,-20,0,-5"}));
    host.logText = "left over from step 7\r\n";

    ASSERT_TRUE(run());

    EXPECT_EQ(read(kPhase2), crlf({"1,40,3.5,55,40,2.5,50,20,1.5,25", "2,40,3,60,40,1.5,14,0,0,0",
                                   "3,20,1.25,12,0,0,0,60,3,33", "5,0,0,0,0,0,0,0,0.5,2"}));
    EXPECT_EQ(
        read(kVolSum),
        volSum(
            {{"Phase 2, Ground", "1       1       15.00   1.13    22.50   4",
              "1       2       -5.00   -0.25   1.25    4",
              "2       1       5.00    0.25    3.00    4",
              "2       2       5.00    0.50    6.38    4", "                 20     1.62   33.12"},
             {"Phase 2, LiDAR-DS1", "1       1       30.00   1.75    30.00   2",
              "3       1       10.00   0.25    2.00    2", "                 40     2      32"},
             {"Phase 2, LiDAR-DS2", "1       1       6.67    0.50    8.33    3",
              "2       1       20.00   1.00    11.00   3", "                 26.67  1.5    19.33"},
             {"Phase 1, LiDAR-DS1", "1       All      30.00   1.13    38.00   2",
              "2       All      0.00    0.00    0.00    2",
              "3       All      10.00   0.50    5.00    2", "                 40     1.62   43"},
             {"Phase 1, LiDAR-DS2", "1       All      0.00    0.00    0.00    2",
              "2       All      10.00   1.00    12.50   2",
              "3       All      0.00    0.00    0.00    2",
              "                 10     1      12.5"}}));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.logText, crlf({"Combining all Phase 2 estimates...",
                                  "Combining all Phase 2 estimates completed!",
                                  "The following files were created in the directory - " +
                                      files::dirText(session.dataFilesDir()),
                                  "ORV_VolSum.txt", "ORV_Phase2.csv"}));
    EXPECT_EQ(host.statuses,
              (std::vector<std::string>{"Status: Combining all Phase 2 estimates..",
                                        "Status: Combining Phase 2 estimates completed!"}));
}

// DataSet 1 without any LiDAR value (the record with LVOL = 9 but LN = LBA = 0 adds nothing) and
// no DataSet 2 files: the LiDAR sections are left out and the LiDAR fields are 0.
TEST_F(CombineTest, WithoutLidarTheLidarSectionsAreLeftOutAndTheLidarFieldsAreZero) {
    setLimits(2, 2, 5);
    write(kSummary, crlf({"1,1,10,0.75,15,2", "2,2,20,1.25,22.5,2"}));
    write(kPhase1DS1, crlf({"1,1,20,1,15", "4,2,40,3,50"}));
    write(kLidarDS1, crlf({"1,1,1,20,1.5,30,0,0,0", "2,2,2,40,2.5,45,0,0,9"}));
    ASSERT_TRUE(run());
    EXPECT_EQ(read(kPhase2), crlf({"1,20,1.5,30,0,0,0,0,0,0", "2,40,2.5,45,0,0,0,0,0,0"}));
    EXPECT_EQ(read(kVolSum),
              volSum({{"Phase 2, Ground", "1       1       10.00   0.75    15.00   2",
                       "2       2       20.00   1.25    22.50   2",
                       "                 30     2      37.5"},
                      {"Phase 1, LiDAR-DS1", "1       All      10.00   0.50    7.50    2",
                       "2       All      20.00   1.50    25.00   2",
                       "                 30     2      32.5"}}));
    // With no plot left to combine, the combined file of an earlier run is removed and not listed.
    write(kLidarDS1, crlf({"1,1,1,0,0,30,0,0,5"}));
    ASSERT_TRUE(run());
    EXPECT_FALSE(std::filesystem::exists(file(kPhase2)));
    EXPECT_TRUE(std::filesystem::exists(file(kVolSum)));
    EXPECT_EQ(host.logLines().back(), "ORV_VolSum.txt");
}

// An input left missing (content nullptr), replaced by a directory ("/") or by `content`; the
// message holds the file's path (unless `named` is false) and every fragment.
struct BadInput {
    const char* name;
    DataSetFile file;
    const char* content;
    std::vector<std::string> fragments;
    bool named = true;
};
void PrintTo(const BadInput& bad, std::ostream* os) {
    *os << bad.name;
}

std::string missing(int step) {
    const std::string s = std::to_string(step);
    return " is missing. It is written by step " + s + "; please run step " + s + " first.";
}

// Limits of the set: MaxSpec 2, MaxProd 2, MaxPlots 5.
// clang-format off
const BadInput kBadInputs[] = {
    {"MissingPlotFile", kLidarDS1, nullptr, {missing(6)}},
    {"MissingPhase1", kPhase1DS1, nullptr, {missing(7)}},
    {"SummaryIsADirectory", kSummary, "/", {}},
    {"PlotAboveMaxPlots", kLidarDS2, "6,1,1,2,1,3,4,2,3", {"record 1, field 1", "\"6\""}},
    {"SpeciesAboveMaxSpec", kLidarDS1, "1,3,1,2,1,3,2,1,2", {"record 1, field 2", "\"3\""}},
    {"NotANumber", kPhase1DS1, "1,1,2,1,1\n4,2,forty,3,5", {"record 2, field 3", "\"forty\""}},
    // The last file read, when everything else is already combined in memory.
    {"Phase1DS2Species3", kPhase1DS2, "1,1,2,1,1\n5,3,4,3,5", {"record 2, field 2", "\"3\""}},
    // Sums beyond the range of a double have no text; they are refused, not written as "inf".
    {"ReportLineTooLarge", kLidarDS1, "1,1,1,0,0,0,1e308,1,1\n2,1,1,0,0,0,1e308,1,1",
     {"too large", "volume summary report"}, false},
    {"TotalsTooLarge", kLidarDS1, "1,1,1,1e308,1,3,0,0,0\n1,2,2,1e308,1,3,0,0,0",
     {"The totals of plot 1 are too large to be written to the combined Phase 2 file."}, false},
};
// clang-format on

class CombineBadInput : public CombineTest, public ::testing::WithParamInterface<BadInput> {
  protected:
    void SetUp() override {
        CombineTest::SetUp();
        setLimits(2, 2, 5);
        write(kLidarDS1, crlf({"1,1,1,20,1.5,30,20,1,25", "2,2,2,40,2.5,45,20,2,35"}));
        write(kLidarDS2, crlf({"1,1,1,20,1.5,30,40,2,30"}));
        write(kSummary, crlf({"1,1,10,0.75,15,2", "2,2,20,1.25,22.5,2"}));
        write(kPhase1DS1, crlf({"1,1,20,1,15", "4,2,40,3,50"}));
        write(kPhase1DS2, crlf({"1,1,20,1,15", "5,2,40,3,50"}));
        write(kVolSum, kOldReport);
        write(kPhase2, kOldPhase2);
    }
    static constexpr std::string_view kOldReport = "report of the run before\r\n";
    static constexpr std::string_view kOldPhase2 = "9,1,1,1,0,0,0,0,0,0\r\n";
};

TEST_F(CombineBadInput, TheUntouchedSetCompletes) {
    EXPECT_TRUE(run());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_NE(read(kVolSum), kOldReport);
}

TEST_P(CombineBadInput, IsNamedAndStopsTheStepLeavingTheOldFiles) {
    const BadInput& bad = GetParam();
    const std::filesystem::path path = file(bad.file);
    std::filesystem::remove(path);
    if (bad.content && std::string_view(bad.content) == "/") {
        std::filesystem::create_directory(path);
    } else if (bad.content) {
        write(bad.file, bad.content);
    }

    EXPECT_FALSE(run());

    EXPECT_EQ(read(kVolSum), kOldReport);
    EXPECT_EQ(read(kPhase2), kOldPhase2);
    for (const auto& entry : std::filesystem::directory_iterator(session.dataFilesDir()))
        EXPECT_FALSE(isTemporaryOutputName(entry.path().filename().string())) << entry.path();
    EXPECT_EQ(host.logText, "Combining all Phase 2 estimates...\r\n");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].icon, Icon::Critical);
    const std::string& text = host.messages[0].text;
    if (!bad.content) {
        EXPECT_EQ(text, "The file " + path.string() + bad.fragments[0]);
    }
    std::vector<std::string> fragments = bad.fragments;
    if (bad.named) fragments.push_back(path.string());
    for (const std::string& fragment : fragments) {
        EXPECT_NE(text.find(fragment), std::string::npos)
            << "'" << fragment << "' not in: " << text;
    }
}

INSTANTIATE_TEST_SUITE_P(, CombineBadInput, ::testing::ValuesIn(kBadInputs),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orr::test
