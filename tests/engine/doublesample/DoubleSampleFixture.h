// A data directory with the inputs of step 9 written by the test, a scripted host, and the fixed
// texts of the two reports.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/DataSetFiles.h"
#include "model/session/Session.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {

using files::DataSetFile;

inline const std::string kRegressHeader =
    "St    Depend  Independ          Beta    IdxFt   YbarLR  S_ybarLR  Rho     SE     N1      "
    "N2L   N2G";
inline const std::string kVariableHeader =
    "St    Variable                          Phase1  Phase2  CV                       N_rs    N1 "
    "   N2";
inline const std::string kCombinedHeader =
    "St    Depend  Independ                          YbarLR  S_ybarLR          SE";
inline const std::string kStratVolHeader =
    "STRATA          YBarLR    S_yBarLR  SE      Sp    Pr  %BADis  %VolDis   N     BA     Hgt    "
    " Vol";
inline const std::string k9(9, ' '), k16(16, ' '), k17(17, ' '), k44(44, ' '), k45(45, ' ');

// The ground lines of a regression report section, ending in the value's text.
inline std::string grnDs1(const std::string& v) {
    return "      Grn Volume-DS1" + std::string(28, ' ') + v;
}
inline std::string grnDs2(const std::string& v) {
    return "      Grn Volume-DS2" + std::string(28, ' ') + v;
}
inline std::string ground(const std::string& v) {
    return "      Ground Volume" + std::string(29, ' ') + v;
}

class DoubleSampleTest : public ::testing::Test {
  protected:
    DoubleSampleTest();

    // Writes a data-set file or the strata or tree file; each line gets CR LF.
    void write(DataSetFile file, const std::vector<std::string>& lines);
    void writeStrata(const std::vector<std::string>& lines);
    void writeTrees(const std::vector<std::string>& lines);
    std::filesystem::path path(DataSetFile file) const;
    std::string read(DataSetFile file) const { return readFile(path(file)); }

    // Runs step 9 through the runner; true when it completed.
    bool run();
    // Runs step 9 and expects it to complete without a message.
    void runExpectingSuccess();

    // One stratum covering every plot ("T1", MaxSpec 2, MaxProd 2, MaxPlots 20): DataSet 1 on
    // plots 1-4 with y = 10 x, DataSet 2 on plots 5-8 with y = 100 + 5 x (see
    // DoubleSampleFilesTest.cpp for the values worked out by hand).
    void writeSingleStratum();
    // A small valid data set ("T2": three strata, MaxSpec 2, MaxProd 2, MaxPlots 30): a plot in
    // two strata rows, plots in no stratum, no DataSet 2 Phase 1 file, a stratum whose
    // regressions all have negative slopes.
    void writeThreeStrata();

    TempDir dir;
    Session session;
    FakeHost host;
};

}  // namespace orr::test
