// The coefficient editor's grid without a window: layout, key moves over the caption rows,
// commits, Esc, and what Save writes or refuses.
#include <gtest/gtest.h>

#include "setup/editors/CoeffEditorModel.h"
#include "tests/support/TestFiles.h"

namespace orr::editors {
namespace {

using test::crlf;
using test::readFile;
using test::TempDir;
using test::writeFile;

// Types `text` into the open editor box and presses `key`.
KeyOutcome type(GridEditorModel& grid, const std::string& text, EditorKey key) {
    grid.setEditorText(text);
    return grid.handleKey(key);
}

TEST(CoeffEditorLayout, MaxSpecTwoHasSixteenRowsAndStartsAtRowTwoColumnOne) {
    CoeffEditorModel grid(2);
    EXPECT_EQ(grid.rowCount(), 16);
    EXPECT_EQ(grid.columnCount(), 5);
    grid.activate();
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.currentColumn(), 1);
    EXPECT_TRUE(grid.editing());
    EXPECT_EQ(grid.editorText(), "");
}

TEST(CoeffEditorLayout, HeadingsCaptionsSpeciesAndDashes) {
    CoeffEditorModel grid(2);
    EXPECT_EQ(grid.cell(0, 0), "Species");
    EXPECT_EQ(grid.cell(0, 1), "b0");
    EXPECT_EQ(grid.cell(0, 4), "b3");
    EXPECT_TRUE(grid.style(0, 2).bold);
    EXPECT_TRUE(grid.style(0, 2).centred);
    // Caption rows 1, 4, 7, 10, 13: the caption in all five cells, joined into one.
    const int captionRows[] = {1, 4, 7, 10, 13};
    for (int e = 0; e < 5; ++e) {
        const int row = captionRows[e];
        EXPECT_TRUE(grid.isMergedRow(row)) << row;
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(grid.cell(row, c), CoeffEditorModel::captions()[e]) << row << "," << c;
    }
    EXPECT_EQ(grid.cell(7, 0), "From Phase 2 GrH (Data Set 1) = b0 + b1(LiH_HIGH)^ b2 ");
    EXPECT_FALSE(grid.isMergedRow(2));
    EXPECT_EQ(grid.cell(5, 0), "Species 1");
    EXPECT_EQ(grid.cell(15, 0), "Species 2");
    EXPECT_TRUE(grid.style(15, 0).bold);
    // b3 shows "-" in equations 1, 3 and 4 only.
    EXPECT_EQ(grid.cell(2, 4), "-");
    EXPECT_EQ(grid.cell(5, 4), "");
    EXPECT_EQ(grid.cell(8, 4), "-");
    EXPECT_EQ(grid.cell(12, 4), "-");
    EXPECT_EQ(grid.cell(15, 4), "");
    EXPECT_EQ(grid.cell(2, 1), "");
}

TEST(CoeffEditorKeys, EnterAfterTheFourthColumnGoesToTheNextRowsFirstColumn) {
    CoeffEditorModel grid(2);
    grid.activate();
    grid.setCurrentCell(2, 4);
    grid.startEdit();
    EXPECT_EQ(type(grid, "1.5", EditorKey::Enter), KeyOutcome::Editing);
    EXPECT_EQ(grid.cell(2, 4), "1.5");
    EXPECT_EQ(grid.currentRow(), 3);
    EXPECT_EQ(grid.currentColumn(), 1);
    EXPECT_TRUE(grid.editing());
}

TEST(CoeffEditorKeys, EnterAtTheLastSpeciesSkipsTheCaptionRow) {
    CoeffEditorModel grid(2);
    grid.activate();
    grid.setCurrentCell(3, 4);
    grid.startEdit();
    type(grid, "7", EditorKey::Enter);
    EXPECT_EQ(grid.currentRow(), 5);  // species 1 of the height equation
    EXPECT_EQ(grid.currentColumn(), 1);
    EXPECT_EQ(grid.cell(3, 4), "7");
    EXPECT_EQ(grid.cell(4, 1), CoeffEditorModel::captions()[1]);
}

TEST(CoeffEditorKeys, RightMovesAcrossAndLeftStopsAtColumnOne) {
    CoeffEditorModel grid(2);
    grid.activate();
    type(grid, "1", EditorKey::Right);
    EXPECT_EQ(grid.currentColumn(), 2);
    type(grid, "2", EditorKey::Left);
    EXPECT_EQ(grid.currentColumn(), 1);
    EXPECT_EQ(grid.cell(2, 2), "2");
    // Left in column 1 is no move: the box opens again with the stored text.
    EXPECT_EQ(type(grid, "99", EditorKey::Left), KeyOutcome::Editing);
    EXPECT_EQ(grid.currentColumn(), 1);
    EXPECT_EQ(grid.editorText(), "1");
    EXPECT_EQ(grid.cell(2, 1), "1");
}

TEST(CoeffEditorKeys, UpStepsOverCaptionsAndStaysAtTheFirstDataRow) {
    CoeffEditorModel grid(2);
    grid.activate();
    grid.setCurrentCell(5, 2);
    grid.startEdit();
    type(grid, "3", EditorKey::Up);
    EXPECT_EQ(grid.currentRow(), 3);
    EXPECT_EQ(grid.currentColumn(), 2);
    EXPECT_EQ(grid.cell(5, 2), "3");
    type(grid, "4", EditorKey::Up);
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.cell(3, 2), "4");
    // Up in row 2: the row stays, the typed text is dropped and the stored one comes back.
    grid.setEditorText("8");
    grid.handleKey(EditorKey::Enter);  // commits 8 into (2, 2), moves to (2, 3)
    grid.setCurrentCell(2, 2);
    grid.startEdit();
    EXPECT_EQ(type(grid, "55", EditorKey::Up), KeyOutcome::Editing);
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.editorText(), "8");
    EXPECT_EQ(grid.cell(2, 2), "8");
}

