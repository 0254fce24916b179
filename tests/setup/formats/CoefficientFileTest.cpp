// The coefficient file: writing the editor's cells, reading the five blocks back.
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

// Ten rows for two species: block k, species s holds the cells "k", "s", "", "-" unless changed.
std::vector<Row> plainRows() {
    std::vector<Row> rows;
    for (int block = 1; block <= 5; ++block) {
        for (int species = 1; species <= 2; ++species) {
            rows.push_back({std::to_string(block), std::to_string(species), "", "-"});
        }
    }
    return rows;
}

TEST(CoefficientWriter, WritesTenRecordsBlockBySpeciesWithZerosForEmptyAndDash) {
    TempDir dir;
    std::vector<Row> rows = plainRows();
    rows[2] = {"4.5", "-0.25", ".5", "0.75"};  // species 1 of the height equation
    writeCoefficientFile(dir / "ABC_COEFFIC.csv", rows);
    EXPECT_EQ(readFile(dir / "ABC_COEFFIC.csv"),
              crlf({"1,1,0,0", "1,2,0,0", "4.5,-0.25,0.5,0.75", "2,2,0,0", "3,1,0,0", "3,2,0,0",
                    "4,1,0,0", "4,2,0,0", "5,1,0,0", "5,2,0,0"}));
}

TEST(CoefficientWriter, WritesTheSinglePrecisionValueOfAnEntry) {
    TempDir dir;
    std::vector<Row> rows(5, Row{"0.123456789", "-1234.5", "0.1", "1e-5"});
    writeCoefficientFile(dir / "c.csv", rows);
    // 0.1f is 0.100000001490116..., whose shortest single-precision text is 0.1; numbers are
    // written without an exponent.
    const std::string line = "0.1234568,-1234.5,0.1,0.00001\r\n";
    EXPECT_EQ(readFile(dir / "c.csv"), line + line + line + line + line);
}

TEST(CoefficientWriter, DashCountsAsZeroOnlyInTheB3Column) {
    TempDir dir;
    std::vector<Row> rows(5, Row{"", "", "", ""});
    rows[4] = {"-", "1", "2", "3"};
    try {
        writeCoefficientFile(dir / "c.csv", rows);
        FAIL() << "a dash in b0 was accepted";
    } catch (const CellError& e) {
        EXPECT_EQ(e.row, 5);
        EXPECT_EQ(e.column, 1);
        EXPECT_STREQ(e.what(), "Row 5, column 1: \"-\" is not a number");
    }
}

TEST(CoefficientWriter, RefusesATextCellAndLeavesTheOldFileWhole) {
    TempDir dir;
    writeFile(dir / "c.csv", "old\r\n");
    std::vector<Row> rows = plainRows();
    rows[2][1] = "x1";
    try {
        writeCoefficientFile(dir / "c.csv", rows);
        FAIL() << "x1 was accepted";
    } catch (const CellError& e) {
        EXPECT_EQ(e.row, 3);
        EXPECT_EQ(e.column, 2);
        EXPECT_STREQ(e.what(), "Row 3, column 2: \"x1\" is not a number");
    }
    EXPECT_EQ(readFile(dir / "c.csv"), "old\r\n");
}

TEST(CoefficientWriter, RefusesAValueBeyondSinglePrecision) {
    TempDir dir;
    std::vector<Row> rows = plainRows();
    rows[9][3] = "1e39";
    EXPECT_THROW(writeCoefficientFile(dir / "c.csv", rows), CellError);
    EXPECT_FALSE(std::filesystem::exists(dir / "c.csv"));
}

TEST(CoefficientReader, ReadsFiveBlocksOfMaxSpecRecords) {
    TempDir dir;
    // Records may run over lines and carry blanks and quotes; .5 is read like 0.5.
    writeFile(dir / "c.csv",
              "1,2,3,4\r\n5,6,7,8\r\n.5, -1.5 ,\"2\",0\r\n9,9,9,9\r\n"
              "0,0,0,0\r\n0,0,0,0\r\n0,0,0,0\r\n0,0,0,0\r\n10,11\r\n12,13\r\n14,15,16,17\r\n"
              "99,99,99,99\r\n");
    const CoefficientTable t = readCoefficientFile(dir / "c.csv", 2);
    EXPECT_EQ(t.maxSpec, 2);
    EXPECT_EQ(t.at(1, 1), (std::array<double, 4>{1, 2, 3, 4}));
    EXPECT_EQ(t.at(1, 2), (std::array<double, 4>{5, 6, 7, 8}));
    EXPECT_EQ(t.at(2, 1), (std::array<double, 4>{0.5, -1.5, 2, 0}));
    EXPECT_EQ(t.at(5, 1), (std::array<double, 4>{10, 11, 12, 13}));
    EXPECT_EQ(t.at(5, 2), (std::array<double, 4>{14, 15, 16, 17}));  // the 11th record is not read
    for (int equation = 1; equation <= 5; ++equation) {
        EXPECT_EQ(t.at(equation, 0), (std::array<double, 4>{0, 0, 0, 0}));
    }
}

TEST(CoefficientReader, FewerRecordsThanFiveTimesMaxSpecIsAnError) {
    TempDir dir;
    writeFile(dir / "short.csv", crlf({"1,2,3,4", "1,2,3,4", "1,2,3,4"}));
    try {
        readCoefficientFile(dir / "short.csv", 1);
        FAIL() << "a file of 3 records was taken for 5";
    } catch (const InputError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("short.csv"), std::string::npos) << message;
        EXPECT_NE(message.find("3 coefficient records"), std::string::npos) << message;
        EXPECT_NE(message.find("5 (5 equations of 1 species)"), std::string::npos) << message;
    }
}

TEST(CoefficientReader, ATextWhereANumberBelongsNamesRecordFieldAndText) {
    TempDir dir;
    writeFile(dir / "c.csv", crlf({"1,2,3,4", "1,2,abc,4", "1,2,3,4", "1,2,3,4", "1,2,3,4"}));
    try {
        readCoefficientFile(dir / "c.csv", 1);
        FAIL() << "abc was read as a number";
    } catch (const InputError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("record 2"), std::string::npos) << message;
        EXPECT_NE(message.find("(b2)"), std::string::npos) << message;
        EXPECT_NE(message.find("\"abc\""), std::string::npos) << message;
    }
}

TEST(CoefficientReader, WhatTheWriterWritesReadsBackAsTheFloatValues) {
    TempDir dir;
    std::vector<Row> rows = plainRows();
    rows[9] = {"0.123456789", "-7", "", "2.5e-3"};
    writeCoefficientFile(dir / "c.csv", rows);
    const CoefficientTable t = readCoefficientFile(dir / "c.csv", 2);
    EXPECT_EQ(t.at(5, 2)[0], 0.1234568);  // the file holds the text 0.1234568
    EXPECT_EQ(t.at(5, 2)[1], -7.0);
    EXPECT_EQ(t.at(5, 2)[2], 0.0);
    EXPECT_EQ(t.at(5, 2)[3], 0.0025);
}

}  // namespace
}  // namespace orr
