// Step 7 through the step runner: small data sets worked out by hand (files and log compared
// whole), one and four threads giving the same files and log, and input it cannot use or a cancel
// (at most one message naming the file, record, field and text; the earlier files kept byte for
// byte, no temporary file left beside them).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/OutputSet.h"
#include "tests/engine/phase1/Phase1TestData.h"

namespace orr::test {
namespace {

std::string skipLine(int pass, int outside, int noInterval, const std::string& plots = "") {
    return "DataSet " + std::to_string(pass) + ": trees skipped: " + std::to_string(outside) +
           " in plots outside every stratum, " + std::to_string(noInterval) +
           " whose draw fell in no species interval" +
           (plots.empty() ? "" : "; plots outside every stratum: " + plots);
}

std::string createdLine(const Phase1Data& data) {
    return "The following file(s) were created in the directory - " +
           files::dirText(data.session.dataFilesDir());
}

// Stratum 1 (plots 1-10) has only species 1 on its Phase 2 plot, stratum 2 (plots 11-20) only
// species 2: every LiDAR tree gets its stratum's species. Per tree times PACF 20: species 1
// N 20, BA 10.908, volume 20H; species 2 N 20, BA 2.727, volume 40H.
class SingleSpeciesStrata : public ::testing::Test {
  protected:
    SingleSpeciesStrata() {
        data.writeStrata(crlf({"1,1,10,30", "2,11,20,40"}));
        data.writeSpecies(crlf({"3,1,40", "3,2,0", "12,1,0", "12,2,60"}));
        // Plot 3 comes back after plots 12 and 5: a further group, written again.
        data.writeHigh(crlf({"3,15.5", "3,8", "3,20", "12,12", "12,30.25", "5,11", "3,14"}));
        data.writeLow(crlf({"12,10", "12,10.5", "4,50"}));
    }
    Phase1Data data;
};

TEST_F(SingleSpeciesStrata, EveryTreeGetsItsStratumsSpecies) {
    data.host.logText = "earlier text\r\n";
    ASSERT_TRUE(data.run());
    EXPECT_TRUE(data.host.messages.empty());
    // Plot 3: 15.5 and 20 (8 is too low), volume 35.5 * 20; plot 12: volume 2 * 42.25 * 20.
    EXPECT_EQ(data.output(1), crlf({"3,1,40,21.82,710", "12,2,40,5.45,1690", "5,1,20,10.91,220",
                                    "3,1,20,10.91,280"}));
    // DataSet 2: 10 is not above 10.
    EXPECT_EQ(data.output(2), crlf({"12,2,20,2.73,420", "4,1,20,10.91,1000"}));
    EXPECT_EQ(data.host.logText, crlf({"Phase 1 computation of LiDAR heights completed!!",
                                       createdLine(data), data.listed(2), data.listed(1)}));
    EXPECT_EQ(data.host.statuses,
              (std::vector<std::string>{"Status : Computing Phase 1..",
                                        "Status : Phase 1 computation completed!!"}));
}

// Plot 3's trees split by those of a plot outside every stratum (no group, nothing counted): its
// later trees go on in the same sums, and its line is the one of its trees read together.
TEST_F(SingleSpeciesStrata, APlotSplitByAPlotOutsideEveryStratumKeepsOneLine) {
    data.session.params.MaxPlots = 100;
    data.writeHigh(crlf({"3,15.5", "30,22", "30,23", "3,20", "3,8", "30,9", "3,14", "12,12"}));
    ASSERT_TRUE(data.run());
    EXPECT_EQ(data.output(1), crlf({"3,1,60,32.72,990", "12,2,20,2.73,480"}));
    data.writeHigh(crlf({"3,15.5", "3,20", "3,8", "3,14", "12,12"}));
    RecordingHost together;
    ASSERT_TRUE(data.run(together));
    EXPECT_EQ(data.output(1), crlf({"3,1,60,32.72,990", "12,2,20,2.73,480"}));
}

TEST_F(SingleSpeciesStrata, NoDataSet2FileForAnEmptyNameOrAnEmptyFile) {
    writeFile(data.file(DataSetFile::Phase1DS2), "from an earlier run\r\n");
    const std::filesystem::path low = data.session.inputs.lidarLow;
    data.session.inputs.lidarLow.clear();
    ASSERT_TRUE(data.run());
    EXPECT_FALSE(data.exists(2));
    EXPECT_EQ(data.host.logText, crlf({"Phase 1 computation of LiDAR heights completed!!",
                                       createdLine(data), data.listed(1)}));

    data.session.inputs.lidarLow = low;
    data.writeLow("");
    RecordingHost again;
    ASSERT_TRUE(data.run(again));
    EXPECT_FALSE(data.exists(2));
    EXPECT_EQ(again.logged.back(), skipLine(1, 0, 0));  // the empty DataSet 2 file is no pass
}

TEST(Phase1Strata, OverlappingRangesTheFirstStratumTakesThePhase1Plot) {
    Phase1Data data;
    // Plot 7 lies in both ranges; the first record (stratum 2) is its stratum. Its Phase 2
    // species-1 trees count in both strata: stratum 2 has species 1 only (share 1), stratum 1
    // species 1 and 2 (1/3 and 2/3). Plot 13 lies in stratum 2 only, no Phase 2 plot of its own.
    data.writeStrata(crlf({"2,5,15,40", "1,1,10,30"}));
    data.writeSpecies(crlf({"3,1,0", "3,2,40", "7,1,20", "7,2,0"}));
    std::vector<std::string> records;
    for (int plot : {7, 13}) {
        for (int h = 11; h <= 20; ++h)
            records.push_back(std::to_string(plot) + "," + std::to_string(h));
    }
    data.writeHigh(crlf(records));
    data.session.inputs.lidarLow.clear();
    ASSERT_TRUE(data.run());
    // Every tree species 1: N 200, BA 10 * 10.908, volume 155 * 20.
    EXPECT_EQ(data.output(1), crlf({"7,1,200,109.08,3100", "13,1,200,109.08,3100"}));
}

TEST(Phase1Strata, TreesWithoutASpeciesAreSkippedCountedAndTheirPlotsListed) {
    Phase1Data data;
    // Stratum 2 has no Phase 2 trees; plots 51 to 75 lie in no stratum (51 twice).
    data.writeStrata(crlf({"1,1,10,30", "2,11,20,40"}));
    data.writeSpecies(crlf({"3,1,10", "3,2,0", "15,1,0", "15,2,0"}));
    std::vector<std::string> records{"15,12", "15,13", "51,14", "3,12", "15,5"};
    for (int plot = 51; plot <= 75; ++plot) records.push_back(std::to_string(plot) + ",20");
    data.writeHigh(crlf(records));
    data.session.inputs.lidarLow.clear();
    ASSERT_TRUE(data.run());
    EXPECT_EQ(data.output(1), crlf({"3,1,20,10.91,240"}));
    EXPECT_EQ(data.host.logged,
              (std::vector<std::string>{
                  "Phase 1 computation of LiDAR heights started....",
                  " 3      1      20     10.91    240",
                  skipLine(1, 26, 2,
                           "51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, "
                           "68, 69, 70 and 5 more")}));
}

// Many plot groups: more heights than one batch of the step holds, plots in three strata ranges
// (one without Phase 2 trees) and outside every range, heights of 10 feet or less among them,
// and plots that come back after other plots.
std::string manyGroups(std::uint32_t state) {
    auto next = [&state](std::uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % range);
    };
    std::string text;
    for (int i = 0; i < 2600; ++i) {
        const int plot = 1 + next(2800), trees = 1 + next(40);
        for (int t = 0; t < trees; ++t) {
            const int tenths = 50 + next(700);
            text += std::to_string(plot) + "," + std::to_string(tenths / 10) + "." +
                    std::to_string(tenths % 10) + "\r\n";
        }
    }
    return text;
}

// The strata and species of manyGroups: plots 2501..2800 lie in no stratum; stratum 3 has no
// Phase 2 trees.
void writeManyGroupsStrata(Phase1Data& data) {
    data.session.params.MaxPlots = 3000;
    data.writeStrata(crlf({"1,1,1000,30", "2,1001,2000,60", "3,2001,2500,90"}));
    data.writeSpecies(crlf({"5,1,30", "5,2,70", "1500,1,50", "1500,2,50"}));
}

TEST(Phase1Threads, OneAndFourThreadsGiveIdenticalFilesAndLog) {
    Phase1Data data;
    writeManyGroupsStrata(data);
    data.writeHigh(manyGroups(7));
    data.writeLow(manyGroups(99));
    data.session.run.threads = 1;
    ASSERT_TRUE(data.run());
    const std::string ds1 = data.output(1), ds2 = data.output(2);
    EXPECT_GT(std::count(ds1.begin(), ds1.end(), '\n'), 1500);  // several batches
    data.session.run.threads = 4;
    RecordingHost four;
    ASSERT_TRUE(data.run(four));
    EXPECT_EQ(data.output(1), ds1);
    EXPECT_EQ(data.output(2), ds2);
    EXPECT_EQ(four.logged, data.host.logged);
    EXPECT_EQ(four.logText, data.host.logText);
}

// The records of manyGroups written so that none is taken with the plot run it continues: a
// blank after each comma leaves every record to the comma reader's splitting into fields.
std::string everyRecordSplit(const std::string& text) {
    std::string split;
    for (char c : text) {
        split += c;
        if (c == ',') split += ' ';
    }
    return split;
}

TEST(Phase1Reading, RunsOfAPlotTakenAtOnceGiveTheFilesLogAndFaultsOfRecordByRecord) {
    Phase1Data data;
    writeManyGroupsStrata(data);
    // LF alone, a record over two lines and an empty height (read as 0, with a warning) among
    // the runs.
    const std::string high = manyGroups(7) + "17,12.5\n17\r\n14.5\r\n17,\r\n17,30.5\r\n";
    const std::string low = manyGroups(99);
    data.session.run.threads = 2;
    data.writeHigh(high);
    data.writeLow(low);
    ASSERT_TRUE(data.run());
    const std::string ds1 = data.output(1), ds2 = data.output(2);
    data.writeHigh(everyRecordSplit(high));
    data.writeLow(everyRecordSplit(low));
    RecordingHost split;
    ASSERT_TRUE(data.run(split));
    EXPECT_EQ(data.output(1), ds1);
    EXPECT_EQ(data.output(2), ds2);
    EXPECT_EQ(split.logged, data.host.logged);
    EXPECT_EQ(split.logText, data.host.logText);

    // A record that cannot be read, deep in a plot's run after several batches: the same message
    // under the same record number either way.
    std::string bad = manyGroups(7);
    const std::size_t at = bad.find("\r\n", bad.size() * 3 / 4) + 2;
    const std::size_t plotEnd = bad.find(',', at);
    bad.insert(
        at, bad.substr(at, plotEnd - at) + ",12.5\r\n" + bad.substr(at, plotEnd - at) + ",1x2\r\n");
    std::vector<std::string> messages;
    for (const std::string& text : {bad, everyRecordSplit(bad)}) {
        data.writeHigh(text);
        RecordingHost host;
        EXPECT_FALSE(data.run(host));
        ASSERT_EQ(host.messages.size(), 1u);
        messages.push_back(host.messages.front().text);
    }
    EXPECT_NE(messages[0].find("\"1x2\" is not a number"), std::string::npos) << messages[0];
    EXPECT_EQ(messages[0], messages[1]);
}

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
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (isTemporaryOutputName(entry.path().filename().string())) return true;
    return false;
}

