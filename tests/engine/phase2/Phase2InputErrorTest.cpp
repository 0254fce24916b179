// Step 5 on input it cannot use: one message naming the file, the record, the field and the text
// found; the step does not complete and the files of an earlier run stay byte for byte.
#include <gtest/gtest.h>

#include "engine/phase2/Phase2Totals.h"
#include "tests/engine/phase2/Phase2Fixture.h"

namespace orr::test {
namespace {

const std::string kGoodTrees = crlf({"1,1,1,6,30,20,0,0", "2,2,1,10,25,20,0,0"});

class Phase2InputError : public Phase2Fixture {
  protected:
    void SetUp() override {
        Phase2Fixture::SetUp();
        writeFile(session.TreeInputFileName, kGoodTrees);
        for (auto suffix : kSuffixes) {
            writeFile(session.dataSetFile(suffix), "earlier run " + std::string(suffix) + "\r\n");
        }
    }

    // The step stops with one critical message holding every part of `expected`.
    void expectStopWith(std::initializer_list<std::string> expected) {
        EXPECT_FALSE(runPhase2Totals(session, host));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].icon, Icon::Critical);
        for (const auto& part : expected) {
            EXPECT_NE(host.messages[0].text.find(part), std::string::npos)
                << "'" << part << "' not in: " << host.messages[0].text;
        }
        expectEarlierFilesKept();
    }

    void expectEarlierFilesKept() {
        for (auto suffix : kSuffixes) {
            EXPECT_EQ(output(suffix), "earlier run " + std::string(suffix) + "\r\n") << suffix;
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(session.dataFilesDir()),
                                std::filesystem::directory_iterator()),
                  4)
            << "no temporary file is left behind";
    }

    static constexpr std::array kSuffixes = {kTreeVolumeSuffix, kPlotSuffix, kPlotTotalSuffix,
                                             kPhase2SummarySuffix};
};

TEST_F(Phase2InputError, SpeciesAboveMaxSpec) {
    writeFile(session.TreeInputFileName, kGoodTrees + crlf({"2,4,1,10,25,20,0,0"}));
    expectStopWith({session.TreeInputFileName.string(), "record 3", "Species", "\"4\""});
}

TEST_F(Phase2InputError, NegativeSpecies) {
    writeFile(session.TreeInputFileName, crlf({"2,-1,1,10,25,20,0,0"}));
    expectStopWith({"trees.csv", "record 1", "Species", "\"-1\""});
}

TEST_F(Phase2InputError, ProductAboveMaxProd) {
    writeFile(session.TreeInputFileName, crlf({"2,1,3,10,25,20,0,0"}));
    expectStopWith({"trees.csv", "record 1", "Product", "\"3\""});
}

TEST_F(Phase2InputError, PlotAboveMaxPlots) {
    writeFile(session.TreeInputFileName, kGoodTrees + crlf({"11,1,1,10,25,20,0,0"}));
    expectStopWith({"trees.csv", "record 3", "Plot", "\"11\""});
}

TEST_F(Phase2InputError, PlotEqualToMaxPlotsIsAccepted) {
    writeFile(session.TreeInputFileName, crlf({"10,1,1,6,30,20,0,0"}));
    EXPECT_TRUE(runPhase2Totals(session, host));
    EXPECT_EQ(output(kPlotTotalSuffix), crlf({"10,10,1.96,168.75"}));
}

TEST_F(Phase2InputError, PlotZeroIsNoPlotNumber) {
    writeFile(session.TreeInputFileName, crlf({"0,1,1,6,30,20,0,0"}));
    expectStopWith({"trees.csv", "record 1", "Plot", "\"0\""});
}

TEST_F(Phase2InputError, FieldThatIsNotANumber) {
    writeFile(session.TreeInputFileName, kGoodTrees + crlf({"2,1,1,ten,25,20,0,0"}));
    expectStopWith({"trees.csv", "record 3", "DBH", "\"ten\"", "not a number"});
}

TEST_F(Phase2InputError, RecordCutShort) {
    writeFile(session.TreeInputFileName, kGoodTrees + crlf({"2,1,1,10,25,20,0"}));
    expectStopWith({"trees.csv", "record 3"});
}

TEST_F(Phase2InputError, ShortCoefficientFile) {
    std::string shortFile = kCoefficients.substr(0, kCoefficients.rfind("0,0,0,0\r\n"));
    writeFile(session.CoeffFileName, shortFile);
    expectStopWith({"coeff.csv", "14", "15"});
}

TEST_F(Phase2InputError, SpeciesAboveMaxSpecInTheDbhFile) {
    writeFile(session.DBHFileName, kDbhLimits + crlf({R"(4,1,"5","9")"}));
    expectStopWith({"dbh.csv", "record 7", "\"4\""});
}

TEST_F(Phase2InputError, MissingTreeFile) {
    session.TreeInputFileName = dir / "nowhere.csv";
    expectStopWith({"nowhere.csv"});
}

TEST_F(Phase2InputError, MissingCoefficientFile) {
    session.CoeffFileName = dir / "nocoeff.csv";
    expectStopWith({"nocoeff.csv"});
}

TEST_F(Phase2InputError, MissingDbhFile) {
    session.DBHFileName = dir / "nodbh.csv";
    expectStopWith({"nodbh.csv"});
}

TEST_F(Phase2InputError, EmptyDbhFileGivesItsMessageAndWritesNothing) {
    writeFile(session.DBHFileName, "");
    EXPECT_FALSE(runPhase2Totals(session, host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Error: No min/max dbhes on file for dataset T");
    EXPECT_EQ(host.messages[0].icon, Icon::Critical);
    expectEarlierFilesKept();
    // The status keeps the caption of the step's start.
    EXPECT_EQ(host.statuses, std::vector<std::string>{"Status: Computing Plot Totals.."});
}

TEST_F(Phase2InputError, NoTreeFileChosenAsksThePicker) {
    session.TreeInputFileName.clear();
    int asked = 0;
    host.onPickTreeFile = [&](Session& s) {
        ++asked;
        s.TreeInputFileName = dir / "trees.csv";
    };
    EXPECT_TRUE(runPhase2Totals(session, host));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(output(kPlotTotalSuffix), crlf({"1,10,1.96,168.75", "2,10,5.45,70"}));
}

TEST_F(Phase2InputError, PickerCancelledStopsTheStep) {
    session.TreeInputFileName.clear();
    EXPECT_FALSE(runPhase2Totals(session, host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Please Enter Input File");
    EXPECT_TRUE(host.statuses.empty());
    expectEarlierFilesKept();
}

}  // namespace
}  // namespace orr::test
