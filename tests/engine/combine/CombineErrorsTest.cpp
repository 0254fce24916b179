// Step 8 stops on a missing input or a record it cannot use: one critical message naming the
// file (and for a record: the record, the field and the text), the step is not completed, and the
// files of the previous run stay byte for byte as they were.
#include <gmock/gmock.h>

#include "tests/engine/combine/CombineFixture.h"

namespace orr::test {
namespace {

using ::testing::HasSubstr;

class CombineErrors : public CombineTest {
  protected:
    void SetUp() override {
        CombineTest::SetUp();
        setLimits(2, 2, 5);
        write("_PH2plotDS1.csv", crlf({
                                     " 1 , 1 , 1 , 20 , 1.5 , 30 , 20 , 1 , 25 ",
                                     " 2 , 2 , 2 , 40 , 2.5 , 45 , 20 , 2 , 35 ",
                                 }));
        write("_PH2plotDS2.csv", crlf({" 1 , 1 , 1 , 20 , 1.5 , 30 , 40 , 2 , 30 "}));
        write("_PH2Sum.csv", crlf({"1,1,10,0.75,15,2", "2,2,20,1.25,22.5,2"}));
        write("_Phase1DS1.csv", crlf({"1,1,20,1,15", "4,2,40,3,50"}));
        write("_Phase1DS2.csv", crlf({"1,1,20,1,15", "5,2,40,3,50"}));
        write("_VolSum.txt", kOldReport);
        write("_Phase2.csv", kOldPhase2);
    }

    // The step failed with exactly one critical message and left the earlier outputs alone.
    std::string failedMessage() {
        EXPECT_EQ(read("_VolSum.txt"), kOldReport);
        EXPECT_EQ(read("_Phase2.csv"), kOldPhase2);
        EXPECT_FALSE(exists("_VolSum.txt.tmp"));
        EXPECT_FALSE(exists("_Phase2.csv.tmp"));
        EXPECT_EQ(host.log, "Combining all Phase 2 estimates...\r\n");
        EXPECT_EQ(host.statuses,
                  std::vector<std::string>{"Status: Combining all Phase 2 estimates.."});
        if (host.messages.size() != 1) {
            ADD_FAILURE() << host.messages.size() << " messages";
            return {};
        }
        EXPECT_EQ(host.messages[0].icon, Icon::Critical);
        return host.messages[0].text;
    }

    std::string missingText(std::string_view suffix, int step) const {
        return "The file " + file(suffix).string() + " is missing. It is written by step " +
               std::to_string(step) + "; please run step " + std::to_string(step) + " first.";
    }

