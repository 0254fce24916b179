// The grid editor's mechanics shared by the coefficient, strata and DBH editors.
#include "model/editors/GridEditorModel.h"

#include "files/CellText.h"

namespace orr::editors {

std::string_view trimEntry(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

GridEditorModel::GridEditorModel(int rows, int columns, int startRow, int startColumn)
    : columns_(columns),
      cells_(static_cast<std::size_t>(rows), std::vector<Cell>(static_cast<std::size_t>(columns))),
      captionRows_(static_cast<std::size_t>(rows), false),
      startRow_(startRow),
      startColumn_(startColumn) {}

bool GridEditorModel::inGrid(int row, int column) const {
    return row >= 0 && row < rowCount() && column >= 0 && column < columns_;
}

const std::string& GridEditorModel::cell(int row, int column) const {
    static const std::string none;
    return inGrid(row, column) ? cells_[row][column].text : none;
}

CellStyle GridEditorModel::style(int row, int column) const {
    return inGrid(row, column) ? cells_[row][column].style : CellStyle{};
}

bool GridEditorModel::isMergedRow(int row) const {
    if (row < 0 || row >= rowCount() || !captionRows_[row]) return false;
    for (const Cell& c : cells_[row])
        if (c.text != cells_[row].front().text) return false;
    return true;
}

void GridEditorModel::setCell(int row, int column, std::string text, CellStyle style) {
    if (!inGrid(row, column)) return;
    cells_[row][column] = {std::move(text), style};
}

void GridEditorModel::setCaptionRow(int row, const std::string& caption, CellStyle style) {
    if (row < 0 || row >= rowCount()) return;
    for (Cell& c : cells_[row]) c = {caption, style};
    captionRows_[row] = true;
}

void GridEditorModel::appendRow() {
    cells_.emplace_back(static_cast<std::size_t>(columns_));
    captionRows_.push_back(false);
}

void GridEditorModel::activate() {
    editing_ = false;
    editorText_.clear();
    if (!inGrid(startRow_, startColumn_)) return;  // a grid without a cell to fill
    row_ = startRow_;
    column_ = startColumn_;
    startEdit();
}

bool GridEditorModel::startEdit() {
    if (!inGrid(row_, column_) || !isEditableColumn(column_)) return false;
    editorText_ = std::string(trimEntry(cells_[row_][column_].text));
    editing_ = true;
    return true;
}

void GridEditorModel::setCurrentCell(int row, int column) {
    // Row 0 holds the headings and never becomes current.
    if (row < 1 || !inGrid(row, column)) return;
    if (row != row_ || column != column_) commit();
    row_ = row;
    column_ = column;
}

void GridEditorModel::click(int row, int column) {
    if (row < 1 || !inGrid(row, column)) return;
    setCurrentCell(row, column);
    startEdit();
}

void GridEditorModel::commit() {
    if (!editing_) return;
    editing_ = false;
    const std::string_view entry = trimEntry(editorText_);
    if (inGrid(row_, column_))
        cells_[row_][column_].text = entry.empty() ? std::string() : committedText(entry);
    editorText_.clear();
}

void GridEditorModel::scrolled() {
    editing_ = false;
    editorText_.clear();
}

KeyOutcome GridEditorModel::handleKey(EditorKey key) {
    if (key == EditorKey::Escape || !editing_) {
        editing_ = false;
        editorText_.clear();
        return KeyOutcome::Closed;
    }
    const Move move = navigate(key);
    switch (move.kind) {
        case Move::Stay:
            // The move is not possible: the box opens again on the same cell with its stored
            // text, and what was typed is dropped.
            editing_ = false;
            break;
        case Move::FocusSave:
            commit();
            return KeyOutcome::SaveFocused;
        case Move::AppendRowTo:
            commit();
            appendRow();
            row_ = move.row;
            column_ = move.column;
            break;
        case Move::To:
            commit();
            row_ = move.row;
            column_ = move.column;
            break;
    }
    startEdit();
    return KeyOutcome::Editing;
}

SaveResult GridEditorModel::save(const std::filesystem::path& file) {
    commit();
    try {
        write(file);
    } catch (const CellError& e) {
        const auto [row, column] = gridCellOf(e);
        if (!inGrid(row, column)) return {false, e.what()};
        row_ = row;
        column_ = column;
        startEdit();
        // The writer counts the rows it was given; the message names the cell as the grid
        // numbers it (the heading is row 0).
        std::string message = e.what();
        const std::string prefix = "Row " + std::to_string(e.row) + ", column ";
        if (message.rfind(prefix, 0) == 0)
            message = "Row " + std::to_string(row) + ", column " + message.substr(prefix.size());
        return {false, message};
    } catch (const std::exception& e) {
        return {false, e.what()};
    }
    return {true, {}};
}

}  // namespace orr::editors
