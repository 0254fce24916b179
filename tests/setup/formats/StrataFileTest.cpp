// The strata file: empty cells repeat the value above, whole numbers half to even, at most 999.
#include <gtest/gtest.h>

#include "core/InputError.h"
#include "setup/formats/InputFiles.h"
#include "tests/support/TestFiles.h"

namespace orr {
namespace {

using Row = std::array<std::string, 4>;
using test::crlf;
using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(StrataWriter, AnEmptyCellRepeatsTheValueAbove) {
    TempDir dir;
    writeStrataFile(dir / "s.csv", {{"1", "1", "100", "30"}, {"2", "101", "250", ""}});
    EXPECT_EQ(readFile(dir / "s.csv"), crlf({"1,1,100,30", "2,101,250,30"}));
}

TEST(StrataWriter, EmptyCellsOfTheFirstRowAreZeroAndAnEmptyRowRepeatsTheRecordBefore) {
    TempDir dir;
    writeStrataFile(dir / "s.csv", {{"", "1", "", "20"}, {"", "", "", ""}, {"3", "", "9", ""}});
    EXPECT_EQ(readFile(dir / "s.csv"), crlf({"0,1,0,20", "0,1,0,20", "3,1,9,20"}));
}

TEST(StrataWriter, RoundsToTheNearestWholeNumberHalvesToEven) {
    TempDir dir;
    writeStrataFile(dir / "s.csv",
                    {{"2.5", "3.5", "-2.5", "0.4"}, {" 7.6 ", "-0.6", "32767.4", "-32768"}});
    EXPECT_EQ(readFile(dir / "s.csv"), crlf({"2,4,-2,0", "8,-1,32767,-32768"}));
}

TEST(StrataWriter, RefusesValuesOutsideSixteenBitsBeforeWriting) {
    TempDir dir;
    writeFile(dir / "s.csv", "old\r\n");
    try {
        writeStrataFile(dir / "s.csv", {{"1", "1", "10", "5"}, {"2", "11", "32767.5", "5"}});
        FAIL() << "32767.5 (rounding to 32768) was accepted";
    } catch (const CellError& e) {
        EXPECT_EQ(e.row, 2);
        EXPECT_EQ(e.column, 2);
        EXPECT_STREQ(e.what(), "Row 2, column 2: \"32767.5\" is outside -32768..32767");
    }
    EXPECT_THROW(writeStrataFile(dir / "s.csv", {{"1", "1", "-40000", "5"}}), CellError);
    EXPECT_EQ(readFile(dir / "s.csv"), "old\r\n");
}

TEST(StrataWriter, RefusesATextCell) {
    TempDir dir;
    try {
        writeStrataFile(dir / "s.csv", {{"1", "1", "10", "5"}, {"2", "11", "20", "ten"}});
        FAIL() << "ten was accepted";
    } catch (const CellError& e) {
        EXPECT_EQ(e.row, 2);
        EXPECT_EQ(e.column, 3);
        EXPECT_STREQ(e.what(), "Row 2, column 3: \"ten\" is not a number");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "s.csv"));
}

TEST(StrataWriter, TakesNineHundredNinetyNineRowsAndRefusesOneThousand) {
    TempDir dir;
    std::vector<Row> rows(999, Row{"1", "1", "1", "1"});
    writeStrataFile(dir / "s.csv", rows);
    EXPECT_EQ(readFile(dir / "s.csv").size(), 999u * 9u);
    rows.push_back(Row{"1", "1", "1", "1"});
    EXPECT_THROW(writeStrataFile(dir / "t.csv", rows), CellError);
    EXPECT_FALSE(std::filesystem::exists(dir / "t.csv"));
}

TEST(StrataReader, ReadsFourSixteenBitIntegersPerRecordToTheEnd) {
    TempDir dir;
    writeFile(dir / "s.csv", "1,1,100,30\r\n2, 101 ,250\n\"35\"\r\n3,251,300,40.5\r\n");
    const StrataTable t = readStrataFile(dir / "s.csv");
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].stratum, 1);
    EXPECT_EQ(t[0].endPlot, 100);
    EXPECT_EQ(t[1].beginPlot, 101);
    EXPECT_EQ(t[1].avgAge, 35);
    EXPECT_EQ(t[2].avgAge, 40);  // 40.5 rounds to the even 40
}

TEST(StrataReader, MoreThan999RecordsIsAnError) {
    TempDir dir;
    std::string text;
    for (int i = 1; i <= 1000; ++i) text += std::to_string(i) + ",1,2,3\r\n";
    writeFile(dir / "s.csv", text);
    try {
        readStrataFile(dir / "s.csv");
        FAIL() << "1000 strata records were read";
    } catch (const InputError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("record 1000"), std::string::npos) << message;
        EXPECT_NE(message.find("999"), std::string::npos) << message;
    }
}

TEST(StrataReader, AValueOutsideSixteenBitsIsAnError) {
    TempDir dir;
    writeFile(dir / "s.csv", crlf({"1,1,100,30", "2,101,40000,30"}));
    try {
        readStrataFile(dir / "s.csv");
        FAIL() << "40000 was read as a 16-bit plot number";
    } catch (const InputError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("record 2"), std::string::npos) << message;
        EXPECT_NE(message.find("End Plot"), std::string::npos) << message;
        EXPECT_NE(message.find("\"40000\""), std::string::npos) << message;
    }
}

}  // namespace
}  // namespace orr
