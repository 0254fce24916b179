// The grids of the three file editors without a window: layout, where the keys of the editor
// box lead, how entries are committed, and what Save writes or refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/editors/CoeffEditorModel.h"
#include "model/editors/CommitRules.h"
#include "model/editors/DbhEditorModel.h"
#include "model/editors/StrataEditorModel.h"
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

void typeAll(GridEditorModel& grid, std::initializer_list<std::string> values,
             EditorKey key = EditorKey::Enter) {
    for (const std::string& v : values) type(grid, v, key);
}

// Opens the editor box on (row, column).
void editAt(GridEditorModel& grid, int row, int column) {
    grid.setCurrentCell(row, column);
    grid.startEdit();
}

// One key in the editor box: the start cell holds `stored`, `typed` is entered and `key`
// pressed. The box ends on (row, column) with `outcome`, the start cell holds `cellAfter`, and a
// key that leaves the box open on the start cell shows its stored text again.
struct KeyCase {
    int startRow, startColumn;
    std::string stored, typed;
    EditorKey key;
    KeyOutcome outcome;
    int row, column;
    std::string cellAfter;
    int rowCount = 0;  // the grid's rows after the key; 0: not checked
};

template <class MakeGrid>
void checkKeys(MakeGrid makeGrid, const std::vector<KeyCase>& cases) {
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "from (" << c.startRow << ", " << c.startColumn
                                          << ") typing '" << c.typed << "'");
        auto grid = makeGrid();
        grid.activate();
        editAt(grid, c.startRow, c.startColumn);
        if (!c.stored.empty()) {
            grid.setEditorText(c.stored);
            grid.commit();
            grid.startEdit();
        }
        EXPECT_EQ(type(grid, c.typed, c.key), c.outcome);
        EXPECT_EQ(grid.currentRow(), c.row);
        EXPECT_EQ(grid.currentColumn(), c.column);
        EXPECT_EQ(grid.cell(c.startRow, c.startColumn), c.cellAfter);
        EXPECT_EQ(grid.editing(), c.outcome == KeyOutcome::Editing);
        if (c.rowCount) {
            EXPECT_EQ(grid.rowCount(), c.rowCount);
        }
        if (c.outcome == KeyOutcome::Editing && c.row == c.startRow && c.column == c.startColumn) {
            EXPECT_EQ(grid.editorText(), c.stored);
        }
    }
}

// Save refuses the grid: `message`, the editor box open on the cell it names, `file` untouched
// (`before` is its content, empty for no file).
void expectRefused(GridEditorModel& grid, const std::filesystem::path& file,
                   const std::string& before, const std::string& message, int row, int column) {
    const SaveResult result = grid.save(file);
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.message.substr(0, message.size()), message) << result.message;
    EXPECT_EQ(grid.currentRow(), row);
    EXPECT_EQ(grid.currentColumn(), column);
    EXPECT_TRUE(grid.editing());
    if (before.empty())
        EXPECT_FALSE(std::filesystem::exists(file));
    else
        EXPECT_EQ(readFile(file), before);
}

using enum EditorKey;
using enum KeyOutcome;

TEST(CoeffEditor, MaxSpecTwoHasSixteenRowsCaptionRowsAndStartsAtRowTwoColumnOne) {
    CoeffEditorModel grid(2);
    EXPECT_EQ(grid.rowCount(), 16);
    // Caption rows 1, 4, 7, 10, 13: the caption in all five cells, joined into one.
    for (int e = 0; e < 5; ++e) {
        const int row = 1 + 3 * e;
        EXPECT_TRUE(grid.isMergedRow(row)) << row;
        for (int c = 0; c < 5; ++c) EXPECT_EQ(grid.cell(row, c), CoeffEditorModel::captions()[e]);
    }
    EXPECT_EQ(grid.cell(7, 0), "From Phase 2 GrH (Data Set 1) = b0 + b1(LiH_HIGH)^ b2 ");
    EXPECT_EQ(grid.cell(15, 0), "Species 2");
    // b3 shows "-" in equations 1, 3 and 4 only.
    for (int row : {2, 8, 12}) EXPECT_EQ(grid.cell(row, 4), "-") << row;
    for (int row : {5, 15}) EXPECT_EQ(grid.cell(row, 4), "") << row;
    grid.activate();
    EXPECT_EQ(std::pair(grid.currentRow(), grid.currentColumn()), std::pair(2, 1));
    EXPECT_TRUE(grid.editing());
}

