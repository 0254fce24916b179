// A small data set for step 7, written file by file in a temporary application directory.
//
// Two species, one product, PACF 20. The coefficients make the trees easy to follow by hand: the
// ground height is the LiDAR height (equations 3 and 4 are H = 0 + 1 * h^1), species 1 has a DBH
// of 10 inches (BA 0.5454) and species 2 of 5 inches (BA 0.13635), and the volume is H for
// species 1 and 2H for species 2.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Session.h"
#include "engine/phase1/Phase1.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {

// A host that also keeps every line appended to the log (the step replaces the log at its end),
// and the longest the log ever was before a line was added.
struct RecordingHost : FakeHost {
    std::vector<std::string> appended;
    std::size_t longestBeforeAppend = 0;
    int clears = 0;
    void appendLog(std::string_view line) override {
        longestBeforeAppend = std::max(longestBeforeAppend, log.size());
        appended.emplace_back(line);
        FakeHost::appendLog(line);
    }
    void setLog(std::string_view text) override {
        if (text.empty()) ++clears;
        FakeHost::setLog(text);
    }
};

inline const std::vector<std::string> kStandardCoefficients = {
    "10,0,0,0", "5,0,0,0",  // DBH: 10 and 5 inches
    "0,0,0,0",  "0,0,0,0",  // height from DBH (not used)
    "0,1,1,0",  "0,1,1,0",  // DataSet 1 ground height H = h
    "0,1,1,0",  "0,1,1,0",  // DataSet 2 ground height H = h
    "0,0,1,0",  "0,0,2,0",  // volume H and 2H
};

class Phase1Data {
  public:
    Phase1Data() {
        session.appDir = dir.path();
        std::filesystem::create_directories(session.dataFilesDir());
        session.DataSetName = "T";
        session.params = ParamRecord::defaults();
        session.params.PACF = 20;
        session.params.MaxSpec = 2;
        session.params.MaxProd = 1;
        session.params.MaxPlots = 100;
        session.params.LiHgtAdj = 0;
        session.params.ModelSet = 0;
        session.run.seed = 12345;
        session.CoeffFileName = out("_COEFFIC.csv");
        session.StrataFileName = out("_STRATA.csv");
        session.DBHFileName = out("_DBH.csv");
        session.HighLidarFileName = high();
        session.LowLidarFileName = low();
        writeCoefficients(kStandardCoefficients);
        writeFile(session.DBHFileName, crlf({"1,1,0,99", "2,1,0,99"}));
    }

    TempDir dir;
    Session session;

    std::filesystem::path out(std::string_view suffix) const { return session.dataSetFile(suffix); }
    std::filesystem::path high() const { return dir / "high.csv"; }
    std::filesystem::path low() const { return dir / "low.csv"; }

    void writeCoefficients(const std::vector<std::string>& records) {
        writeFile(session.CoeffFileName, crlf(records));
    }
    void writeStrata(const std::string& text) { writeFile(session.StrataFileName, text); }
    void writeSpecies(const std::string& text) { writeFile(out("_PH2specDS1.csv"), text); }
    void writeHigh(const std::string& text) { writeFile(high(), text); }
    void writeLow(const std::string& text) { writeFile(low(), text); }
    bool run(RecordingHost& host) { return runPhase1(session, host); }
};

// The lines of a comma-style file, without their CR LF.
inline std::vector<std::string> fileLines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    const std::string text = readFile(file);
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace orr::test
