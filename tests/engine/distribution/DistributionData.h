// A small data set for step 6 written straight into a temporary application directory: the
// coefficient, DBH and strata files, _PH2Plot.csv and the two LiDAR height files.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Session.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {

// A host that also keeps every line appended to the log, whatever replaces the log later.
struct RecordingHost : FakeHost {
    std::vector<std::string> appended;
    std::size_t longestLog = 0;  // the longest the log has been
    int clearings = 0;           // times the log was emptied
    void appendLog(std::string_view line) override {
        appended.emplace_back(line);
        FakeHost::appendLog(line);
        longestLog = std::max(longestLog, log.size());
    }
    void setLog(std::string_view text) override {
        if (text.empty()) ++clearings;
        FakeHost::setLog(text);
    }
};

struct DistributionData {
    TempDir dir;
    Session session;
    RecordingHost host;

    // Data set "T": PACF 10, MaxSpec 2, MaxProd 2, MaxItern 4, MaxPlots 20, LiHgtAdj 0
    // (equations used), ModelSet 0, seed 7, and the hand-worked files described in
    // DistributionFilesTest.cpp. Nothing of _PH2Plot.csv or the LiDAR files is written yet.
    DistributionData();

    std::filesystem::path file(std::string_view suffix) const {
        return session.dataSetFile(suffix);
    }
    // Writes a data-set file (suffix) or a file beside it (name) from CR LF joined lines.
    void writeDataSetFile(std::string_view suffix, const std::vector<std::string>& lines);
    void writeLidar(int pass, const std::vector<std::string>& lines);
    // The coefficient file: 5 blocks of MaxSpec rows "b0,b1,b2,b3".
    void writeCoefficients(const std::vector<std::string>& rows);

    bool run();
    std::string read(std::string_view suffix) const { return readFile(file(suffix)); }
    bool exists(std::string_view suffix) const { return std::filesystem::exists(file(suffix)); }
};

// The standard coefficient rows of DistributionData (10 rows for MaxSpec 2).
std::vector<std::string> standardCoefficients();

}  // namespace orr::test