TEST(CoeffEditor, KeysStepOverCaptionRowsAndStopAtTheEnds) {
    checkKeys([] { return CoeffEditorModel(2); },
              {
                  {2, 4, "", "1.5", Enter, Editing, 3, 1, "1.5"},
                  {3, 4, "", "7", Enter, Editing, 5, 1, "7"},  // over the caption row
                  {2, 1, "", "1", Right, Editing, 2, 2, "1"},
                  {2, 2, "", "2", Left, Editing, 2, 1, "2"},
                  {2, 1, "1", "99", Left, Editing, 2, 1, "1"},  // no move: stored text back
                  {5, 2, "", "3", Up, Editing, 3, 2, "3"},
                  {3, 2, "", "4", Up, Editing, 2, 2, "4"},
                  {2, 2, "8", "55", Up, Editing, 2, 2, "8"},
                  {3, 1, "", "", Down, Editing, 5, 1, ""},
                  {15, 3, "", "6", Down, Editing, 15, 3, ""},
                  {15, 4, "", "2", Enter, SaveFocused, 15, 4, "2"},
                  {2, 1, "1.25", "9", Escape, Closed, 2, 1, "1.25"},
              });
    checkKeys([] { return CoeffEditorModel(1); },
              {{2, 4, "", "", Enter, Editing, 4, 1, ""}, {4, 1, "", "", Up, Editing, 2, 1, ""}});
}

TEST(CoeffEditor, ClickOpensOnlyEditableColumnsAndScrollDropsTheEntry) {
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

TEST(CoeffEditor, SaveWritesFiveBlocksOfSpeciesRecords) {
    TempDir dir;
    CoeffEditorModel grid(2);
    grid.activate();
    typeAll(grid, {"1.5", " 0.123456789 ", "-3"}, Right);  // DBH, species 1; b3 keeps "-"
    editAt(grid, 5, 1);                                    // height, species 1
    typeAll(grid, {"2", "", "", ".25"});
    editAt(grid, 15, 4);  // volume, species 2, b3: typed and left pending
    grid.setEditorText("1e-3");
    const SaveResult result = grid.save(dir / "ABC_COEFFIC.csv");
    ASSERT_TRUE(result.saved) << result.message;
    EXPECT_EQ(readFile(dir / "ABC_COEFFIC.csv"),
              crlf({"1.5,0.1234568,-3,0", "0,0,0,0", "2,0,0,0.25", "0,0,0,0", "0,0,0,0", "0,0,0,0",
                    "0,0,0,0", "0,0,0,0", "0,0,0,0", "0,0,0,0.001"}));
}

TEST(CoeffEditor, SaveRefusesATextThatIsNoSingleNumber) {
    TempDir dir;
    writeFile(dir / "A_COEFFIC.csv", "old\r\n");
    CoeffEditorModel grid(2);
    grid.activate();
    editAt(grid, 6, 3);  // height, species 2, b2
    type(grid, "1,5", Enter);
    editAt(grid, 2, 1);
    expectRefused(grid, dir / "A_COEFFIC.csv", "old\r\n",
                  "Row 6, column 3: \"1,5\" is not a number", 6, 3);
    EXPECT_EQ(grid.editorText(), "1,5");
    for (std::string text : {"1e39", "-"}) {  // beyond the float range; a dash outside b3
        CoeffEditorModel one(1);
        one.activate();
        type(one, text, Enter);
        expectRefused(one, dir / "B_COEFFIC.csv", "", "Row 2, column 1: \"" + text + "\"", 2, 1);
    }
}

TEST(StrataEditor, StartsWithOneEmptyRowAtColumnZero) {
    StrataEditorModel grid;
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.cell(0, 3), "Avg age");
    grid.activate();
    EXPECT_EQ(std::pair(grid.currentRow(), grid.currentColumn()), std::pair(1, 0));
    EXPECT_TRUE(grid.editing());
}

