// The DBH editor's grid without a window: one fixed row per species-product class, moves between
// the Min and Max DBH columns, and what Save writes or refuses.
#include <gtest/gtest.h>

#include "setup/editors/DbhEditorModel.h"
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

TEST(DbhEditorLayout, OneRowPerClassSpeciesOuterProductInner) {
    DbhEditorModel grid(2, 3);
    EXPECT_EQ(grid.rowCount(), 7);
    EXPECT_EQ(grid.cell(0, 0), "Species");
    EXPECT_EQ(grid.cell(0, 1), "Product");
    EXPECT_EQ(grid.cell(0, 2), "Min DBH");
    EXPECT_EQ(grid.cell(0, 3), "Max DBH");
    EXPECT_EQ(grid.cell(1, 0), "Species 1");
    EXPECT_EQ(grid.cell(1, 1), "Product 1");
    EXPECT_EQ(grid.cell(3, 1), "Product 3");
    EXPECT_EQ(grid.cell(4, 0), "Species 2");
    EXPECT_EQ(grid.cell(4, 1), "Product 1");
    EXPECT_EQ(grid.cell(6, 0), "Species 2");
    EXPECT_EQ(grid.cell(6, 1), "Product 3");
    EXPECT_TRUE(grid.style(5, 1).bold);
    EXPECT_FALSE(grid.isEditableColumn(0));
    EXPECT_FALSE(grid.isEditableColumn(1));
    EXPECT_TRUE(grid.isEditableColumn(2));
    EXPECT_TRUE(grid.isEditableColumn(3));
    grid.activate();
    EXPECT_EQ(grid.currentRow(), 1);
    EXPECT_EQ(grid.currentColumn(), 2);
    EXPECT_TRUE(grid.editing());
}

TEST(DbhEditorKeys, EnterWalksMinThenMaxRowByRow) {
    DbhEditorModel grid(2, 3);
    grid.activate();
    type(grid, "4.5", EditorKey::Enter);
    EXPECT_EQ(grid.currentColumn(), 3);
    type(grid, "9", EditorKey::Enter);
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.currentColumn(), 2);
    EXPECT_EQ(grid.cell(1, 2), "4.5");
    EXPECT_EQ(grid.cell(1, 3), "9");
    EXPECT_EQ(grid.rowCount(), 7);
}

TEST(DbhEditorKeys, EnterInTheLastCellFocusesSave) {
    DbhEditorModel grid(2, 3);
    grid.activate();
    grid.setCurrentCell(6, 3);
    grid.startEdit();
    EXPECT_EQ(type(grid, "30", EditorKey::Enter), KeyOutcome::SaveFocused);
    EXPECT_FALSE(grid.editing());
    EXPECT_EQ(grid.cell(6, 3), "30");
    EXPECT_EQ(grid.rowCount(), 7);  // the grid never grows
}

TEST(DbhEditorKeys, LeftInColumnTwoReopensTheSameCell) {
    DbhEditorModel grid(2, 3);
    grid.activate();
    type(grid, "4", EditorKey::Right);
    type(grid, "8", EditorKey::Left);
    EXPECT_EQ(grid.currentColumn(), 2);
    EXPECT_EQ(grid.cell(1, 3), "8");
    EXPECT_EQ(type(grid, "6", EditorKey::Left), KeyOutcome::Editing);
    EXPECT_EQ(grid.currentRow(), 1);
    EXPECT_EQ(grid.currentColumn(), 2);
    EXPECT_TRUE(grid.editing());
    EXPECT_EQ(grid.editorText(), "4");
    EXPECT_EQ(grid.cell(1, 2), "4");
}

TEST(DbhEditorKeys, UpAndDownStopAtTheEnds) {
    DbhEditorModel grid(1, 2);
    grid.activate();
    type(grid, "1", EditorKey::Up);
    EXPECT_EQ(grid.currentRow(), 1);
    EXPECT_EQ(grid.cell(1, 2), "");
    type(grid, "1", EditorKey::Down);
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.cell(1, 2), "1");
    type(grid, "2", EditorKey::Down);
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.cell(2, 2), "");
    EXPECT_EQ(grid.rowCount(), 3);
}

TEST(DbhEditorSave, EnteredTextsAreQuotedEmptyCellsAreZero) {
    TempDir dir;
    DbhEditorModel grid(2, 3);
    grid.activate();
    grid.setCurrentCell(4, 2);  // species 2, product 1
    grid.startEdit();
    type(grid, "4.5", EditorKey::Enter);
    type(grid, "9", EditorKey::Enter);
    grid.setCurrentCell(1, 3);
    grid.startEdit();
    grid.setEditorText("12.123456789");  // pending when Save is pressed; seven digits kept
    const SaveResult result = grid.save(dir / "ABC_DBH.csv");
    ASSERT_TRUE(result.saved) << result.message;
    EXPECT_EQ(readFile(dir / "ABC_DBH.csv"), crlf({"1,1,0,\"12.12346\"", "1,2,0,0", "1,3,0,0",
                                                   "2,1,\"4.5\",\"9\"", "2,2,0,0", "2,3,0,0"}));
}

TEST(DbhEditorSave, ATextThatIsNoNumberIsRefusedAndTheFileKept) {
    TempDir dir;
    writeFile(dir / "ABC_DBH.csv", "old\r\n");
    DbhEditorModel grid(2, 3);
    grid.activate();
    grid.setCurrentCell(5, 3);
    grid.startEdit();
    type(grid, "ten", EditorKey::Enter);
    const SaveResult result = grid.save(dir / "ABC_DBH.csv");
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.message, "Row 5, column 3: \"ten\" is not a number");
    EXPECT_EQ(grid.currentRow(), 5);
    EXPECT_EQ(grid.currentColumn(), 3);
    EXPECT_EQ(grid.editorText(), "ten");
    EXPECT_EQ(readFile(dir / "ABC_DBH.csv"), "old\r\n");
}

TEST(DbhEditorGrid, WithoutClassesThereIsNoCellToEdit) {
    DbhEditorModel grid(0, 3);
    EXPECT_EQ(grid.rowCount(), 1);
    grid.activate();
    EXPECT_FALSE(grid.editing());
    EXPECT_EQ(grid.handleKey(EditorKey::Enter), KeyOutcome::Closed);
    EXPECT_FALSE(grid.editing());
    grid.click(0, 2);  // the heading row is never edited
    EXPECT_FALSE(grid.editing());
}

}  // namespace
}  // namespace orr::editors
