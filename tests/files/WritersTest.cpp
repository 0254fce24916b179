// Writers of the coefficient, strata and DBH files: the editors' cell texts to exact files.
#include "tests/files/FormatsSupport.h"

namespace orr {
namespace {

using namespace orr::test;
using Row4 = std::array<std::string, 4>;
using Row2 = std::array<std::string, 2>;

TEST(Writers, CoefficientFileHoldsTheShortestFloatTextWithZerosForEmptyAndDash) {
    TempDir dir;
    writeCoefficientFile(dir / "c.csv", {{"0.123456789", "-1234.5", ".5", "-"},
                                         {"", "0.1", "1e-5", ""},
                                         {"1", "2", "3", "4"},
                                         {" 4.5 ", "-0.25", "0", "0.75"},
                                         {"5", "", "", "-"}});
    EXPECT_EQ(readFile(dir / "c.csv"), crlf({"0.1234568,-1234.5,0.5,0", "0,0.1,0.00001,0",
                                             "1,2,3,4", "4.5,-0.25,0,0.75", "5,0,0,0"}));
}

TEST(Writers, StrataFileRepeatsTheValueAboveAndRoundsHalvesToEven) {
    TempDir dir;
    writeStrataFile(dir / "s.csv", {{"", "1", "", "20"},
                                    {"", "", "", ""},
                                    {"2.5", " 7.6 ", "-2.5", "0.4"},
                                    {"", "-0.6", "32767.4", "-32768"},
                                    {"3.5", "", "9", ""}});
    EXPECT_EQ(readFile(dir / "s.csv"),
              crlf({"0,1,0,20", "0,1,0,20", "2,8,-2,0", "2,-1,32767,-32768", "4,-1,9,-32768"}));
    writeStrataFile(dir / "999.csv", std::vector<Row4>(999, Row4{"1", "1", "1", "1"}));
    EXPECT_EQ(readFile(dir / "999.csv").size(), 999u * 9u);
}

TEST(Writers, DbhFileQuotesEnteredTextsAndWritesUnquotedZeroForEmptyCells) {
    TempDir dir;
    writeDbhFile(dir / "d.csv", 2, 3, {{"0", "4.5"}, {}, {}, {"4.5", "9"}, {".5", ""}, {}});
    EXPECT_EQ(readFile(dir / "d.csv"), crlf({"1,1,\"0\",\"4.5\"", "1,2,0,0", "1,3,0,0",
                                             "2,1,\"4.5\",\"9\"", "2,2,\".5\",0", "2,3,0,0"}));
    EXPECT_THROW(writeDbhFile(dir / "e.csv", 2, 3, std::vector<Row2>(5)), std::invalid_argument);
}

TEST(Writers, ARefusedCellNamesRowAndColumnAndLeavesTheOldFileWhole) {
    std::vector<Row4> coefficients(5, Row4{"1", "2", "3", "4"});
    auto coefficientsWith = [&](int row, int column, const std::string& text) {
        std::vector<Row4> rows = coefficients;
        rows[row][column] = text;
        return rows;
    };
    struct Case {
        std::function<void(const std::filesystem::path&)> write;
        std::string message;
    };
    const std::vector<Case> cases = {
        {[&](auto f) { writeCoefficientFile(f, coefficientsWith(4, 0, "-")); },
         "Row 5, column 1: \"-\" is not a number"},
        {[&](auto f) { writeCoefficientFile(f, coefficientsWith(2, 1, "x1")); },
         "Row 3, column 2: \"x1\" is not a number"},
        {[&](auto f) { writeCoefficientFile(f, coefficientsWith(4, 3, "1e39")); }, "\"1e39\""},
        {[](auto f) {
             writeDbhFile(f, 2, 2, {{}, {}, {"3", "ten"}, {}});
         },
         "Row 3, column 3: \"ten\" is not a number"},
        {[](auto f) {
             writeStrataFile(f, {{"1", "1", "10", "5"}, {"2", "11", "2147483647.5", "5"}});
         },
         "Row 2, column 2: \"2147483647.5\" is outside -2147483648..2147483647"},
        {[](auto f) {
             writeStrataFile(f, {{"1", "1", "-40000", "-40000"}});
         },
         "Row 1, column 3: \"-40000\" is outside -32768..32767"},
        {[](auto f) {
             writeStrataFile(f, {{"1", "1", "10", "5"}, {"2", "11", "20", "ten"}});
         },
         "Row 2, column 3: \"ten\" is not a number"},
        {[](auto f) {
             writeStrataFile(f, std::vector<Row4>(1000, Row4{"1", "1", "1", "1"}));
         },
         "999"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        TempDir dir;
        writeFile(dir / "f.csv", "old\r\n");
        expectError<CellError>([&] { c.write(dir / "f.csv"); }, {c.message});
        EXPECT_EQ(readFile(dir / "f.csv"), "old\r\n");
    }
}

}  // namespace
}  // namespace orr