    static constexpr std::string_view kOldReport = "report of the run before\r\n";
    static constexpr std::string_view kOldPhase2 = "9,1,1,1,0,0,0,0,0,0\r\n";
};

TEST_F(CombineErrors, TheUntouchedSetCompletes) {
    EXPECT_TRUE(runCombine(session, host));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_NE(read("_VolSum.txt"), kOldReport);
}

// ---- missing inputs, each named with the step that writes it

TEST_F(CombineErrors, MissingDataSet1PlotFileNamesStep6) {
    std::filesystem::remove(file("_PH2plotDS1.csv"));
    EXPECT_FALSE(runCombine(session, host));
    EXPECT_EQ(failedMessage(), missingText("_PH2plotDS1.csv", 6));
}

TEST_F(CombineErrors, MissingSummaryFileNamesStep5) {
    std::filesystem::remove(file("_PH2Sum.csv"));
    EXPECT_FALSE(runCombine(session, host));
    EXPECT_EQ(failedMessage(), missingText("_PH2Sum.csv", 5));
}

TEST_F(CombineErrors, MissingPhase1DataSet1FileNamesStep7) {
    std::filesystem::remove(file("_Phase1DS1.csv"));
    EXPECT_FALSE(runCombine(session, host));
    EXPECT_EQ(failedMessage(), missingText("_Phase1DS1.csv", 7));
}

TEST_F(CombineErrors, AnInputThatIsADirectoryIsNamed) {
    std::filesystem::remove(file("_PH2Sum.csv"));
    std::filesystem::create_directory(file("_PH2Sum.csv"));
    EXPECT_FALSE(runCombine(session, host));
    EXPECT_THAT(failedMessage(), HasSubstr(file("_PH2Sum.csv").string()));
}

// ---- codes and plots outside their ranges, and fields that are not numbers

struct BadRecord {
    const char* name;
    std::string_view suffix;
    std::string_view content;
    std::string_view where;  // record and field
    std::string_view found;
};
void PrintTo(const BadRecord& bad, std::ostream* os) {
    *os << bad.name;
}

// Limits of the set: MaxSpec 2, MaxProd 2, MaxPlots 5. The last case lies in the last file read,
// when everything else is already combined in memory.
const BadRecord kBadRecords[] = {
    {"PlotZero", "_PH2plotDS1.csv",
     " 1 , 1 , 1 , 20 , 1.5 , 30 , 20 , 1 , 25 \r\n 0 , 2 , 2 , 40 , 2.5 , 45 , 20 , 2 , 35 \r\n",
     "record 2, field 1", "\"0\""},
    {"PlotAboveMaxPlots", "_PH2plotDS2.csv", " 6 , 1 , 1 , 20 , 1.5 , 30 , 40 , 2 , 30 \r\n",
     "record 1, field 1", "\"6\""},
    {"SpeciesAboveMaxSpec", "_PH2plotDS1.csv", " 1 , 3 , 1 , 20 , 1.5 , 30 , 20 , 1 , 25 \r\n",
     "record 1, field 2", "\"3\""},
    {"ProductZero", "_PH2plotDS1.csv", " 1 , 1 , 0 , 20 , 1.5 , 30 , 20 , 1 , 25 \r\n",
     "record 1, field 3", "\"0\""},
    {"SummaryProductAboveMaxProd", "_PH2Sum.csv", "1,1,10,0.75,15,2\r\n2,3,20,1.25,22.5,2\r\n",
     "record 2, field 2", "\"3\""},
    {"Phase1SpeciesZero", "_Phase1DS1.csv", "1,0,20,1,15\r\n", "record 1, field 2", "\"0\""},
    {"Phase1PlotAboveMaxPlots", "_Phase1DS1.csv", "6,1,20,1,15\r\n", "record 1, field 1", "\"6\""},
    {"NotANumber", "_Phase1DS1.csv", "1,1,20,1,15\r\n4,2,forty,3,50\r\n", "record 2, field 3",
     "\"forty\""},
    {"Phase1DataSet2SpeciesAboveMaxSpec", "_Phase1DS2.csv", "1,1,20,1,15\r\n5,3,40,3,50\r\n",
     "record 2, field 2", "\"3\""},
};

class CombineBadRecord : public CombineErrors, public ::testing::WithParamInterface<BadRecord> {};

TEST_P(CombineBadRecord, IsNamedAndStopsTheStep) {
    const BadRecord& bad = GetParam();
    write(bad.suffix, bad.content);

    EXPECT_FALSE(runCombine(session, host));

    const std::string text = failedMessage();
    EXPECT_THAT(text, HasSubstr("File " + file(bad.suffix).string() + ", "));
    EXPECT_THAT(text, HasSubstr(std::string(bad.where)));
    EXPECT_THAT(text, HasSubstr(std::string(bad.found)));
}

INSTANTIATE_TEST_SUITE_P(, CombineBadRecord, ::testing::ValuesIn(kBadRecords),
                         [](const auto& info) { return std::string(info.param.name); });

// A Phase 1 DataSet 2 file of one byte is read like any other: a lone "7" is a record cut short.
TEST_F(CombineErrors, AOneBytePhase1DataSet2FileIsRead) {
    write("_Phase1DS2.csv", "7");
    EXPECT_FALSE(runCombine(session, host));
    EXPECT_THAT(failedMessage(), HasSubstr(file("_Phase1DS2.csv").string()));
}

// Sums beyond the range of a double have no text; they are refused, not written as "inf".
TEST_F(CombineErrors, TotalsTooLargeToWrite) {
    write("_PH2plotDS1.csv", crlf({
                                 " 1 , 1 , 1 , 1e308 , 1 , 30 , 0 , 0 , 0 ",
                                 " 1 , 2 , 2 , 1e308 , 1 , 30 , 0 , 0 , 0 ",
                             }));
    EXPECT_FALSE(runCombine(session, host));
    EXPECT_THAT(failedMessage(), HasSubstr("too large"));
}

}  // namespace
}  // namespace orr::test
