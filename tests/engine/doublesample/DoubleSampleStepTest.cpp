// Step 9 end to end on small data sets written in the test, both reports compared whole against
// texts worked out by hand; and stopped before replacing anything when an input file is missing
// or holds a record it cannot use, with one message naming the file and what is wrong.
#include <filesystem>
#include <variant>

#include "core/OutputSet.h"
#include "tests/engine/doublesample/DoubleSampleFixture.h"

namespace orr::test {
namespace {

// One stratum covering every plot. DataSet 1 on plots 1-4: y = 10 x, LiDAR volume constant (no
// regression); DataSet 2 on plots 5-8: y = 100 + 5 x. YbarLR 300 and 150, both SE 13.0018 (the
// tie goes to regression 1); exact fits: N1req = N_rs, N2req = 0. Combined: weight 1,
// t(8 - 2 df), SE 7.45 for both. Index 0 and stratum 1 hold the same plots.
TEST_F(DoubleSampleTest, SingleStratumReports) {
    writeSingleStratum();
    runExpectingSuccess();
    std::vector<std::string> expected;
    for (const std::string st : {" 0    ", " 1    "}) {
        expected.insert(
            expected.end(),
            {kRegressHeader,
             st + "GrnVol  LiBA-DS1(sq.ft)   10.0000 100     300     9.13      1.0000  13     4   "
                  "    4     8",
             st + "GrnVol  LiBA-DS2(sq.ft)   5.0000  100     150     4.56      1.0000  13     4   "
                  "    4     8",
             "", kVariableHeader,
             st + "LiBA-DS1(sq.ft) " + k17 + " 25.8    13      19.86   " + k16 + " 72      72    0",
             st + "LiVOL-DS1(cu.ft)" + k17 + " 125     50      19.86   " + k16 + " 0       0     0",
             st + "LiBA-DS2(sq.ft) " + k17 + " 18.5    23      6       " + k16 + " 7       7     0",
             st + "LiVOL-DS2(cu.ft)" + k17 + " 60      50      6       " + k16 + " 0       0     0",
             kGrnDs1 + "130", kGrnDs2 + "215", kGround + "172.5", " ", " "});
    }
    expected.insert(expected.end(),
                    {kCombinedHeader,
                     "Co    GrnVol  LiBA-DS1(sq.ft)  " + k16 + " 300     9.13    " + k9 + " 7.45",
                     "Co    GrnVol  LiBA-DS2(sq.ft)  " + k16 + " 150     4.56    " + k9 + " 7.45"});
    EXPECT_EQ(read(DataSetFile::Regression), crlf(expected));

    // Index 0 takes the summary means (volume 172.51 -> 173), stratum 1 its sums over its 8
    // Phase 2 plots (172.5 -> 172, half to even); shares of BA and volume times YbarLR 300.
    expected = {kStratVolHeader, ""};
    for (const auto& [prefix, total] : std::vector<std::pair<std::string, std::string>>{
             {"non-stratified  300        9.13     13      ", "173"},
             {"1               300        9.13     13      ", "172"},
             {"combined        300        9.13     7.45    ", "173"}}) {
        expected.insert(expected.end(),
                        {prefix + " 1    1   145.8   155.4    20    8.8     65.0    89.4",
                         k44 + " 1    2   75.0    71.7     8     4.5     80.0    41.3",
                         k45 + "Subtotal 220.8   227.2    28    13.3    69.1    131",
                         k44 + " 2    2   79.2    72.8     12    4.8     52.5    41.9",
                         k45 + "Subtotal 79.2    72.8     12    4.8     52.5    42",
                         k44 + "--TOTAL-- 300.0   300.0    40    18.0    63.9    " + total, ""});
    }
    EXPECT_EQ(read(DataSetFile::StratumVolume), crlf(expected));

    EXPECT_EQ(host.statuses,
              (std::vector<std::string>{"Status: Computing double sample estimates..",
                                        "Status: Double sample estimates computed!"}));
}

// Three strata (see writeThreeStrata): a plot in two strata rows (the later wins), plots in no
// stratum (index 0 only), a ground-only plot, stratum 3 with negative slopes only, no
// _Phase1DS2.csv but DataSet 2 values in _Phase2.csv ("Grn Volume-DS2" still written).
// Worked by hand from the sums of x, y, xy per stratum. Combined: the weights are the strata's
// shares of the 30 plots of the strata (14, 10 and 6; the 5 plots past the last row do not
// dilute them), t(30 - 6); stratum 3 enters through its ground mean 50 with standard error
// 10 / sqrt(3): LiBA 14/30 * 72.761 + 10/30 * 127.674 + 6/30 * 50 = 86.51, standard error
// sqrt((14/30 * 3.43)^2 + (10/30 * 5.45)^2 + (6/30 * 5.774)^2) = 2.68.
TEST_F(DoubleSampleTest, ThreeStrataReports) {
    writeThreeStrata();
    runExpectingSuccess();
    std::vector<std::string> expected = {
        // Index 0: 14 plots with DataSet 1 (of 15 with ground trees), 21 Phase 1 plots.
        kRegressHeader,
        " 0    GrnVol  LiBA-DS1(sq.ft)   15.4027 90.8    99.3    7.42      0.9529  16.28  21   "
        "   14    15",
        " 0    GrnVol  LiVOL-DS1(cu.ft)  1.0379  96.6    97.3    7.15      0.9829  16.01  21   "
        "   14    15",
        "", kVariableHeader,
        " 0    LiBA-DS1(sq.ft) " + k17 + " 9       8.9     51.4    " + k16 + " 125     229   23",
        " 0    LiVOL-DS1(cu.ft)" + k17 + " 94.2    93.2    51.4    " + k16 + " 125     193   11",
        kGrnDs1 + "98.6", kGrnDs2 + "70", kGround + "96.3", " ", " ",

        kRegressHeader,
        " 1    GrnVol  LiBA-DS1(sq.ft)   13.4615 94.2    72.8    3.43      0.9707  14.98  9    "
        "   5     6",
        " 1    GrnVol  LiVOL-DS1(cu.ft)  0.8661  95.3    69.8    3.37      0.9761  15.32  9    "
        "   5     6",
        "", kVariableHeader,
        " 1    LiBA-DS1(sq.ft) " + k17 + " 6.7     6.4     22.59   " + k16 + " 52      87    7",
        " 1    LiVOL-DS1(cu.ft)" + k17 + " 64.8    64      22.59   " + k16 + " 52      84    6",
        kGrnDs1 + "70", kGrnDs2 + "70", kGround + "69.2", " ", " ", kRegressHeader,
        " 2    GrnVol  LiBA-DS1(sq.ft)   16.0000 98.5    127.7   5.45      0.9923  18.25  6    "
        "   4     4",
        " 2    GrnVol  LiVOL-DS1(cu.ft)  1.2870  91.6    122.3   5.79      0.9569  20.24  6    "
        "   4     4",
        "", kVariableHeader,
        " 2    LiBA-DS1(sq.ft) " + k17 + " 10.7    10.5    16.65   " + k16 + " 51      70    3",
        " 2    LiVOL-DS1(cu.ft)" + k17 + " 116.7   118.8   16.65   " + k16 + " 51      91    9",
        kGrnDs1 + "125", kGround + "125", " ", " ",
        // Stratum 3: slopes -10 and -1, no regression line; sample sizes all the same.
        kRegressHeader, "", kVariableHeader,
        " 3    LiBA-DS1(sq.ft) " + k17 + " 7       7       20      " + k16 + " 512     512   0",
        " 3    LiVOL-DS1(cu.ft)" + k17 + " 51.7    50      20      " + k16 + " 512     512   0",
        kGrnDs1 + "50", kGround + "50", " ", " ", kCombinedHeader,
        "Co    GrnVol  LiBA-DS1(sq.ft)  " + k16 + " 86.5    2.68    " + k9 + " 6.4",
        "Co    GrnVol  LiVOL-DS1(cu.ft) " + k16 + " 83.4    2.74    " + k9 + " 6.79",
        "      LiBA-DS1(sq.ft): ground mean used in stratum 3",
        "      LiVOL-DS1(cu.ft): ground mean used in stratum 3"};
    EXPECT_EQ(read(DataSetFile::Regression), crlf(expected));

    // Class means: index 0 from the summary, strata from their own sums over N2G plots; heights
    // of plots 26 and 27 only in index 0. Stratum 3 has no written regression: the prefix alone.
    expected = {
        kStratVolHeader,
        "",
        "non-stratified  97.35      7.15     16.01    1    1   60.3    60.3     29    6.0     "
        "55.0    59.7",
        k44 + " 1    2   37.1    37.1     11    3.7     65.0    36.7",
        k45 + "Subtotal 97.3    97.3     40    9.6     57.7    96",
        k44 + "--TOTAL-- 97.3    97.3     40    9.6     57.7    96",
        "",
        "1               72.76      3.43     14.98    1    1   50.0    50.0     30    4.8     "
        "50.0    47.5",
        k44 + " 1    2   22.8    22.8     10    2.2     55.0    21.7",
        k45 + "Subtotal 72.8    72.8     40    6.9     51.3    69",
        k44 + "--TOTAL-- 72.8    72.8     40    6.9     51.3    69",
        "",
        "2               127.67     5.45     18.25    1    1   71.5    71.5     25    7.0     "
        "60.0    70.0",
        k44 + " 1    2   56.2    56.2     15    5.5     65.0    55.0",
        k45 + "Subtotal 127.7   127.7    40    12.5    61.9    125",
        k44 + "--TOTAL-- 127.7   127.7    40    12.5    61.9    125",
        "",
        "3               0          0        0       ",
        "combined        86.51      2.68     6.4      1    1   53.6    53.6     29    6.0     "
        "55.0    59.7",
        k44 + " 1    2   32.9    32.9     11    3.7     65.0    36.7",
        k45 + "Subtotal 86.5    86.5     40    9.6     57.7    96",
        k44 + "--TOTAL-- 86.5    86.5     40    9.6     57.7    96",
        ""};
    EXPECT_EQ(read(DataSetFile::StratumVolume), crlf(expected));
}

using ChosenFile = std::filesystem::path InputPaths::*;
const ChosenFile kStrata = &InputPaths::strata, kTrees = &InputPaths::trees;
const char* const kUnset = "<unset>";

// The input `file` (a data-set file or a file the user chose) is removed (no `content`), not
// chosen (kUnset) or replaced; the message holds the file's path and every fragment.
struct BadInput {
    const char* name;
    std::variant<DataSetFile, ChosenFile> file;
    const char* content;
    std::vector<std::string> fragments;
};
void PrintTo(const BadInput& bad, std::ostream* os) {
    *os << bad.name;
}

// clang-format off
const BadInput kBadInputs[] = {
    {"MissingPhase2", DataSetFile::Phase2, nullptr,
     {"is missing. It is written by step 8; please run step 8 first."}},
    {"MissingPlotFile", DataSetFile::PlotClasses, nullptr,
     {"is missing. It is written by step 5; please run step 5 first."}},
    {"MissingTreeFile", kTrees, nullptr, {"cannot be opened"}},
    {"NoStrataFile", kStrata, kUnset, {"Please select a strata file in step 4"}},
    {"NoTreeFile", kTrees, kUnset, {"Please Enter Input File"}},
    {"PlotAboveMaxPlots", DataSetFile::Phase2,
     "1,40,5,50,20,5,45,0,0,0\r\n31,40,7,70,20,6,60,0,0,0\r\n", {"record 2", "field 1", "\"31\""}},
    {"NegativePhase1Plot", DataSetFile::Phase1DS1, "1,1,20,5,50\r\n-3,1,20,6,60\r\n",
     {"record 2", "\"-3\""}},
    {"NotANumber", DataSetFile::Phase2Summary,
     "1,1,29.33,5.97,59.67,15\r\n1,2,abc,3.67,36.67,15\r\n", {"record 2", "field 3", "\"abc\""}},
    // The tree file has passed the checks of step 5: a species above MaxSpec is refused.
    {"TreeSpeciesAboveMaxSpec", kTrees, "4,3,1,9,99,30,0,0\r\n", {"record 1", "field 2", "\"3\""}},
    {"RecordCutShort", DataSetFile::Phase2, "1,40,5,50,20,5,45,0,0,0\r\n2,40,7,70\r\n", {"record"}},
};
// clang-format on

class DoubleSampleBadInput : public DoubleSampleTest,
                             public ::testing::WithParamInterface<BadInput> {};

TEST_P(DoubleSampleBadInput, StopsWithOneMessageAndKeepsTheEarlierReports) {
    writeThreeStrata();
    write(DataSetFile::Regression, {"earlier regression report"});
    write(DataSetFile::StratumVolume, {"earlier stratum volume report"});
    const BadInput& bad = GetParam();
    const std::filesystem::path file = std::holds_alternative<DataSetFile>(bad.file)
                                           ? path(std::get<DataSetFile>(bad.file))
                                           : session.inputs.*std::get<ChosenFile>(bad.file);
    std::filesystem::remove(file);
    if (bad.content == kUnset) {
        (session.inputs.*std::get<ChosenFile>(bad.file)).clear();
    } else if (bad.content) {
        writeFile(file, bad.content);
    }

    EXPECT_FALSE(run());

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].icon, Icon::Critical);
    std::vector<std::string> fragments = bad.fragments;
    if (bad.content != kUnset) fragments.push_back(file.string());
    for (const std::string& part : fragments) {
        EXPECT_NE(host.messages[0].text.find(part), std::string::npos)
            << "\"" << part << "\" not in: " << host.messages[0].text;
    }
    EXPECT_EQ(read(DataSetFile::Regression), crlf({"earlier regression report"}));
    EXPECT_EQ(read(DataSetFile::StratumVolume), crlf({"earlier stratum volume report"}));
    EXPECT_FALSE(std::filesystem::exists(path(DataSetFile::Phase1DS2)));
    for (const auto& entry : std::filesystem::directory_iterator(session.dataFilesDir()))
        EXPECT_FALSE(isTemporaryOutputName(entry.path().filename().string())) << entry.path();
    EXPECT_EQ(host.logText, "");
}

INSTANTIATE_TEST_SUITE_P(, DoubleSampleBadInput, ::testing::ValuesIn(kBadInputs),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orr::test
