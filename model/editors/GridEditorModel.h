// The grid of a file editor without its window: the cell texts, which cells the user may edit,
// the heading and caption rows, the floating editor box over the current cell, where the keys of
// that box lead, how a typed entry is committed to its cell, and Save. The windows of the three
// editors (coefficients, strata, DBH) only mirror one of these models.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orr {
class CellError;
}

namespace orr::editors {

// The keys the floating editor box handles itself; every other key is ordinary typing.
enum class EditorKey { Enter, Escape, Left, Up, Right, Down };

// What the window does after a key in the editor box.
enum class KeyOutcome {
    Editing,      // the box is open on the (possibly new) current cell
    SaveFocused,  // the last cell was committed; Save gets the focus, the box stays hidden
    Closed,       // Esc: the box is emptied and hidden, the grid gets the focus
};

struct CellStyle {
    bool bold = false;
    bool centred = false;
};

struct SaveResult {
    bool saved = false;
    std::string message;  // why nothing was written, when not saved
};

class GridEditorModel {
  public:
    virtual ~GridEditorModel() = default;

    int rowCount() const { return static_cast<int>(cells_.size()); }
    int columnCount() const { return columns_; }
    int lastRow() const { return rowCount() - 1; }
    // The text of a cell; empty outside the grid.
    const std::string& cell(int row, int column) const;
    CellStyle style(int row, int column) const;
    // A caption row: one text written into every cell, shown as one cell across the row as long
    // as all its cells still read the same.
    bool isMergedRow(int row) const;
    virtual bool isEditableColumn(int column) const = 0;

    int currentRow() const { return row_; }
    int currentColumn() const { return column_; }
    // True while the editor box stands over the current cell.
    bool editing() const { return editing_; }
    const std::string& editorText() const { return editorText_; }
    // What the user has typed into the editor box so far.
    void setEditorText(std::string text) { editorText_ = std::move(text); }

    // The window opens: the first cell to fill becomes current and is edited.
    void activate();
    // Opens the editor box on the current cell with its text (a click on the grid, Enter in the
    // grid). Does nothing in a column that cannot be edited; returns whether the box is open.
    bool startEdit();
    // The grid's current cell moves (a click or the grid's own keys): the pending entry is
    // committed to the cell being left first.
    void setCurrentCell(int row, int column);
    // A click on a cell: the current cell moves there and its editing starts.
    void click(int row, int column);
    // Writes the pending entry into the current cell and hides the box; nothing when hidden.
    void commit();
    // The grid scrolled: the box is hidden and the entry dropped, nothing is committed.
    void scrolled();
    // A key in the editor box.
    KeyOutcome handleKey(EditorKey key);
    // Commits the pending entry and writes the file. A cell that cannot be saved becomes the
    // current cell with the editor box open on it, and nothing reaches the disk.
    SaveResult save(const std::filesystem::path& file);

  protected:
    struct Move {
        enum Kind { To, AppendRowTo, FocusSave, Stay } kind = Stay;
        int row = 0;
        int column = 0;
    };

    GridEditorModel(int rows, int columns, int startRow, int startColumn);

    // Where a key leads from the current cell (not called for Esc).
    virtual Move navigate(EditorKey key) const = 0;
    // The text a committed entry (blanks already removed) leaves in its cell.
    virtual std::string committedText(std::string_view entry) const = 0;
    // Writes the file from the cells; throws CellError for a cell that cannot be written.
    virtual void write(const std::filesystem::path& file) const = 0;
    // The grid cell (row, column) that a writer's CellError names.
    virtual std::pair<int, int> gridCellOf(const CellError& error) const = 0;

    void setCell(int row, int column, std::string text, CellStyle style = {});
    void setCaptionRow(int row, const std::string& caption, CellStyle style);
    void appendRow();

  private:
    struct Cell {
        std::string text;
        CellStyle style;
    };
    bool inGrid(int row, int column) const;

    int columns_;
    std::vector<std::vector<Cell>> cells_;
    std::vector<bool> captionRows_;
    int startRow_, startColumn_;
    int row_ = 0, column_ = 0;
    bool editing_ = false;
    std::string editorText_;
};

// The entry of an editor box without blanks around it.
std::string_view trimEntry(std::string_view text);

}  // namespace orr::editors