TEST(StrataEditor, KeysAppendARowOnlyPastTheLastRow) {
    checkKeys([] { return StrataEditorModel(); },
              {
                  {1, 3, "", "30", Enter, Editing, 2, 0, "30", 3},
                  {1, 1, "", "7", Down, Editing, 2, 1, "7", 3},
                  {1, 0, "", "5", Right, Editing, 1, 1, "5", 2},
                  {1, 0, "3", "8", Left, Editing, 1, 0, "3", 2},
                  {1, 0, "3", "9", Up, Editing, 1, 0, "3", 2},
                  {1, 0, "3", "4", Escape, Closed, 1, 0, "3", 2},
              });
    const auto twoRows = [] {
        StrataEditorModel grid;
        grid.activate();
        type(grid, "", Down);
        return grid;
    };
    checkKeys(twoRows, {{1, 3, "", "31", Enter, Editing, 2, 0, "31", 3},
                        {1, 1, "", "", Down, Editing, 2, 1, "", 3}});
}

TEST(StrataEditor, SaveCommitsHalvesToEvenAndRepeatsTheValueAboveInEmptyCells) {
    TempDir dir;
    StrataEditorModel grid;
    grid.activate();
    typeAll(grid, {"2.5", "1", "100", "30"});
    typeAll(grid, {"3.5", "101", "250", ""});
    type(grid, "", Down);  // row 3 left wholly empty; Down appends row 4
    EXPECT_EQ(grid.rowCount(), 5);
    const SaveResult result = grid.save(dir / "ABC_STRATA.csv");
    ASSERT_TRUE(result.saved) << result.message;
    EXPECT_EQ(readFile(dir / "ABC_STRATA.csv"),
              crlf({"2,1,100,30", "4,101,250,30", "4,101,250,30", "4,101,250,30"}));
}

TEST(StrataEditor, SaveRefusesTextsOutsideTheirWholeNumbers) {
    TempDir dir;
    writeFile(dir / "A_STRATA.csv", "1,1,10,5\r\n");
    StrataEditorModel grid;
    grid.activate();
    // Plot numbers are 32-bit, the stratum and the age 16-bit.
    typeAll(grid, {"1", "1", "100", "30", "2", "101", "40000", "40000"});
    EXPECT_EQ(grid.cell(2, 2), "40000");
    expectRefused(grid, dir / "A_STRATA.csv", "1,1,10,5\r\n",
                  "Row 2, column 3: \"40000\" is outside -32768..32767", 2, 3);
    StrataEditorModel far;
    far.activate();
    typeAll(far, {"1", "1", "3000000000", "30"});
    expectRefused(far, dir / "A_STRATA.csv", "1,1,10,5\r\n",
                  "Row 1, column 2: \"3000000000\" is outside -2147483648..2147483647", 1, 2);
    StrataEditorModel other;
    other.activate();
    typeAll(other, {"1", "one", "100", "30"});
    expectRefused(other, dir / "B_STRATA.csv", "", "Row 1, column 1: \"one\" is not a number", 1,
                  1);
}

TEST(StrataEditor, SaveTakes999RowsAndRefusesMore) {
    TempDir dir;
    StrataEditorModel grid;
    grid.activate();
    for (int i = 1; i < 999; ++i) type(grid, "", Down);
    EXPECT_EQ(grid.rowCount(), 1000);  // 999 data rows
    grid.setEditorText("1");
    ASSERT_TRUE(grid.save(dir / "ABC_STRATA.csv").saved);
    EXPECT_EQ(readFile(dir / "ABC_STRATA.csv").size(), 999u * 9u);  // nine characters a record
    grid.startEdit();
    type(grid, "", Down);
    writeFile(dir / "ABC_STRATA.csv", "kept\r\n");
    const SaveResult result = grid.save(dir / "ABC_STRATA.csv");
    EXPECT_FALSE(result.saved);
    EXPECT_NE(result.message.find("999"), std::string::npos) << result.message;
    EXPECT_EQ(readFile(dir / "ABC_STRATA.csv"), "kept\r\n");
}