TEST(CoeffEditorKeys, DownStepsOverCaptionsAndStopsAtTheLastRow) {
    CoeffEditorModel grid(2);
    grid.activate();
    type(grid, "", EditorKey::Down);
    EXPECT_EQ(grid.currentRow(), 3);
    type(grid, "", EditorKey::Down);
    EXPECT_EQ(grid.currentRow(), 5);
    grid.setCurrentCell(15, 3);
    grid.startEdit();
    type(grid, "6", EditorKey::Down);
    EXPECT_EQ(grid.currentRow(), 15);
    EXPECT_EQ(grid.cell(15, 3), "");  // no move, nothing committed
}

TEST(CoeffEditorKeys, EscDiscardsTheEntry) {
    CoeffEditorModel grid(2);
    grid.activate();
    type(grid, "1.25", EditorKey::Enter);
    grid.setCurrentCell(2, 1);
    grid.startEdit();
    EXPECT_EQ(type(grid, "9", EditorKey::Escape), KeyOutcome::Closed);
    EXPECT_FALSE(grid.editing());
    EXPECT_EQ(grid.cell(2, 1), "1.25");
    grid.commit();  // nothing pending any more
    EXPECT_EQ(grid.cell(2, 1), "1.25");
}

TEST(CoeffEditorKeys, EnterInTheLastCellFocusesSave) {
    CoeffEditorModel grid(2);
    grid.activate();
    grid.setCurrentCell(15, 4);
    grid.startEdit();
    EXPECT_EQ(type(grid, "2", EditorKey::Enter), KeyOutcome::SaveFocused);
    EXPECT_FALSE(grid.editing());
    EXPECT_EQ(grid.cell(15, 4), "2");
    EXPECT_EQ(grid.currentRow(), 15);
}

TEST(CoeffEditorKeys, WithOneSpeciesEveryRowIsFirstAndLast) {
    CoeffEditorModel grid(1);
    EXPECT_EQ(grid.rowCount(), 11);
    grid.activate();
    grid.setCurrentCell(2, 4);
    grid.startEdit();
    type(grid, "", EditorKey::Enter);
    EXPECT_EQ(grid.currentRow(), 4);
    type(grid, "", EditorKey::Up);
    EXPECT_EQ(grid.currentRow(), 2);
}

TEST(CoeffEditorCommit, NumbersBecomeTheirSingleValueOtherTextStays) {
    CoeffEditorModel grid(2);
    grid.activate();
    type(grid, " 0.123456789 ", EditorKey::Enter);
    EXPECT_EQ(grid.cell(2, 1), "0.1234568");
    type(grid, "abc", EditorKey::Enter);
    EXPECT_EQ(grid.cell(2, 2), "abc");
    type(grid, "   ", EditorKey::Enter);
    EXPECT_EQ(grid.cell(2, 3), "");
}

