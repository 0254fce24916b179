// The DBH file: species and product from the loop, entered texts quoted, empty cells 0.
#include <gtest/gtest.h>

#include "core/InputError.h"
#include "setup/formats/InputFiles.h"
#include "tests/support/TestFiles.h"

namespace orr {
namespace {

using Row = std::array<std::string, 2>;
using test::crlf;
using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(DbhWriter, AnEmptyGridWritesEveryClassWithUnquotedZeros) {
    TempDir dir;
    writeDbhFile(dir / "d.csv", 2, 3, std::vector<Row>(6));
    EXPECT_EQ(readFile(dir / "d.csv"),
              crlf({"1,1,0,0", "1,2,0,0", "1,3,0,0", "2,1,0,0", "2,2,0,0", "2,3,0,0"}));
}

TEST(DbhWriter, EnteredTextsAreQuotedAsEntered) {
    TempDir dir;
    std::vector<Row> rows(6);
    rows[0] = {"0", "4.5"};
    rows[3] = {"4.5", "9"};
    rows[4] = {".5", ""};
    writeDbhFile(dir / "d.csv", 2, 3, rows);
    EXPECT_EQ(readFile(dir / "d.csv"), crlf({"1,1,\"0\",\"4.5\"", "1,2,0,0", "1,3,0,0",
                                             "2,1,\"4.5\",\"9\"", "2,2,\".5\",0", "2,3,0,0"}));
}

TEST(DbhWriter, RefusesATextCellNamingItsRowAndColumn) {
    TempDir dir;
    std::vector<Row> rows(4);
    rows[2] = {"3", "ten"};
    try {
        writeDbhFile(dir / "d.csv", 2, 2, rows);
        FAIL() << "ten was accepted";
    } catch (const CellError& e) {
        EXPECT_EQ(e.row, 3);
        EXPECT_EQ(e.column, 3);
        EXPECT_STREQ(e.what(), "Row 3, column 3: \"ten\" is not a number");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "d.csv"));
}

TEST(DbhWriter, RowsMustMatchTheClasses) {
    TempDir dir;
    EXPECT_THROW(writeDbhFile(dir / "d.csv", 2, 3, std::vector<Row>(5)), std::invalid_argument);
}

TEST(DbhReader, ReadsLimitsByClassAndALaterRecordReplacesAnEarlierOne) {
    TempDir dir;
    writeFile(dir / "d.csv", crlf({"1,1,\"4.5\",\"9\"", "1,2,9,12", "2,1,0,0", "1,1,5,\" 10 \""}));
    const DbhLimits d = readDbhFile(dir / "d.csv", 2, 2);
    EXPECT_EQ(d.min(1, 1), 5.0);
    EXPECT_EQ(d.max(1, 1), 10.0);
    EXPECT_EQ(d.min(1, 2), 9.0);
    EXPECT_EQ(d.max(1, 2), 12.0);
    EXPECT_EQ(d.max(2, 2), 0.0);  // a class the file does not name
    EXPECT_EQ(d.max(0, 0), 0.0);
}

void expectCodeError(const std::string& record, const std::string& expected) {
    TempDir dir;
    writeFile(dir / "dbh.csv", crlf({"1,1,1,2", record}));
    try {
        readDbhFile(dir / "dbh.csv", 2, 3);
        FAIL() << record << " was read";
    } catch (const InputError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("dbh.csv"), std::string::npos) << message;
        EXPECT_NE(message.find("record 2"), std::string::npos) << message;
        EXPECT_NE(message.find(expected), std::string::npos) << message;
    }
}

TEST(DbhReader, CodesOutsideTheirRangesAreErrors) {
    expectCodeError("3,1,1,2", "field 1 (Species): \"3\"");
    expectCodeError("0,1,1,2", "field 1 (Species): \"0\"");
    expectCodeError("2,4,1,2", "field 2 (Product): \"4\"");
    expectCodeError("2,-1,1,2", "field 2 (Product): \"-1\"");
    expectCodeError("2,1,x,2", "field 3 (Min DBH): \"x\"");
}

TEST(DbhReader, WhatTheWriterWritesReadsBack) {
    TempDir dir;
    std::vector<Row> rows(2);
    rows[1] = {"4.5", ".5"};
    writeDbhFile(dir / "d.csv", 1, 2, rows);
    const DbhLimits d = readDbhFile(dir / "d.csv", 1, 2);
    EXPECT_EQ(d.min(1, 2), 4.5);
    EXPECT_EQ(d.max(1, 2), 0.5);
    EXPECT_EQ(d.min(1, 1), 0.0);
}

}  // namespace
}  // namespace orr
