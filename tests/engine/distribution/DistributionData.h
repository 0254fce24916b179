// A small data set for step 6 in a temporary application directory, and a host that keeps every
// line ever appended to the log.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Session.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {

struct RecordingHost : FakeHost {
    std::vector<std::string> appended;
    std::size_t longestLog = 0;
    int clearings = 0;  // times the log was emptied
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

// Data set "T": PACF 10, MaxSpec 2, MaxProd 2, MaxItern 4, MaxPlots 20, LiHgtAdj 0, seed 7.
// Species 1 grows to DBH 10 (BA 0.5454), species 2 to DBH 6 (BA 0.196344). Ground height from a
// DataSet 1 height h: h + 2 (species 1), h (species 2); from a DataSet 2 height: 2h, h - 5.
// Volume 0.5 H (species 1), 1 + 0.25 H (species 2). DBH limits: species 1 product 1 5..12,
// product 2 12..30; species 2 product 1 4..8, product 2 8..20. One stratum.
// _PH2Plot.csv and the LiDAR files are left to the test.
struct DistributionData {
    TempDir dir;
    Session session;
    RecordingHost host;

    DistributionData();
    std::filesystem::path file(std::string_view suffix) const {
        return session.dataSetFile(suffix);
    }
    void writeDataSetFile(std::string_view suffix, const std::vector<std::string>& lines) {
        writeFile(file(suffix), crlf(lines));
    }
    void writeCoefficients(const std::vector<std::string>& rows) {
        writeDataSetFile("_COEFFIC.csv", rows);
    }
    // Pass 1 writes high.csv, pass 2 low.csv, and chooses it.
    void writeLidar(int pass, const std::vector<std::string>& lines);
    bool run();
    std::string read(std::string_view suffix) const { return readFile(file(suffix)); }
    bool exists(std::string_view suffix) const { return std::filesystem::exists(file(suffix)); }

    // The outputs of an earlier run, which a failing run must leave byte-identical.
    void writeEarlierOutputs();
    void expectEarlierOutputs() const;
};

// The coefficient rows of DistributionData: 5 equations x 2 species, "b0,b1,b2,b3".
std::vector<std::string> standardCoefficients();

}  // namespace orr::test
