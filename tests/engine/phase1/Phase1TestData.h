// A small data set for step 7, written file by file in a temporary application directory.
//
// Two species, one product, PACF 20. The coefficient file makes the trees easy to follow by
// hand: the ground height is the LiDAR height (equations 3 and 4 are H = 0 + 1 * h^1), species 1
// has a DBH of 10 inches and species 2 of 5 inches whatever the height (equation 1 with b1 = 0),
// and the volume is H for species 1 and 2H for species 2 (equation 5).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/Session.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {

// A host that also keeps every line appended to the log, since the step replaces the log at its
// end, and the longest the log ever was before a line was added.
struct RecordingHost : FakeHost {
    std::vector<std::string> appended;
    std::size_t longestBeforeAppend = 0;
    int clears = 0;
    void appendLog(std::string_view line) override;
    void setLog(std::string_view text) override;
};

class Phase1Data {
  public:
    Phase1Data();

    TempDir dir;
    Session session;

    std::filesystem::path out(std::string_view suffix) const { return session.dataSetFile(suffix); }
    std::filesystem::path high() const { return dir / "high.csv"; }
    std::filesystem::path low() const { return dir / "low.csv"; }

    void writeCoefficients(const std::vector<std::string>& records);  // one record per entry
    void writeStandardCoefficients();
    void writeDbh(const std::string& text);
    void writeStrata(const std::string& text);
    void writeSpecies(const std::string& text);
    void writeHigh(const std::string& text);
    void writeLow(const std::string& text);
    // The standard coefficient and DBH files (both species from 0 to 99 inches in product 1).
    void writeStandardSetUp();

    // Runs the step with a fresh host.
    bool run(RecordingHost& host);
};

// The lines of a comma-style file, without their CR LF.
std::vector<std::string> fileLines(const std::filesystem::path& file);

}  // namespace orr::test