void expectEarlierFiles(const Phase1Data& data) {
    EXPECT_EQ(data.output(1), kOld1);
    EXPECT_EQ(data.output(2), kOld2);
    EXPECT_FALSE(temporaryFileIn(data.session.dataFilesDir()));
}

// A stop several batches into the file (a species without its coefficient in the second
// stratum): the status lines of every plot closed before it are logged, in order, and none after,
// on one thread as on two.
TEST(Phase1Threads, AStopSeveralBatchesInLogsEveryPlotBeforeIt) {
    std::vector<std::string> noB2 = kStandardCoefficients;
    noB2[5] = "0,1,0,0";  // DataSet 1 exponent of species 2
    std::string high;
    for (int plot = 1; plot <= 20000; ++plot) {
        for (int t = 0; t < 8; ++t) high += std::to_string(plot) + ",15.5\r\n";
    }
    // The stop comes in a batch that is not the file's last.
    for (int plot = 20001; plot <= 29000; ++plot) {
        for (int t = 0; t < 8; ++t) high += std::to_string(plot) + ",16.5\r\n";
    }
    std::vector<std::vector<std::string>> logged;
    for (unsigned threads : {1u, 2u}) {
        Phase1Data data;
        data.session.params.MaxPlots = 30000;
        data.writeStrata(crlf({"1,1,20000,30", "2,20001,30000,40"}));
        data.writeSpecies(crlf({"5,1,30", "20005,2,50"}));
        data.writeCoefficients(noB2);
        data.writeHigh(high);
        data.writeLow(crlf({"5,12.5"}));
        data.session.run.threads = threads;
        EXPECT_FALSE(data.run());
        ASSERT_EQ(data.host.messages.size(), 1u);
        EXPECT_EQ(data.host.messages[0].text, kNoCoefficient);
        std::vector<std::string> plotLines;
        for (const std::string& line : data.host.logged) {
            if (line.size() > 1 && line[0] == ' ' && line[1] >= '0' && line[1] <= '9')
                plotLines.push_back(line);
        }
        // Plot 20000 is still open when plot 20001's first tree stops the step.
        ASSERT_EQ(plotLines.size(), 19999u) << threads;
        EXPECT_EQ(plotLines.front().substr(0, 7), " 1     ");
        EXPECT_EQ(plotLines.back().substr(0, 7), " 19999 ");
        logged.push_back(data.host.logged);
    }
    EXPECT_EQ(logged[0], logged[1]);
}

