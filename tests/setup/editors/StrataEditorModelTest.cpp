// The strata editor's grid without a window: rows that grow under the keyboard, 16-bit commits
// with halves to even, and what Save writes or refuses.
#include <gtest/gtest.h>

#include "setup/editors/StrataEditorModel.h"
#include "tests/support/TestFiles.h"

namespace orr::editors {
namespace {

using test::crlf;
using test::readFile;
using test::TempDir;
using test::writeFile;

KeyOutcome type(GridEditorModel& grid, const std::string& text, EditorKey key) {
    grid.setEditorText(text);
    return grid.handleKey(key);
}

void typeRow(GridEditorModel& grid, std::initializer_list<std::string> values) {
    for (const std::string& v : values) type(grid, v, EditorKey::Enter);
}

TEST(StrataEditorLayout, HeadingsAndOneEmptyRowStartingAtColumnZero) {
    StrataEditorModel grid;
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.columnCount(), 4);
    EXPECT_EQ(grid.cell(0, 0), "Strata");
    EXPECT_EQ(grid.cell(0, 1), "Begin Plot");
    EXPECT_EQ(grid.cell(0, 2), "End Plot");
    EXPECT_EQ(grid.cell(0, 3), "Avg age");
    EXPECT_TRUE(grid.style(0, 3).bold);
    EXPECT_TRUE(grid.style(0, 3).centred);
    for (int c = 0; c < 4; ++c) EXPECT_TRUE(grid.isEditableColumn(c));
    grid.activate();
    EXPECT_EQ(grid.currentRow(), 1);
    EXPECT_EQ(grid.currentColumn(), 0);
    EXPECT_TRUE(grid.editing());
}

TEST(StrataEditorKeys, EnterAfterTheFourthValueOfTheLastRowAppendsARow) {
    StrataEditorModel grid;
    grid.activate();
    typeRow(grid, {"1", "1", "100", "30"});
    EXPECT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.currentColumn(), 0);
    EXPECT_TRUE(grid.editing());
    EXPECT_EQ(grid.cell(1, 3), "30");
}

TEST(StrataEditorKeys, EnterAtTheEndOfARowDoesNotAppendWhenTheNextRowExists) {
    StrataEditorModel grid;
    grid.activate();
    typeRow(grid, {"1", "1", "100", "30"});  // row 2 now exists
    grid.setCurrentCell(1, 3);
    grid.startEdit();
    type(grid, "31", EditorKey::Enter);
    EXPECT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.currentColumn(), 0);
    EXPECT_EQ(grid.cell(1, 3), "31");
}

TEST(StrataEditorKeys, DownAppendsOnlyOnTheLastRow) {
    StrataEditorModel grid;
    grid.activate();
    type(grid, "5", EditorKey::Right);
    type(grid, "7", EditorKey::Down);
    EXPECT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.currentColumn(), 1);
    EXPECT_EQ(grid.cell(1, 1), "7");
    type(grid, "", EditorKey::Up);
    EXPECT_EQ(grid.currentRow(), 1);
    type(grid, "", EditorKey::Down);
    EXPECT_EQ(grid.rowCount(), 3);  // row 2 exists: no row appended
    EXPECT_EQ(grid.currentRow(), 2);
}

TEST(StrataEditorKeys, UpAtRowOneAndLeftAtColumnZeroReopenTheStoredText) {
    StrataEditorModel grid;
    grid.activate();
    type(grid, "3", EditorKey::Right);
    type(grid, "", EditorKey::Left);
    EXPECT_EQ(grid.currentColumn(), 0);
    EXPECT_EQ(type(grid, "8", EditorKey::Left), KeyOutcome::Editing);
    EXPECT_EQ(grid.currentColumn(), 0);
    EXPECT_EQ(grid.editorText(), "3");
    type(grid, "9", EditorKey::Up);
    EXPECT_EQ(grid.currentRow(), 1);
    EXPECT_EQ(grid.cell(1, 0), "3");
    EXPECT_EQ(type(grid, "4", EditorKey::Escape), KeyOutcome::Closed);
    EXPECT_EQ(grid.cell(1, 0), "3");
}

