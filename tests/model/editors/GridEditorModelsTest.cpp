// The grids of the three file editors without a window: layout, where the keys of the editor
// box lead, how entries are committed, and what Save writes or refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "model/editors/CoeffEditorModel.h"
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

// Enters `value` in every coefficient cell of the grid that is empty.
void fillEmpty(CoeffEditorModel& grid, const std::string& value) {
    for (int e = 1; e <= CoeffEditorModel::kEquations; ++e)
        for (int k = 1; k <= grid.maxSpec(); ++k)
            for (int c = 1; c <= 4; ++c)
                if (grid.cell(grid.speciesRow(e, k), c).empty()) {
                    editAt(grid, grid.speciesRow(e, k), c);
                    grid.setEditorText(value);
                    grid.commit();
                }
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
        EXPECT_EQ(std::pair(grid.currentRow(), grid.currentColumn()), std::pair(c.row, c.column));
        EXPECT_EQ(grid.cell(c.startRow, c.startColumn), c.cellAfter);
        EXPECT_EQ(grid.editing(), c.outcome == KeyOutcome::Editing);
        EXPECT_TRUE(!c.rowCount || grid.rowCount() == c.rowCount) << grid.rowCount();
        if (c.outcome == KeyOutcome::Editing && c.row == c.startRow && c.column == c.startColumn) {
            EXPECT_EQ(grid.editorText(), c.stored);
        }
    }
}

// Save refuses the grid: `message`, the editor box open on the cell it names, the file there
// before left as it was.
void expectRefused(GridEditorModel& grid, const std::string& message, int row, int column) {
    TempDir dir;
    writeFile(dir / "A.csv", "old\r\n");
    const SaveResult result = grid.save(dir / "A.csv");
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.message.substr(0, message.size()), message) << result.message;
    EXPECT_EQ(std::pair(grid.currentRow(), grid.currentColumn()), std::pair(row, column));
    EXPECT_TRUE(grid.editing());
    EXPECT_EQ(readFile(dir / "A.csv"), "old\r\n");
}

using enum EditorKey;
using enum KeyOutcome;

TEST(GridEditors, LayoutsAndTheCellEachOpensOn) {
    CoeffEditorModel coeff(2);
    EXPECT_EQ(coeff.rowCount(), 16);
    // Caption rows 1, 4, 7, 10, 13: the caption in all five cells, joined into one.
    for (int e = 0; e < 5; ++e) {
        const int row = 1 + 3 * e;
        EXPECT_TRUE(coeff.isMergedRow(row)) << row;
        for (int c = 0; c < 5; ++c) EXPECT_EQ(coeff.cell(row, c), CoeffEditorModel::captions()[e]);
    }
    EXPECT_EQ(coeff.cell(7, 0), "From Phase 2 GrH (Data Set 1) = b0 + b1(LiH_HIGH)^ b2 ");
    EXPECT_EQ(coeff.cell(15, 0), "Species 2");
    // b3 shows "-" in equations 1, 3 and 4 only.
    for (int row : {2, 8, 12}) EXPECT_EQ(coeff.cell(row, 4), "-") << row;
    for (int row : {5, 15}) EXPECT_EQ(coeff.cell(row, 4), "") << row;
    StrataEditorModel strata;
    EXPECT_EQ(strata.rowCount(), 2);
    EXPECT_EQ(strata.cell(0, 3), "Avg age");
    DbhEditorModel dbh(2, 3);  // one row per class, species outer, product inner
    EXPECT_EQ(dbh.rowCount(), 7);
    EXPECT_EQ(dbh.cell(3, 1), "Product 3");
    EXPECT_EQ(dbh.cell(4, 0), "Species 2");
    EXPECT_EQ(dbh.cell(4, 1), "Product 1");
    const std::tuple<GridEditorModel*, int, int> starts[] = {
        {&coeff, 2, 1}, {&strata, 1, 0}, {&dbh, 1, 2}};
    for (auto [grid, row, column] : starts) {
        grid->activate();
        EXPECT_EQ(std::pair(grid->currentRow(), grid->currentColumn()), std::pair(row, column));
        EXPECT_TRUE(grid->editing());
    }
    DbhEditorModel none(0, 3);  // without classes there is no cell to edit
    none.activate();
    EXPECT_FALSE(none.editing());
    EXPECT_EQ(none.handleKey(Enter), Closed);
    none.click(0, 2);  // the heading row is never edited
    EXPECT_FALSE(none.editing());
}

