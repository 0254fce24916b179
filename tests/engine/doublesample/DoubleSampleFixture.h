// A data directory with the inputs of step 9 written by the test, and a scripted host.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Session.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {

class DoubleSampleTest : public ::testing::Test {
  protected:
    DoubleSampleTest();

    // Writes a data-set file (DataSetName + suffix) or the strata or tree file; each line gets
    // CR LF.
    void writeDataSetFile(const std::string& suffix, const std::vector<std::string>& lines);
    void writeStrata(const std::vector<std::string>& lines);
    void writeTrees(const std::vector<std::string>& lines);
    std::string dataSetFile(const std::string& suffix) const;

    // Runs step 9 and expects it to complete without a message.
    void runExpectingSuccess();

    // The lines of a report joined with CR LF.
    static std::string lines(const std::vector<std::string>& text) { return crlf(text); }

    // A small valid data set ("T2": three strata, MaxSpec 2, MaxProd 2, MaxPlots 30): a plot in
    // two strata rows, plots in no stratum, no DataSet 2 Phase 1 file, a stratum whose
    // regressions all have negative slopes.
    void writeThreeStrata();

    TempDir dir;
    Session session;
    FakeHost host;
};

}  // namespace orr::test