TEST(StrataEditorCommit, HalvesGoToTheEvenNeighbour) {
    StrataEditorModel grid;
    grid.activate();
    typeRow(grid, {"2.5", "3.5", "-2.5", "99.6"});
    EXPECT_EQ(grid.cell(1, 0), "2");
    EXPECT_EQ(grid.cell(1, 1), "4");
    EXPECT_EQ(grid.cell(1, 2), "-2");
    EXPECT_EQ(grid.cell(1, 3), "100");
}

TEST(StrataEditorSave, EmptyCellsRepeatTheValueAboveAndEveryRowIsARecord) {
    TempDir dir;
    StrataEditorModel grid;
    grid.activate();
    typeRow(grid, {"1", "1", "100", "30"});
    typeRow(grid, {"2", "101", "250", ""});
    type(grid, "", EditorKey::Down);  // row 3 left wholly empty; Down appends row 4
    EXPECT_EQ(grid.rowCount(), 5);
    const SaveResult result = grid.save(dir / "ABC_STRATA.csv");
    ASSERT_TRUE(result.saved) << result.message;
    EXPECT_EQ(readFile(dir / "ABC_STRATA.csv"),
              crlf({"1,1,100,30", "2,101,250,30", "2,101,250,30", "2,101,250,30"}));
}

TEST(StrataEditorSave, AValueOutsideSixteenBitsIsRefusedAndTheFileKept) {
    TempDir dir;
    writeFile(dir / "ABC_STRATA.csv", "1,1,10,5\r\n");
    StrataEditorModel grid;
    grid.activate();
    typeRow(grid, {"1", "1", "100", "30"});
    typeRow(grid, {"2", "101", "40000", "30"});
    EXPECT_EQ(grid.cell(2, 2), "40000");
    const SaveResult result = grid.save(dir / "ABC_STRATA.csv");
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.message, "Row 2, column 2: \"40000\" is outside -32768..32767");
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.currentColumn(), 2);
    EXPECT_TRUE(grid.editing());
    EXPECT_EQ(readFile(dir / "ABC_STRATA.csv"), "1,1,10,5\r\n");
}

TEST(StrataEditorSave, ATextThatIsNoNumberIsRefused) {
    TempDir dir;
    StrataEditorModel grid;
    grid.activate();
    typeRow(grid, {"1", "one", "100", "30"});
    const SaveResult result = grid.save(dir / "ABC_STRATA.csv");
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.message, "Row 1, column 1: \"one\" is not a number");
    EXPECT_EQ(grid.currentColumn(), 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "ABC_STRATA.csv"));
}

TEST(StrataEditorSave, MoreThan999RowsAreRefused) {
    TempDir dir;
    StrataEditorModel grid;
    grid.activate();
    for (int i = 1; i < 999; ++i) type(grid, "", EditorKey::Down);
    EXPECT_EQ(grid.rowCount(), 1000);  // 999 data rows
    grid.setEditorText("1");
    ASSERT_TRUE(grid.save(dir / "ABC_STRATA.csv").saved);
    EXPECT_EQ(readFile(dir / "ABC_STRATA.csv").size(), 999u * 9u);  // nine characters a record
    grid.startEdit();
    type(grid, "", EditorKey::Down);
    EXPECT_EQ(grid.rowCount(), 1001);
    writeFile(dir / "ABC_STRATA.csv", "kept\r\n");
    const SaveResult result = grid.save(dir / "ABC_STRATA.csv");
    EXPECT_FALSE(result.saved);
    EXPECT_NE(result.message.find("999"), std::string::npos) << result.message;
    EXPECT_TRUE(readFile(dir / "ABC_STRATA.csv") == "kept\r\n");
}

}  // namespace
}  // namespace orr::editors
