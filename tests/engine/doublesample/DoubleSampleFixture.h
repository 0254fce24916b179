// A data directory with the inputs of step 9 written by the test (MaxSpec 2, MaxProd 2), a
// scripted host, and the fixed texts of the two reports.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/doublesample/DoubleSampleStep.h"
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

// The ground lines of a regression report section, before the value's text.
inline const std::string kGrnDs1 = "      Grn Volume-DS1" + std::string(28, ' '),
                         kGrnDs2 = "      Grn Volume-DS2" + std::string(28, ' '),
                         kGround = "      Ground Volume" + std::string(29, ' ');

class DoubleSampleTest : public ::testing::Test {
  protected:
    DoubleSampleTest() {
        session.appDir = dir.path();
        std::filesystem::create_directories(session.dataFilesDir());
        session.params = ParamRecord::defaults();
        session.params.MaxSpec = session.params.MaxProd = 2;
    }

    // Writes a data-set file or the strata or tree file; each line gets CR LF.
    void write(DataSetFile file, const std::vector<std::string>& lines) {
        writeFile(path(file), crlf(lines));
    }
    void writeStrata(const std::vector<std::string>& lines) {
        session.inputs.strata = dir / "strata.csv";
        writeFile(session.inputs.strata, crlf(lines));
    }
    void writeTrees(const std::vector<std::string>& lines) {
        session.inputs.trees = dir / "trees.csv";
        writeFile(session.inputs.trees, crlf(lines));
    }
    std::filesystem::path path(DataSetFile file) const {
        return files::path(session.dataFilesDir(), session.dataSetName, file);
    }
    std::string read(DataSetFile file) const { return readFile(path(file)); }

    // Runs step 9 through the runner; true when it completed.
    bool run() { return runStep(9, &computeDoubleSample, session, host).completed(); }
    // Runs step 9 and expects it to complete without a message.
    void runExpectingSuccess() {
        ASSERT_TRUE(run());
        for (const auto& m : host.messages) ADD_FAILURE() << "unexpected message: " << m.text;
    }

    // One stratum covering every plot ("T1", MaxPlots 20): DataSet 1 on plots 1-4 with y = 10 x,
    // DataSet 2 on plots 5-8 with y = 100 + 5 x (values worked out in DoubleSampleStepTest.cpp).
    void writeSingleStratum() {
        session.dataSetName = "T1";
        session.params.MaxPlots = 20;
        writeStrata({"1,1,20,30"});
        write(DataSetFile::Phase2, {"1,40,10,100,20,10,50,0,0,0", "2,40,12,120,20,12,50,0,0,0",
                                    "3,40,14,140,20,14,50,0,0,0", "4,40,16,160,20,16,50,0,0,0",
                                    "5,40,20,200,0,0,0,20,20,50", "6,40,22,210,0,0,0,20,22,50",
                                    "7,40,24,220,0,0,0,20,24,50", "8,40,26,230,0,0,0,20,26,50"});
        write(DataSetFile::Phase1DS1, {"1,1,20,20,100", "1,2,20,5.75,100", "2,1,20,25,100",
                                       "3,1,20,26,100", "4,1,20,26.25,100", "9,1,0,0,999"});
        write(DataSetFile::Phase1DS2,
              {"5,1,20,18,60", "6,1,20,18.5,60", "7,1,20,18.5,60", "8,1,20,19,60"});
        write(DataSetFile::PlotClasses,
              {"1,1,1,20,6,60,50,60,60", "1,2,2,20,4,40,50,40,40", "2,1,1,20,6,70,50,50,58.33",
               "2,2,2,20,6,50,50,50,41.67", "3,1,1,20,8,80,50,57.14,57.14",
               "3,2,2,20,6,60,50,42.86,42.86", "4,1,1,20,8,90,50,50,56.25",
               "4,2,2,20,8,70,50,50,43.75", "5,1,1,40,20,200,100,100,100",
               "6,1,1,20,10,100,50,45.45,47.62", "6,1,2,20,12,110,50,54.55,52.38",
               "7,1,2,40,24,220,100,100,100", "8,1,1,20,12,115,50,46.15,50",
               "8,2,2,20,14,115,50,53.85,50"});
        // The summary holds the means rounded to 2 decimals, as step 5 writes them.
        write(DataSetFile::Phase2Summary,
              {"1,1,20,8.75,89.38,8", "1,2,7.5,4.5,41.25,8", "2,2,12.5,4.75,41.88,8"});
        // Heights: (1,1) 60 and 70, (1,2) 80, (2,2) 50 and 55. A height of 0 is not measured
        // and left out.
        writeTrees({"1,1,1,10,60,30,0,0", "2,1,1,9,0,30,0,0", "5,1,1,11,70,30,0,0",
                    "7,1,2,12,80,30,0,0", "3,2,2,8,50,30,0,0", "8,2,2,8.5,55,30,0,0"});
    }