TEST(DbhEditor, OneRowPerClassSpeciesOuterProductInner) {
    DbhEditorModel grid(2, 3);
    EXPECT_EQ(grid.rowCount(), 7);
    EXPECT_EQ(grid.cell(3, 1), "Product 3");
    EXPECT_EQ(grid.cell(4, 0), "Species 2");
    EXPECT_EQ(grid.cell(4, 1), "Product 1");
    grid.activate();
    EXPECT_EQ(std::pair(grid.currentRow(), grid.currentColumn()), std::pair(1, 2));
    EXPECT_TRUE(grid.editing());
}

TEST(DbhEditor, KeysWalkMinThenMaxAndNeverGrowTheGrid) {
    checkKeys([] { return DbhEditorModel(2, 3); },
              {
                  {1, 2, "", "4.5", Enter, Editing, 1, 3, "4.5"},
                  {1, 3, "", "9", Enter, Editing, 2, 2, "9"},
                  {6, 3, "", "30", Enter, SaveFocused, 6, 3, "30", 7},
                  {1, 3, "", "8", Left, Editing, 1, 2, "8"},
                  {1, 2, "4", "6", Left, Editing, 1, 2, "4"},  // re-opens the same cell
                  {1, 2, "", "1", Up, Editing, 1, 2, ""},
                  {1, 2, "", "1", Down, Editing, 2, 2, "1"},
                  {6, 2, "", "2", Down, Editing, 6, 2, "", 7},
              });
}

TEST(DbhEditor, SaveQuotesEnteredTextsAndWritesZeroForEmptyCells) {
    TempDir dir;
    DbhEditorModel grid(2, 3);
    grid.activate();
    editAt(grid, 4, 2);  // species 2, product 1
    typeAll(grid, {"4.5", "9"});
    editAt(grid, 1, 3);
    grid.setEditorText("12.123456789");  // pending when Save is pressed; seven digits kept
    const SaveResult result = grid.save(dir / "ABC_DBH.csv");
    ASSERT_TRUE(result.saved) << result.message;
    EXPECT_EQ(readFile(dir / "ABC_DBH.csv"), crlf({"1,1,0,\"12.12346\"", "1,2,0,0", "1,3,0,0",
                                                   "2,1,\"4.5\",\"9\"", "2,2,0,0", "2,3,0,0"}));
}

TEST(DbhEditor, SaveRefusesATextThatIsNoNumber) {
    TempDir dir;
    writeFile(dir / "ABC_DBH.csv", "old\r\n");
    DbhEditorModel grid(2, 3);
    grid.activate();
    editAt(grid, 5, 3);
    type(grid, "ten", Enter);
    expectRefused(grid, dir / "ABC_DBH.csv", "old\r\n", "Row 5, column 3: \"ten\" is not a number",
                  5, 3);
    EXPECT_EQ(grid.editorText(), "ten");
}

TEST(DbhEditor, WithoutClassesThereIsNoCellToEdit) {
    DbhEditorModel grid(0, 3);
    grid.activate();
    EXPECT_FALSE(grid.editing());
    EXPECT_EQ(grid.handleKey(Enter), Closed);
    grid.click(0, 2);  // the heading row is never edited
    EXPECT_FALSE(grid.editing());
}

TEST(CommitRules, EntriesAndTheTextsTheyLeave) {
    struct Row {
        std::string (*rule)(std::string_view);
        std::string entry, expected;
    };
    // 0.123456789, 1e39, "-", 2.5, 3.5 and 40000 are met in the grids above.
    const std::vector<Row> rows = {
        {floatCellText, "0.1", "0.1"},       {floatCellText, ".5", "0.5"},
        {floatCellText, "1e2", "100"},       {floatCellText, "1.5.2", "1.5.2"},
        {int16CellText, "-2.5", "-2"},       {int16CellText, "2.51", "3"},
        {int16CellText, "-0.4", "0"},        {int16CellText, "32767", "32767"},
        {int16CellText, "-32768", "-32768"}, {int16CellText, "32768", "32768"},
        {int16CellText, "x1", "x1"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.entry);
        EXPECT_EQ(r.rule(r.entry), r.expected);
    }
}

}  // namespace
}  // namespace orr::editors