TEST(GridEditors, KeysMoveTheBoxOverCaptionRowsAndStopAtTheEnds) {
    checkKeys([] { return CoeffEditorModel(2); },
              {
                  {2, 4, "", "1.5", Enter, Editing, 3, 1, "1.5"},
                  {3, 4, "", "7", Enter, Editing, 5, 1, "7"},  // over the caption row
                  {2, 1, "", "1", Right, Editing, 2, 2, "1"},
                  {2, 1, "1", "99", Left, Editing, 2, 1, "1"},  // no move: stored text back
                  {5, 2, "", "3", Up, Editing, 3, 2, "3"},
                  {2, 2, "8", "55", Up, Editing, 2, 2, "8"},
                  {3, 1, "", "", Down, Editing, 5, 1, ""},
                  {15, 3, "", "6", Down, Editing, 15, 3, ""},
                  {15, 4, "", "2", Enter, SaveFocused, 15, 4, "2"},
                  {2, 1, "1.25", "9", Escape, Closed, 2, 1, "1.25"},
              });
    checkKeys([] { return CoeffEditorModel(1); },
              {{2, 4, "", "", Enter, Editing, 4, 1, ""}, {4, 1, "", "", Up, Editing, 2, 1, ""}});
    // The strata grid appends a row only past its last row.
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
    // The DBH grid walks min then max and never grows.
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

// Save commits the pending entry and writes the grid: the coefficients in five blocks of species
// records, the strata with halves to even and the value above in empty cells (blank rows at the
// end left out), the DBH limits quoted as entered with 0 for empty cells.
TEST(GridEditors, SaveWritesTheFileFromTheCells) {
    TempDir dir;
    const auto saved = [&](GridEditorModel& grid) {
        const SaveResult result = grid.save(dir / "A.csv");
        EXPECT_TRUE(result.saved) << result.message;
        return readFile(dir / "A.csv");
    };
    CoeffEditorModel coeff(2);
    coeff.activate();
    typeAll(coeff, {"1.5", " 0.123456789 ", "-3"}, Right);  // DBH, species 1; b3 keeps "-"
    editAt(coeff, 5, 1);                                    // height, species 1
    typeAll(coeff, {"2", "", "", ".25"});
    fillEmpty(coeff, "0");
    editAt(coeff, 15, 4);  // volume, species 2, b3: typed and left pending
    coeff.setEditorText("1e-3");
    EXPECT_EQ(saved(coeff),
              crlf({"1.5,0.1234568,-3,0", "0,0,0,0", "2,0,0,0.25", "0,0,0,0", "0,0,0,0", "0,0,0,0",
                    "0,0,0,0", "0,0,0,0", "0,0,0,0", "0,0,0,0.001"}));
    StrataEditorModel strata;
    strata.activate();
    typeAll(strata, {"2.5", "1", "100", "30"});
    typeAll(strata, {"3.5", "101", "250", ""});
    type(strata, "", Down);  // row 3 left wholly empty; Down appends row 4
    EXPECT_EQ(strata.rowCount(), 5);
    EXPECT_EQ(saved(strata), crlf({"2,1,100,30", "4,101,250,30"}));
    DbhEditorModel dbh(2, 3);
    dbh.activate();
    editAt(dbh, 4, 2);  // species 2, product 1: an entered 0 is quoted, an empty cell is not
    typeAll(dbh, {"0", "9"});
    editAt(dbh, 1, 3);
    dbh.setEditorText("12.123456789");  // pending when Save is pressed; seven digits kept
    EXPECT_EQ(saved(dbh), crlf({"1,1,0,\"12.12346\"", "1,2,0,0", "1,3,0,0", "2,1,\"0\",\"9\"",
                                "2,2,0,0", "2,3,0,0"}));
}

// Save refuses a cell it cannot write, naming it and opening the box on it; the file stays.
TEST(GridEditors, SaveRefusesACellItCannotWriteAndOpensTheBoxOnIt) {
    CoeffEditorModel coeff(2);
    coeff.activate();
    fillEmpty(coeff, "1");
    editAt(coeff, 6, 3);  // height, species 2, b2
    type(coeff, "1,5", Enter);
    editAt(coeff, 2, 1);
    expectRefused(coeff, "Row 6, column 3: \"1,5\" is not a number", 6, 3);
    EXPECT_EQ(coeff.editorText(), "1,5");
    for (std::string text : {"1e39", "-"}) {  // beyond the float range; a dash outside b3
        CoeffEditorModel one(1);
        one.activate();
        type(one, text, Enter);
        expectRefused(one, "Row 2, column 1: \"" + text + "\"", 2, 1);
    }
    // Plot numbers are 32-bit (rounded first), the stratum and the age 16-bit; 999 rows at most.
    StrataEditorModel strata;
    strata.activate();
    typeAll(strata, {"1", "1", "100", "30", "2", "101", "40000", "40000"});
    EXPECT_EQ(strata.cell(2, 2), "40000");
    expectRefused(strata, "Row 2, column 3: \"40000\" is outside -32768..32767", 2, 3);
    StrataEditorModel far;
    far.activate();
    typeAll(far, {"1", "1", "2147483647.5", "30"});
    expectRefused(far, "Row 1, column 2: \"2147483647.5\" is outside -2147483648..2147483647", 1,
                  2);
    StrataEditorModel many;
    many.activate();
    for (int i = 1; i < 1000; ++i) type(many, "", Down);
    type(many, "1", Right);  // the last row is not blank: it is saved, and the grid is too long
    expectRefused(many, "A strata file can have at most 999 rows; this grid has 1000", 1000, 0);
    DbhEditorModel dbh(2, 3);
    dbh.activate();
    editAt(dbh, 5, 3);
    type(dbh, "ten", Enter);
    expectRefused(dbh, "Row 5, column 3: \"ten\" is not a number", 5, 3);
    EXPECT_EQ(dbh.editorText(), "ten");
}

// Save refuses what would write values nobody entered: a blank coefficient (but b3 of an
// equation without one), a blank strata row between filled ones or a blank cell of the first,
// a begin plot above its end plot and two ranges of one stratum sharing a plot.
TEST(GridEditors, SaveRefusesBlanksAndRangesThatCannotBe) {
    TempDir dir;
    CoeffEditorModel coeff(2);
    coeff.activate();
    fillEmpty(coeff, "1");
    for (auto [row, column] : {std::pair(9, 2), std::pair(12, 3), std::pair(2, 4)}) {
        editAt(coeff, row, column);  // height ground DS1 species 2 b1, DS2 species 2 b2, a "-"
        coeff.setEditorText("");
        coeff.commit();
    }
    expectRefused(coeff, "Row 9, column 2 is blank: enter the coefficient (0 where it is zero)", 9,
                  2);
    type(coeff, "0", Enter);
    expectRefused(coeff, "Row 12, column 3 is blank", 12, 3);
    coeff.setEditorText("2");
    EXPECT_TRUE(coeff.save(dir / "C.csv").saved);  // an empty b3 of equation 1 is 0

    const std::vector<std::tuple<std::vector<std::string>, std::string, int, int>> strataCases = {
        {{}, "Row 1 is blank: a strata file needs at least one stratum", 1, 0},
        {{"1", "1", "10", "20", "", "", "", "", "2", "11", "20", "25"},
         "Row 2 is blank: enter its stratum, begin plot, end plot and average age",
         2,
         0},
        {{"1", "", "10", "20"},
         "Row 1, column 1 is blank, and there is no row above whose value it could repeat",
         1,
         1},
        {{"1", "10", "5", "20"},
         "Row 1, column 2: the end plot 5 is below the begin plot 10",
         1,
         2},
        {{"1", "1", "10", "20", "2", "1", "10", "20", "", "10", "20", "20"},
         "Row 3, column 1: plots 10 to 20 overlap plots 1 to 10 of row 2, in the same stratum 2",
         3,
         1},
    };
    for (const auto& [typed, message, row, column] : strataCases) {
        SCOPED_TRACE(message);
        StrataEditorModel strata;
        strata.activate();
        for (const std::string& v : typed) type(strata, v, Enter);
        expectRefused(strata, message, row, column);
    }
    // Ranges next to each other, and the same plots in two strata, are taken.
    StrataEditorModel strata;
    strata.activate();
    typeAll(strata, {"1", "1", "10", "20", "1", "11", "20", "20", "2", "1", "20", "30"});
    ASSERT_TRUE(strata.save(dir / "S.csv").saved);
    EXPECT_EQ(readFile(dir / "S.csv"), crlf({"1,1,10,20", "1,11,20,20", "2,1,20,30"}));
}

}  // namespace
}  // namespace orr::editors
