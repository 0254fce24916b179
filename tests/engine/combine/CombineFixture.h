// A data directory with the data set "ORV" for the tests of step 8.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/Session.h"
#include "engine/combine/Combine.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestFiles.h"

namespace orr::test {

class CombineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        session.appDir = dir.path();
        std::filesystem::create_directories(session.dataFilesDir());
        session.DataSetName = "ORV";
        session.params = ParamRecord::defaults();
    }

    void setLimits(int maxSpec, int maxProd, int maxPlots) {
        session.params.MaxSpec = static_cast<std::int16_t>(maxSpec);
        session.params.MaxProd = static_cast<std::int16_t>(maxProd);
        session.params.MaxPlots = static_cast<std::int16_t>(maxPlots);
    }

    std::filesystem::path file(std::string_view suffix) const {
        return session.dataSetFile(suffix);
    }
    void write(std::string_view suffix, std::string_view content) {
        writeFile(file(suffix), content);
    }
    std::string read(std::string_view suffix) const { return readFile(file(suffix)); }
    bool exists(std::string_view suffix) const { return std::filesystem::exists(file(suffix)); }

    static constexpr std::string_view kRule = "--------------------------------------------------";
    static constexpr std::string_view kHeader = "Species Product   N       BA      Vol     plots";

    TempDir dir;
    Session session;
    FakeHost host;
};

}  // namespace orr::test
