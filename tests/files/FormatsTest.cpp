// The coefficient, strata and DBH files: the strata writer's rounding and repeats (the grid tests
// save through all three writers), and the readers and record counters with their messages
// naming file, record, field and text.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/InputError.h"
#include "files/CoefficientFile.h"
#include "files/DbhFile.h"
#include "files/StrataFile.h"
#include "files/StrataRanges.h"
#include "tests/support/TestFiles.h"

namespace orr {
namespace {

using namespace orr::test;
using Row4 = std::array<std::string, 4>;

TEST(Writers, StrataFileRepeatsTheValueAboveAndRoundsHalvesToEven) {
    TempDir dir;
    writeStrataFile(dir / "s.csv", {{"1", "1", "100", "20"},
                                    {"2.5", " 7.6 ", "", "-2.5"},
                                    {"", "-0.6", "6.5", "0.4"},
                                    {"3.5", "", "32767.4", "-32768"}});
    EXPECT_EQ(readFile(dir / "s.csv"),
              crlf({"1,1,100,20", "2,8,100,-2", "2,-1,6,0", "4,-1,32767,-32768"}));
    std::vector<Row4> many;  // one plot each, 999 strata
    for (int i = 1; i <= 999; ++i) many.push_back({std::to_string(i), "1", "1", "1"});
    writeStrataFile(dir / "999.csv", many);
    EXPECT_EQ(readStrataFile(dir / "999.csv").size(), 999u);
}

// Five blocks of MaxSpec records, species 0 all zeros, records past the last block not read.
TEST(Readers, CoefficientFileIsFiveBlocksOfMaxSpecRecordsAcrossLines) {
    TempDir dir;
    writeFile(dir / "c.csv",
              "1,2,3,4\r\n5,6,7,8\r\n.5, -1.5 ,\"2\",0\r\n9,9,9,9\r\n"
              "0,0,0,0\r\n0,0,0,0\r\n0,0,0,0\r\n0,0,0,0\r\n10,11\r\n12,13\r\n14,15,16,17\r\n"
              "99,99,99,99\r\n");
    const CoefficientTable t = readCoefficientFile(dir / "c.csv", 2);
    using Coeff = std::array<double, 4>;
    EXPECT_EQ(t.at(1, 2), (Coeff{5, 6, 7, 8}));
    EXPECT_EQ(t.at(2, 1), (Coeff{0.5, -1.5, 2, 0}));
    EXPECT_EQ(t.at(5, 1), (Coeff{10, 11, 12, 13}));
    EXPECT_EQ(t.at(5, 2), (Coeff{14, 15, 16, 17}));
    for (int equation = 1; equation <= 5; ++equation) EXPECT_EQ(t.at(equation, 0), (Coeff{}));
}

TEST(Readers, DbhFileALaterRecordReplacesAnEarlierOne) {
    TempDir dir;
    writeFile(dir / "d.csv",
              crlf({"1,1,\"4.5\",\"9\"", "1,2,9,12", "2,1,0,0", "1,1,5,\" 10 \"", "2,2,3,4"}));
    const DbhLimits d = loadDbhLimits(dir / "d.csv", 2, 2, "DS");
    EXPECT_EQ(std::pair(d.min(1, 1), d.max(1, 1)), std::pair(5.0, 10.0));
    EXPECT_EQ(std::pair(d.min(1, 2), d.max(1, 2)), std::pair(9.0, 12.0));
    EXPECT_EQ(std::pair(d.min(2, 2), d.max(2, 2)), std::pair(3.0, 4.0));
}

TEST(Readers, BadInputNamesFileRecordFieldAndText) {
    std::string thousandStrata;
    for (int i = 1; i <= 1000; ++i) thousandStrata += std::to_string(i) + ",1,2,3\r\n";
    auto coeff = [](auto f) { readCoefficientFile(f, 1); };
    auto dbh = [](auto f) { loadDbhLimits(f, 2, 3, "DS"); };
    auto strata = [](auto f) { readStrataFile(f); };
    const std::vector<std::tuple<std::string, std::function<void(const std::filesystem::path&)>,
                                 std::vector<std::string>>>
        cases = {
            {crlf({"1,2,3,4", "1,2,3,4", "1,2,3,4"}),
             coeff,
             {"3 coefficient records", "5 (5 equations of 1 species)"}},
            {crlf({"1,2,3,4", "1,2,abc,4", "1,2,3,4", "1,2,3,4", "1,2,3,4"}),
             coeff,
             {"record 2", "(b2)", "\"abc\""}},
            {crlf({"1,1,1,2", "3,1,1,2"}), dbh, {"record 2", "field 1 (Species): \"3\""}},
            {crlf({"1,1,1,2", "2,4,1,2"}), dbh, {"record 2", "field 2 (Product): \"4\""}},
            {crlf({"1,1,1,2", "2,1,x,2"}), dbh, {"record 2", "field 3 (Min DBH): \"x\""}},
            {crlf({"1,1,100,30", "2,101,3000000000,30"}),
             strata,
             {"record 2", "End Plot", "\"3000000000\""}},
            {crlf({"1,1,100,30", "2,101,200,40000"}), strata, {"record 2", "Avg age", "\"40000\""}},
            {thousandStrata, strata, {"record 1000", "999"}},
        };
    for (const auto& [content, read, fragments] : cases) {
        SCOPED_TRACE(fragments.back());
        TempDir dir;
        writeFile(dir / "in.csv", content);
        try {
            read(dir / "in.csv");
            ADD_FAILURE() << "no error";
        } catch (const InputError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("in.csv"), std::string::npos) << message;
            for (const std::string& fragment : fragments)
                EXPECT_NE(message.find(fragment), std::string::npos) << message;
        }
    }
}

TEST(RecordCounts, FourFieldGroupsDividedAndRoundedHalfToEven) {
    TempDir dir;
    auto records = [&](int n) {
        std::string text;
        for (int i = 0; i < n; ++i) text += "1,2,3,4\r\n";
        writeFile(dir / "f.csv", text);
        return dir / "f.csv";
    };
    // Coefficient species: records / 5; DBH products: records / MaxSpec (2 here).
    for (auto [n, species] : std::vector<std::pair<int, long>>{{0, 0}, {10, 2}, {11, 2}, {13, 3}})
        EXPECT_EQ(countCoefficientSpecies(records(n)), species) << n;
    for (auto [n, products] : std::vector<std::pair<int, long>>{{0, 0}, {6, 3}, {5, 2}, {7, 4}})
        EXPECT_EQ(countDbhProducts(records(n), 2), products) << n;
    EXPECT_EQ(countDbhProducts(records(6), 0), std::nullopt);  // no species: a mismatch
    // Groups count, not lines: ten records as eight fields a line, and a last group of three.
    std::string text;
    for (int i = 0; i < 5; ++i) text += "1,2,3,4,5,6,7,8\r\n";
    writeFile(dir / "g.csv", text + "1,2,3\r\n");
    EXPECT_EQ(countCoefficientSpecies(dir / "g.csv"), 2);
}

// The three rules the steps resolve overlapping strata ranges by, against their plain meaning
// (a search of the rows in file order) for every plot around the rows' ends: overlaps, a range of
// one plot, a row holding no plot (begin after end) and a range up to the largest plot number.
TEST(StrataRanges, FirstLastAndEveryRowHoldingAPlot) {
    const StrataTable rows = {{1, 1, 10, 5},  {2, 5, 15, 6},  {3, 8, 8, 7},
                              {4, 20, 19, 8}, {5, 12, 30, 9}, {6, 2147483640, 2147483647, 10}};
    const StrataRanges ranges(rows);
    std::vector<std::int64_t> plots;
    for (std::int64_t p = -2; p <= 33; ++p) plots.push_back(p);
    for (std::int64_t p = 2147483638; p <= 2147483648; ++p) plots.push_back(p);
    // Rows told by their position in the file, -1 for none.
    const auto position = [&](const StrataRow* row) {
        return row == nullptr ? -1 : static_cast<int>(row - ranges.rows().data());
    };
    for (const std::int64_t plot : plots) {
        std::vector<int> holding;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].beginPlot <= plot && plot <= rows[i].endPlot) {
                holding.push_back(static_cast<int>(i));
            }
        }
        std::vector<int> visited;
        ranges.forEveryRowHolding(plot,
                                  [&](const StrataRow& row) { visited.push_back(position(&row)); });
        EXPECT_EQ(visited, holding) << "plot " << plot;
        EXPECT_EQ(position(ranges.firstRowHolding(plot)), holding.empty() ? -1 : holding.front())
            << "plot " << plot;
        EXPECT_EQ(position(ranges.lastRowHolding(plot)), holding.empty() ? -1 : holding.back())
            << "plot " << plot;
    }
    EXPECT_EQ(StrataRanges().firstRowHolding(1), nullptr);  // an empty strata file holds nothing
}

}  // namespace
}  // namespace orr