TEST(CoeffEditorGrid, ClickOpensOnlyEditableColumnsAndScrollDropsTheEntry) {
    CoeffEditorModel grid(2);
    grid.activate();
    grid.setEditorText("4");
    grid.click(3, 0);  // leaving the cell commits; column 0 is no coefficient
    EXPECT_EQ(grid.cell(2, 1), "4");
    EXPECT_FALSE(grid.editing());
    grid.click(3, 2);
    EXPECT_TRUE(grid.editing());
    grid.setEditorText("5");
    grid.scrolled();
    EXPECT_FALSE(grid.editing());
    grid.commit();
    EXPECT_EQ(grid.cell(3, 2), "");
}

TEST(CoeffEditorSave, WritesFiveBlocksOfSpeciesRecords) {
    TempDir dir;
    CoeffEditorModel grid(2);
    grid.activate();
    type(grid, "1.5", EditorKey::Right);          // DBH, species 1: b0
    type(grid, "0.123456789", EditorKey::Right);  // b1
    type(grid, "-3", EditorKey::Right);           // b2; b3 keeps "-"
    grid.setCurrentCell(5, 1);                    // height, species 1
    grid.startEdit();
    type(grid, "2", EditorKey::Right);
    type(grid, "", EditorKey::Right);
    type(grid, "", EditorKey::Right);
    type(grid, ".25", EditorKey::Enter);
    grid.setCurrentCell(15, 4);  // volume, species 2, b3: typed and left pending
    grid.startEdit();
    grid.setEditorText("1e-3");
    const SaveResult result = grid.save(dir / "ABC_COEFFIC.csv");
    ASSERT_TRUE(result.saved) << result.message;
    EXPECT_EQ(readFile(dir / "ABC_COEFFIC.csv"),
              crlf({"1.5,0.1234568,-3,0", "0,0,0,0", "2,0,0,0.25", "0,0,0,0", "0,0,0,0", "0,0,0,0",
                    "0,0,0,0", "0,0,0,0", "0,0,0,0", "0,0,0,0.001"}));
}

TEST(CoeffEditorSave, ATextThatIsNoNumberIsRefusedAndNothingIsWritten) {
    TempDir dir;
    writeFile(dir / "ABC_COEFFIC.csv", "old\r\n");
    CoeffEditorModel grid(2);
    grid.activate();
    grid.setCurrentCell(6, 3);  // height, species 2, b2
    grid.startEdit();
    type(grid, "1,5", EditorKey::Enter);
    grid.setCurrentCell(2, 1);
    grid.startEdit();
    const SaveResult result = grid.save(dir / "ABC_COEFFIC.csv");
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.message, "Row 6, column 3: \"1,5\" is not a number");
    EXPECT_EQ(grid.currentRow(), 6);
    EXPECT_EQ(grid.currentColumn(), 3);
    EXPECT_TRUE(grid.editing());
    EXPECT_EQ(grid.editorText(), "1,5");
    EXPECT_EQ(readFile(dir / "ABC_COEFFIC.csv"), "old\r\n");
}

TEST(CoeffEditorSave, ANumberBeyondTheFloatRangeIsRefused) {
    TempDir dir;
    CoeffEditorModel grid(1);
    grid.activate();
    type(grid, "1e39", EditorKey::Enter);
    EXPECT_EQ(grid.cell(2, 1), "1e39");
    const SaveResult result = grid.save(dir / "X_COEFFIC.csv");
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.message.rfind("Row 2, column 1: \"1e39\"", 0), 0u) << result.message;
    EXPECT_FALSE(std::filesystem::exists(dir / "X_COEFFIC.csv"));
}

TEST(CoeffEditorSave, ADashOutsideTheLastColumnIsNoNumber) {
    TempDir dir;
    CoeffEditorModel grid(1);
    grid.activate();
    type(grid, "-", EditorKey::Enter);
    const SaveResult result = grid.save(dir / "X_COEFFIC.csv");
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.currentColumn(), 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "X_COEFFIC.csv"));
}

}  // namespace
}  // namespace orr::editors
