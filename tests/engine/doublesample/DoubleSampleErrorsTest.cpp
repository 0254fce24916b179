// Step 9 stops before replacing anything when an input file is missing or holds a record it
// cannot use, with one message naming the file and what is wrong.
#include <filesystem>

#include "DoubleSampleFixture.h"
#include "engine/doublesample/DoubleSample.h"

namespace orr::test {
namespace {

// The input `file` ("strata", "trees" or a data-set suffix) is removed (no `lines`) or replaced.
struct BadInput {
    const char* name;
    std::string file;
    std::vector<std::string> lines;
    std::vector<std::string> fragments;
};
void PrintTo(const BadInput& bad, std::ostream* os) {
    *os << bad.name;
}

const BadInput kBadInputs[] = {
    {"MissingPhase2", "_Phase2.csv", {}, {"step 8"}},
    {"MissingPhase1", "_Phase1DS1.csv", {}, {"step 7"}},
    {"MissingPlotFile", "_PH2Plot.csv", {}, {"step 5"}},
    {"MissingSummary", "_PH2Sum.csv", {}, {"step 5"}},
    {"MissingTreeFile", "trees", {}, {"step 5"}},
    {"MissingStrataFile", "strata", {}, {"step 4"}},
    {"PlotAboveMaxPlots",
     "_Phase2.csv",
     {"1,40,5,50,20,5,45,0,0,0", "31,40,7,70,20,6,60,0,0,0"},
     {"record 2", "field 1", "\"31\""}},
    {"NegativePhase1Plot",
     "_Phase1DS1.csv",
     {"1,1,20,5,50", "-3,1,20,6,60"},
     {"record 2", "\"-3\""}},
    {"NotANumber",
     "_PH2Sum.csv",
     {"1,1,29.33,5.97,59.67,15", "1,2,abc,3.67,36.67,15"},
     {"record 2", "field 3", "\"abc\""}},
    {"PlotFileSpecies3",
     "_PH2Plot.csv",
     {"1,3,1,40,5,50,100,100,100"},
     {"record 1", "field 2", "\"3\""}},
    {"SummaryProduct7",
     "_PH2Sum.csv",
     {"1,7,29.33,5.97,59.67,15"},
     {"record 1", "field 2", "\"7\""}},
    {"NegativeTreeSpecies",
     "trees",
     {"1,1,1,10,50,30,0,0", "2,-1,1,10,50,30,0,0"},
     {"record 2", "field 2", "\"-1\""}},
    {"NegativeStratum", "strata", {"1,1,10,30", "-2,11,20,30"}, {"record 2", "field 1", "\"-2\""}},
    {"RecordCutShort", "_Phase2.csv", {"1,40,5,50,20,5,45,0,0,0", "2,40,7,70"}, {"record"}},
};

class DoubleSampleBadInput : public DoubleSampleTest,
                             public ::testing::WithParamInterface<BadInput> {};

TEST_P(DoubleSampleBadInput, StopsWithOneMessageAndKeepsTheEarlierReports) {
    writeThreeStrata();
    writeDataSetFile("_Regress.txt", {"earlier regression report"});
    writeDataSetFile("_StratVol.txt", {"earlier stratum volume report"});
    const BadInput& bad = GetParam();
    const std::filesystem::path path = bad.file == "strata"  ? session.StrataFileName
                                       : bad.file == "trees" ? session.TreeInputFileName
                                                             : session.dataSetFile(bad.file);
    std::filesystem::remove(path);
    if (!bad.lines.empty()) writeFile(path, crlf(bad.lines));

    EXPECT_FALSE(runDoubleSample(session, host));

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].icon, Icon::Critical);
    std::vector<std::string> fragments = bad.fragments;
    fragments.push_back(path.string());
    for (const std::string& part : fragments)
        EXPECT_NE(host.messages[0].text.find(part), std::string::npos)
            << "\"" << part << "\" not in: " << host.messages[0].text;
    EXPECT_EQ(dataSetFile("_Regress.txt"), lines({"earlier regression report"}));
    EXPECT_EQ(dataSetFile("_StratVol.txt"), lines({"earlier stratum volume report"}));
    EXPECT_FALSE(std::filesystem::exists(session.dataSetFile("_Phase1DS2.csv")));
    EXPECT_EQ(host.log, "");
}

INSTANTIATE_TEST_SUITE_P(, DoubleSampleBadInput, ::testing::ValuesIn(kBadInputs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DoubleSampleTest, NoTreeFileChosenStopsTheStep) {
    writeThreeStrata();
    session.TreeInputFileName.clear();
    EXPECT_FALSE(runDoubleSample(session, host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("tree input file"), std::string::npos);
    EXPECT_NE(host.messages[0].text.find("step 5"), std::string::npos);
}

}  // namespace
}  // namespace orr::test
