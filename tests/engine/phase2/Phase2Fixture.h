// A small data set for step 5 whose results are worked out by hand: three species, two
// products, PACF 10, ModelSet 0.
//   height: species 1 H = 10.25 + 2 D, species 2 H = 5 + 3 D, species 3 no equation
//   volume: species 1 V = D^2 H / 64, species 2 V = 2 + D / 2, species 3 V = 0
//   smallest DBH of product 1: species 1 6, species 2 5, species 3 4
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/Session.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {

inline const std::string kCoefficients = crlf({
    "0,0,0,0", "0,0,0,0", "0,0,0,0",           // DBH from height
    "10.25,2,1,0", "5,3,1,0", "0,0,0,0",       // height
    "0,0,0,0", "0,0,0,0", "0,0,0,0",           // ground height, DataSet 1
    "0,0,0,0", "0,0,0,0", "0,0,0,0",           // ground height, DataSet 2
    "0,0,0,0.015625", "2,0.5,0,0", "0,0,0,0",  // volume
});

inline const std::string kDbhLimits = crlf({
    R"(1,1,"6","9.9")",
    R"(1,2,"10","30")",
    R"(2,1,"5","11")",
    R"(2,2,"11.1","30")",
    R"(3,1,"4","30")",
    "3,2,0,0",
});

class Phase2Fixture : public ::testing::Test {
  protected:
    void SetUp() override {
        session.appDir = dir / "app";
        std::filesystem::create_directories(session.dataFilesDir());
        session.DataSetName = "T";
        session.params = ParamRecord::defaults();
        session.params.PACF = 10;
        session.params.MaxSpec = 3;
        session.params.MaxProd = 2;
        session.params.MaxPlots = 10;
        session.CoeffFileName = dir / "coeff.csv";
        session.DBHFileName = dir / "dbh.csv";
        session.TreeInputFileName = dir / "trees.csv";
        writeFile(session.CoeffFileName, kCoefficients);
        writeFile(session.DBHFileName, kDbhLimits);
    }

    std::string output(std::string_view suffix) const {
        return readFile(session.dataSetFile(suffix));
    }
    bool exists(std::string_view suffix) const {
        return std::filesystem::exists(session.dataSetFile(suffix));
    }

    TempDir dir;
    Session session;
    FakeHost host;
};

}  // namespace orr::test