    // A small valid data set ("T2": three strata, MaxPlots 30): a plot in two strata rows, plots
    // in no stratum, no DataSet 2 Phase 1 file, a stratum whose regressions all have negative
    // slopes.
    void writeThreeStrata() {
        session.dataSetName = "T2";
        session.params.MaxPlots = 30;
        // Plot 5 lies in the ranges of rows 1 and 4: the later row puts it in stratum 2. Plots 26
        // to 30 lie in no stratum.
        writeStrata({"1,1,10,30", "2,11,20,30", "3,21,25,30", "2,5,5,30"});
        // plot, species, N, BA, VOL. Plot 3 has two records and counts once; plot 29 has N and BA 0
        // and counts nowhere.
        write(DataSetFile::Phase1DS1,
              {"1,1,20,5,50",    "2,1,20,6,60",    "3,1,20,7,70",    "3,2,10,1,8",
               "4,1,20,8,80",    "5,1,20,10,110",  "6,1,20,6,55",    "7,1,20,5,45",
               "8,1,20,9,90",    "9,1,20,7,65",    "10,1,20,6,60",   "11,1,20,12,130",
               "12,1,20,10,100", "13,1,20,11,125", "15,1,20,12,135", "17,1,20,9,100",
               "21,1,20,7,50",   "22,1,20,6,45",   "24,1,20,8,60",   "26,1,20,15,180",
               "28,1,20,14,160", "29,1,0,0,10",    "30,1,20,16,200"});
        // PLOT, GN, GBA, GVOL, L1N, L1BA, L1VOL, L2N, L2BA, L2VOL. Plot 7 has no LiDAR values; plot
        // 14 has no ground trees; plots 1 to 3 carry DataSet 2 values.
        write(DataSetFile::Phase2,
              {"1,40,5,50,20,5,45,10,4,40", "2,40,7,70,20,6,60,10,5,55",
               "3,40,9,90,20,8,85,10,7,80", "4,40,8,80,20,7,80,0,0,0",
               "5,40,12,120,20,10,110,0,0,0", "6,40,6,60,20,6,50,0,0,0", "7,40,6.5,65,0,0,0,0,0,0",
               "11,40,15,150,20,12,140,0,0,0", "12,40,10,100,20,9,105,0,0,0",
               "13,40,13,130,20,11,120,0,0,0", "14,0,0,5,20,5,50,0,0,0", "21,40,4,40,20,8,60,0,0,0",
               "22,40,6,60,20,6,40,0,0,0", "23,40,5,50,20,7,50,0,0,0",
               "26,40,20,200,20,15,190,0,0,0", "27,40,18,180,20,14,170,0,0,0"});
        write(DataSetFile::PlotClasses,
              {"1,1,1,40,5,50,100,100,100", "2,1,1,40,7,70,100,100,100",
               "3,1,1,20,4,40,50,44.44,44.44", "3,1,2,20,5,50,50,55.56,55.56",
               "4,1,2,40,8,80,100,100,100", "5,1,1,40,12,120,100,100,100",
               "6,1,1,40,6,60,100,100,100", "7,1,1,40,6.5,65,100,100,100",
               "11,1,2,40,15,150,100,100,100", "12,1,1,40,10,100,100,100,100",
               "13,1,1,20,6,60,50,46.15,46.15", "13,1,2,20,7,70,50,53.85,53.85",
               "21,1,1,40,4,40,100,100,100", "22,1,1,40,6,60,100,100,100",
               "23,1,1,40,5,50,100,100,100", "26,1,2,40,20,200,100,100,100",
               "27,1,1,40,18,180,100,100,100"});
        write(DataSetFile::Phase2Summary, {"1,1,29.33,5.97,59.67,15", "1,2,10.67,3.67,36.67,15"});
        // Plots 26 and 27 lie in no stratum: their trees count once, at index 0.
        writeTrees({"1,1,1,10,50,30,0,0", "5,1,1,11,60,30,0,0", "27,1,1,14,70,30,0,0",
                    "21,1,1,9,40,30,0,0", "4,1,2,12,55,30,0,0", "11,1,2,13,65,30,0,0",
                    "26,1,2,15,75,30,0,0"});
    }

    TempDir dir;
    Session session;
    FakeHost host;
};

}  // namespace orr::test
