// Record counters of the select dialogs.
#include <gtest/gtest.h>

#include "setup/formats/InputFiles.h"
#include "tests/support/TestFiles.h"

namespace orr {
namespace {

using test::TempDir;
using test::writeFile;

std::string records(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "1,2,3,4\r\n";
    return text;
}

TEST(RecordCounts, CoefficientSpeciesAreTheRecordsDividedByFiveRounded) {
    TempDir dir;
    writeFile(dir / "c.csv", records(10));
    EXPECT_EQ(countCoefficientSpecies(dir / "c.csv"), 2);
    writeFile(dir / "c.csv", records(11));  // 2.2
    EXPECT_EQ(countCoefficientSpecies(dir / "c.csv"), 2);
    writeFile(dir / "c.csv", records(13));  // 2.6
    EXPECT_EQ(countCoefficientSpecies(dir / "c.csv"), 3);
    writeFile(dir / "c.csv", records(15));
    EXPECT_EQ(countCoefficientSpecies(dir / "c.csv"), 3);
}

TEST(RecordCounts, GroupsOfFourFieldsCountNotLines) {
    TempDir dir;
    // Ten records of four fields laid out as eight fields per line; a last group of three
    // fields is not a record.
    std::string text;
    for (int i = 0; i < 5; ++i) text += "1,2,3,4,5,6,7,8\r\n";
    writeFile(dir / "c.csv", text + "1,2,3\r\n");
    EXPECT_EQ(countCoefficientSpecies(dir / "c.csv"), 2);
}

TEST(RecordCounts, DbhProductsAreTheRecordsDividedByMaxSpecHalvesToEven) {
    TempDir dir;
    writeFile(dir / "d.csv", records(6));
    EXPECT_EQ(countDbhProducts(dir / "d.csv", 2), 3);
    writeFile(dir / "d.csv", records(5));  // 2.5 -> 2
    EXPECT_EQ(countDbhProducts(dir / "d.csv", 2), 2);
    writeFile(dir / "d.csv", records(7));  // 3.5 -> 4
    EXPECT_EQ(countDbhProducts(dir / "d.csv", 2), 4);
}

TEST(RecordCounts, DbhCountWithNoSpeciesIsAMismatch) {
    TempDir dir;
    writeFile(dir / "d.csv", records(6));
    EXPECT_EQ(countDbhProducts(dir / "d.csv", 0), std::nullopt);
}

TEST(RecordCounts, AnEmptyFileCountsNothing) {
    TempDir dir;
    writeFile(dir / "e.csv", "");
    EXPECT_EQ(countCoefficientSpecies(dir / "e.csv"), 0);
    EXPECT_EQ(countDbhProducts(dir / "e.csv", 2), 0);
}

}  // namespace
}  // namespace orr