TEST(Phase1BadInput, OneMessageAndTheEarlierFilesUnchanged) {
    {
        Phase1Data data;
        writeValidSet(data);
        ASSERT_TRUE(data.run());  // each case below spoils one thing of this set
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
         [](Phase1Data& d) { d.writeHigh("3,15.5\r\n13,12\r\n"); },
         {"File ",
          "high.csv, record 2, field 1 (plot): \"13\" is outside the allowed range 0 to 12."}},
        {"not a number",
         [](Phase1Data& d) { d.writeLow("12,10.5\r\n4,50\r\n4,abc\r\n"); },
         {"low.csv", "record 3", "field 2", "\"abc\""}},
        {"stratum above 999",
         [](Phase1Data& d) { d.writeStrata("1000,11,20,40\r\n"); },
         {strata, "record 1", "field 1", "\"1000\""}},
        {"species above MaxSpec",
         [](Phase1Data& d) { d.writeSpecies("3,1,40\r\n12,3,60\r\n"); },
         {files::fileName("T", DataSetFile::SpeciesCountsDS1), "record 2", "field 2", "\"3\""}},
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
         [](Phase1Data& d) { d.session.inputs.lidarHigh.clear(); },
         {"Please select Phase 1 Lidar Height"},
         true},
        // Read well, but no tree above 10 feet to carry.
        {"no tree taller than 10 feet",
         [](Phase1Data& d) { d.writeHigh("3,10\r\n3,9.99\r\n12,4\r\n"); },
         {"high.csv: holds no LiDAR tree taller than 10 feet (3 records read); the steps use only "
          "the taller ones."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Phase1Data data;
        const RecordingHost& host = data.host;
        writeValidSet(data);
        c.spoil(data);
        EXPECT_FALSE(data.run());
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
    RecordingHost& host = data.host;
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
