// Step 7 on input it cannot use, and cancelled: at most one message, naming the file, record,
// field and text; the step does not complete, and the files of the earlier run stay byte for
// byte as they were, with no temporary file left beside them.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/OutputSet.h"
#include "tests/engine/phase1/Phase1TestData.h"

namespace orr::test {
namespace {

const char* const kOld1 = "3,1,20,1,1\r\n";
const char* const kOld2 = "4,2,20,2,2\r\n";
const std::string kNoCoefficient = "Potential ERROR: No coefficient for LiDAR height equation";

// Plots up to MaxPlots 12 are accepted; the earlier run's files are in place.
void writeValidSet(Phase1Data& data) {
    data.session.params.MaxPlots = 12;
    data.writeStrata(crlf({"1,1,10,30", "2,11,20,40"}));
    data.writeSpecies(crlf({"3,1,40", "3,2,0", "12,1,0", "12,2,60"}));
    data.writeHigh(crlf({"3,15.5", "4,20", "12,12"}));
    data.writeLow(crlf({"12,10.5", "4,50"}));
    writeFile(data.file(DataSetFile::Phase1DS1), kOld1);
    writeFile(data.file(DataSetFile::Phase1DS2), kOld2);
}

bool temporaryFileIn(const std::filesystem::path& dir) {
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (isTemporaryOutputName(entry.path().filename().string())) return true;
    }
    return false;
}

void expectEarlierFiles(const Phase1Data& data) {
    EXPECT_EQ(data.output(1), kOld1);
    EXPECT_EQ(data.output(2), kOld2);
    EXPECT_FALSE(temporaryFileIn(data.session.dataFilesDir()));
}

TEST(Phase1BadInput, OneMessageAndTheEarlierFilesUnchanged) {
    {
        Phase1Data data;
        RecordingHost host;
        writeValidSet(data);
        ASSERT_TRUE(data.run(host));  // each case below spoils one thing of this set
        EXPECT_EQ(data.output(1),
                  crlf({"3,1,20,10.91,310", "4,1,20,10.91,400", "12,2,20,2.73,480"}));
    }
    struct Case {
        const char* name;
        std::function<void(Phase1Data&)> spoil;
        std::vector<std::string> pieces;  // the whole message when `exact`
        bool exact = false;
        std::string lastLogged = "";  // when given: the last line logged before the stop
    };
    // Without b2 of equation 3 for species 2 (met on plot 12: plot 3 was written when plot 4
    // had a tree, plot 4 is in progress and is not), or b1 of equation 4 for species 1 (met in
    // DataSet 2 after a complete pass 1).
    std::vector<std::string> noB2 = kStandardCoefficients, noB1 = kStandardCoefficients;
    noB2[5] = "0,1,0,0";
    noB1[6] = "0,0,1,0";
    const std::string strata = files::fileName("T", DataSetFile::Strata);
    const std::vector<Case> cases = {
        {"plot above MaxPlots",
         [](Phase1Data& d) {
             d.writeHigh(crlf({"3,15.5", "13,12"}));
         },
         {"File ",
          "high.csv, record 2, field 1 (plot): \"13\" is outside the allowed range 0 to 12."}},
        {"not a number",
         [](Phase1Data& d) {
             d.writeLow(crlf({"12,10.5", "4,50", "4,abc"}));
         },
         {"low.csv", "record 3", "field 2", "\"abc\""}},
        {"stratum above 999",
         [](Phase1Data& d) { d.writeStrata(crlf({"1000,11,20,40"})); },
         {strata, "record 1", "field 1", "\"1000\""}},
        {"species above MaxSpec",
         [](Phase1Data& d) {
             d.writeSpecies(crlf({"3,1,40", "12,3,60"}));
         },
         {files::fileName("T", DataSetFile::SpeciesCountsDS1), "record 2", "field 2", "\"3\""}},
        {"empty DBH file",
         [](Phase1Data& d) { writeFile(d.session.dbhFile, ""); },
         {"Error: No min/max dbhes on file for dataset T"},
         true},
        {"no b2 in DataSet 1",
         [&](Phase1Data& d) { d.writeCoefficients(noB2); },
         {kNoCoefficient},
         true,
         " 3      1      20     10.91    310"},
        {"no b1 in DataSet 2",
         [&](Phase1Data& d) { d.writeCoefficients(noB1); },
         {kNoCoefficient},
         true,
         "DataSet 1: trees skipped: 0 in plots outside every stratum, 0 whose draw fell in no "
         "species interval"},
        {"no DataSet 1 file",
         [](Phase1Data& d) { d.session.lidarHighFile.clear(); },
         {"Please select Phase 1 Lidar Height"},
         true},
        // Read well, but no tree above 10 feet to carry.
        {"no tree taller than 10 feet",
         [](Phase1Data& d) {
             d.writeHigh(crlf({"3,10", "3,9.99", "12,4"}));
         },
         {"high.csv: holds no LiDAR tree taller than 10 feet (3 records read); the steps use only "
          "the taller ones."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Phase1Data data;
        RecordingHost host;
        writeValidSet(data);
        c.spoil(data);
        EXPECT_FALSE(data.run(host));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].icon, Icon::Critical);
        if (c.exact) {
            EXPECT_EQ(host.messages[0].text, c.pieces.at(0));
        }
        for (const std::string& piece : c.pieces) {
            EXPECT_NE(host.messages[0].text.find(piece), std::string::npos)
                << host.messages[0].text;
        }
        if (!c.lastLogged.empty()) {
            EXPECT_EQ(host.logged.back(), c.lastLogged);
        }
        EXPECT_EQ(host.statuses, std::vector<std::string>{"Status : Computing Phase 1.."});
        expectEarlierFiles(data);
    }
}

TEST(Phase1Cancel, ACancelLeavesTheEarlierFilesAndNoTemporaryFile) {
    Phase1Data data;
    RecordingHost host;
    writeValidSet(data);
    data.session.run.threads = 1;
    // Plots 3 and 4 take turns: every tree is a group of its own and writes a line, so the
    // DataSet 1 output outgrows its memory buffer and goes to its temporary file before the
    // cancel; the file spans several batches, each followed by a progress call.
    std::string high;
    for (int i = 0; i < 100000; ++i) high += i % 2 == 0 ? "3,15.5\r\n" : "4,20.25\r\n";
    data.writeHigh(high);
    bool sawTemporary = false;
    host.onProgress = [&](std::size_t, std::size_t) {
        sawTemporary = sawTemporary || temporaryFileIn(data.session.dataFilesDir());
    };
    host.onCancelled = [&] { return host.progressCalls >= 3; };
    const StepResult result = runStep(7, &computePhase1, data.session, host);
    EXPECT_EQ(result.end, StepResult::End::Cancelled);
    EXPECT_TRUE(sawTemporary);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.statuses, std::vector<std::string>{"Status : Computing Phase 1.."});
    expectEarlierFiles(data);
}

}  // namespace
}  // namespace orr::test
