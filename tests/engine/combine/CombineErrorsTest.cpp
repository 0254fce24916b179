// Step 8 stops on a missing input or a record it cannot use: one critical message naming the
// file (and for a record: the record, the field and the text), the step is not completed, and the
// files of the previous run stay byte for byte as they were.
#include <gmock/gmock.h>

#include "tests/engine/combine/CombineFixture.h"

namespace orr::test {
namespace {

using ::testing::HasSubstr;

// An input left missing (content nullptr), replaced by a directory ("/") or by `content`; the
// message holds the file's path (but for sums without text) and every fragment.
struct BadInput {
    const char* name;
    std::string_view suffix;
    const char* content;
    std::vector<std::string> fragments;
};
void PrintTo(const BadInput& bad, std::ostream* os) {
    *os << bad.name;
}

std::string missing(int step) {
    const std::string s = std::to_string(step);
    return " is missing. It is written by step " + s + "; please run step " + s + " first.";
}

// Limits of the set: MaxSpec 2, MaxProd 2, MaxPlots 5.
const BadInput kBadInputs[] = {
    {"MissingPlotFile", "_PH2plotDS1.csv", nullptr, {missing(6)}},
    {"MissingSummary", "_PH2Sum.csv", nullptr, {missing(5)}},
    {"MissingPhase1", "_Phase1DS1.csv", nullptr, {missing(7)}},
    {"SummaryIsADirectory", "_PH2Sum.csv", "/", {}},
    {"PlotZero", "_PH2plotDS1.csv", "0,2,2,4,2,4,2,2,3", {"record 1, field 1", "\"0\""}},
    {"PlotAboveMaxPlots", "_PH2plotDS2.csv", "6,1,1,2,1,3,4,2,3", {"record 1, field 1", "\"6\""}},
    {"SpeciesAboveMaxSpec", "_PH2plotDS1.csv", "1,3,1,2,1,3,2,1,2", {"record 1, field 2", "\"3\""}},
    {"ProductZero", "_PH2plotDS1.csv", "1,1,0,2,1,3,2,1,2", {"record 1, field 3", "\"0\""}},
    {"SummaryProduct3", "_PH2Sum.csv", "1,1,1,1,1,2\n2,3,2,1,2,2", {"record 2, field 2", "\"3\""}},
    {"Phase1PlotAboveMaxPlots", "_Phase1DS1.csv", "6,1,20,1,15", {"record 1, field 1", "\"6\""}},
    {"NotANumber",
     "_Phase1DS1.csv",
     "1,1,2,1,1\n4,2,forty,3,5",
     {"record 2, field 3", "\"forty\""}},
    // The last file read, when everything else is already combined in memory.
    {"Phase1DS2Species3", "_Phase1DS2.csv", "1,1,2,1,1\n5,3,4,3,5", {"record 2, field 2", "\"3\""}},
    // A Phase 1 DataSet 2 file of one byte is read like any other: "7" is a record cut short.
    {"OneBytePhase1DataSet2", "_Phase1DS2.csv", "7", {}},
    // Sums beyond the range of a double have no text; they are refused, not written as "inf".
    {"ReportLineTooLarge",
     "_PH2plotDS1.csv",
     "1,1,1,0,0,0,1e308,1,1\n2,1,1,0,0,0,1e308,1,1",
     {"too large", "volume summary report"}},
    {"TotalsTooLarge",
     "_PH2plotDS1.csv",
     "1,1,1,1e308,1,3,0,0,0\n1,2,2,1e308,1,3,0,0,0",
     {"too large"}},
};

class CombineBadInput : public CombineTest, public ::testing::WithParamInterface<BadInput> {
  protected:
    void SetUp() override {
        CombineTest::SetUp();
        setLimits(2, 2, 5);
        write("_PH2plotDS1.csv", crlf({"1,1,1,20,1.5,30,20,1,25", "2,2,2,40,2.5,45,20,2,35"}));
        write("_PH2plotDS2.csv", crlf({"1,1,1,20,1.5,30,40,2,30"}));
        write("_PH2Sum.csv", crlf({"1,1,10,0.75,15,2", "2,2,20,1.25,22.5,2"}));
        write("_Phase1DS1.csv", crlf({"1,1,20,1,15", "4,2,40,3,50"}));
        write("_Phase1DS2.csv", crlf({"1,1,20,1,15", "5,2,40,3,50"}));
        write("_VolSum.txt", kOldReport);
        write("_Phase2.csv", kOldPhase2);
    }
    static constexpr std::string_view kOldReport = "report of the run before\r\n";
    static constexpr std::string_view kOldPhase2 = "9,1,1,1,0,0,0,0,0,0\r\n";
};

TEST_F(CombineBadInput, TheUntouchedSetCompletes) {
    EXPECT_TRUE(runCombine(session, host));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_NE(read("_VolSum.txt"), kOldReport);
}

TEST_P(CombineBadInput, IsNamedAndStopsTheStepLeavingTheOldFiles) {
    const BadInput& bad = GetParam();
    const std::filesystem::path path = file(bad.suffix);
    std::filesystem::remove(path);
    if (bad.content && std::string_view(bad.content) == "/")
        std::filesystem::create_directory(path);
    else if (bad.content)
        write(bad.suffix, bad.content);

    EXPECT_FALSE(runCombine(session, host));

    EXPECT_EQ(read("_VolSum.txt"), kOldReport);
    EXPECT_EQ(read("_Phase2.csv"), kOldPhase2);
    EXPECT_FALSE(exists("_VolSum.txt.tmp"));
    EXPECT_FALSE(exists("_Phase2.csv.tmp"));
    EXPECT_EQ(host.log, "Combining all Phase 2 estimates...\r\n");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].icon, Icon::Critical);
    const std::string& text = host.messages[0].text;
    if (!bad.content) {
        EXPECT_EQ(text, "The file " + path.string() + bad.fragments[0]);
    }
    if (bad.fragments.empty() || bad.fragments[0] != "too large") {
        EXPECT_THAT(text, HasSubstr(path.string()));
    }
    for (const std::string& fragment : bad.fragments) EXPECT_THAT(text, HasSubstr(fragment));
}

INSTANTIATE_TEST_SUITE_P(, CombineBadInput, ::testing::ValuesIn(kBadInputs),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orr::test
