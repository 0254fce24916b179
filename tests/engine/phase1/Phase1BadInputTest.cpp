// Step 7 on input it cannot use: one message naming the file, record, field and text; the step
// does not complete, and the files of the earlier run stay byte for byte as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "tests/engine/phase1/Phase1TestData.h"

namespace orr::test {
namespace {

class Phase1BadInput : public ::testing::Test {
  protected:
    Phase1BadInput() {
        data.writeStandardSetUp();
        data.writeStrata(crlf({"1,1,10,30", "2,11,20,40"}));
        data.writeSpecies(crlf({"3,1,40", "3,2,0", "12,1,0", "12,2,60"}));
        data.writeHigh(crlf({"3,15.5", "12,12"}));
        data.writeLow(crlf({"12,10.5", "4,50"}));
        writeFile(data.out("_Phase1DS1.csv"), kOld1);
        writeFile(data.out("_Phase1DS2.csv"), kOld2);
    }

    // The step stops with one critical message holding every piece; the old files are intact
    // and no temporary file is left.
    void expectStopped(std::initializer_list<std::string> pieces) {
        EXPECT_FALSE(data.run(host));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].icon, Icon::Critical);
        for (const std::string& piece : pieces) {
            EXPECT_NE(host.messages[0].text.find(piece), std::string::npos)
                << "'" << piece << "' not in: " << host.messages[0].text;
        }
        EXPECT_EQ(readFile(data.out("_Phase1DS1.csv")), kOld1);
        EXPECT_EQ(readFile(data.out("_Phase1DS2.csv")), kOld2);
        for (const auto& entry : std::filesystem::directory_iterator(data.session.dataFilesDir())) {
            EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
        }
        EXPECT_NE(host.statuses.back(), "Status : Phase 1 computation completed!!");
    }

    static constexpr const char* kOld1 = "3,1,20,1,1\r\n";
    static constexpr const char* kOld2 = "4,2,20,2,2\r\n";
    Phase1Data data;
    RecordingHost host;
};

TEST_F(Phase1BadInput, TheValidDataSetCompletes) {
    ASSERT_TRUE(data.run(host));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(readFile(data.out("_Phase1DS1.csv")), crlf({"3,1,20,10.91,310", "12,2,20,2.73,480"}));
}

TEST_F(Phase1BadInput, PlotAboveMaxPlots) {
    data.writeHigh(crlf({"3,15.5", "101,12"}));
    expectStopped({data.high().string(), "record 2", "field 1", "\"101\""});
}

TEST_F(Phase1BadInput, NegativePlot) {
    data.writeLow(crlf({"12,10.5", "-4,50"}));
    expectStopped({data.low().string(), "record 2", "field 1", "\"-4\""});
}

TEST_F(Phase1BadInput, HeightThatIsNotANumberInDataSet2) {
    data.writeLow(crlf({"12,10.5", "4,50", "4,abc"}));
    expectStopped({data.low().string(), "record 3", "field 2", "\"abc\""});
}

TEST_F(Phase1BadInput, RecordCutShort) {
    data.writeHigh("3,15.5\r\n12\r\n");
    expectStopped({data.high().string(), "record 2"});
}

TEST_F(Phase1BadInput, StratumAbove999) {
    data.writeStrata(crlf({"1,1,10,30", "1000,11,20,40"}));
    expectStopped({data.session.StrataFileName.string(), "record 2", "field 1", "\"1000\""});
}

TEST_F(Phase1BadInput, MoreThan999StrataRecords) {
    std::vector<std::string> records;
    for (int i = 1; i <= 1000; ++i) records.push_back(std::to_string(i % 999) + ",1,10,30");
    data.writeStrata(crlf(records));
    expectStopped({data.session.StrataFileName.string(), "record 1000"});
}

TEST_F(Phase1BadInput, SpeciesOutsideItsRangeInTheSpeciesFile) {
    data.writeSpecies(crlf({"3,1,40", "3,2,0", "12,1,0", "12,3,60"}));
    expectStopped({data.out("_PH2specDS1.csv").string(), "record 4", "field 2", "\"3\""});
}

TEST_F(Phase1BadInput, SpeciesFileMissing) {
    std::filesystem::remove(data.out("_PH2specDS1.csv"));
    expectStopped({data.out("_PH2specDS1.csv").string()});
}

TEST_F(Phase1BadInput, DataSet2FileMissing) {
    std::filesystem::remove(data.low());
    expectStopped({data.low().string()});
}

TEST_F(Phase1BadInput, ADirectoryInsteadOfTheDataSet1File) {
    std::filesystem::remove(data.high());
    std::filesystem::create_directory(data.high());
    expectStopped({data.high().string()});
}

TEST_F(Phase1BadInput, ShortCoefficientFile) {
    data.writeCoefficients({"10,0,0,0", "5,0,0,0", "0,0,0,0", "0,0,0,0", "0,1,1,0", "0,1,1,0",
                            "0,1,1,0", "0,1,1,0", "0,0,1,0"});
    expectStopped({data.session.CoeffFileName.string()});
}

TEST_F(Phase1BadInput, NonNumberInTheDbhFile) {
    data.writeDbh(crlf({"1,1,0,99", "2,1,\"x5\",99"}));
    expectStopped({data.session.DBHFileName.string(), "record 2", "field 3", "\"x5\""});
}

TEST_F(Phase1BadInput, EmptyDbhFile) {
    data.writeDbh("");
    expectStopped({});
    EXPECT_EQ(host.messages[0].text, "Error: No min/max dbhes on file for dataset T");
}

TEST_F(Phase1BadInput, MissingDataSet1HeightCoefficient) {
    // b2 of equation 3 for species 2, met on plot 12 after plot 3 was already counted.
    data.writeCoefficients({"10,0,0,0", "5,0,0,0", "0,0,0,0", "0,0,0,0", "0,1,1,0", "0,1,0,0",
                            "0,1,1,0", "0,1,1,0", "0,0,1,0", "0,0,2,0"});
    expectStopped({});
    EXPECT_EQ(host.messages[0].text, "Potential ERROR: No coefficient for LiDAR height equation");
}

TEST_F(Phase1BadInput, MissingDataSet2HeightCoefficient) {
    // b1 of equation 4 for species 1, met on plot 4 of DataSet 2 after a complete pass 1.
    data.writeCoefficients({"10,0,0,0", "5,0,0,0", "0,0,0,0", "0,0,0,0", "0,1,1,0", "0,1,1,0",
                            "0,0,1,0", "0,1,1,0", "0,0,1,0", "0,0,2,0"});
    expectStopped({});
    EXPECT_EQ(host.messages[0].text, "Potential ERROR: No coefficient for LiDAR height equation");
}

TEST_F(Phase1BadInput, NoCoefficientNeededWithoutHeightAdjustment) {
    data.session.params.LiHgtAdj = 1;
    data.writeCoefficients({"10,0,0,0", "5,0,0,0", "0,0,0,0", "0,0,0,0", "0,0,0,0", "0,0,0,0",
                            "0,0,0,0", "0,0,0,0", "0,0,1,0", "0,0,2,0"});
    EXPECT_TRUE(data.run(host));
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace orr::test
