// The strata editor's grid: key moves that append rows, and the strata file it saves.
#include "model/editors/StrataEditorModel.h"

#include <algorithm>

#include "files/CellText.h"
#include "files/StrataFile.h"
#include "model/editors/CommitRules.h"

namespace orr::editors {

StrataEditorModel::StrataEditorModel() : GridEditorModel(2, 4, 1, 0) {
    const CellStyle heading{true, true};
    setCell(0, 0, "Strata", heading);
    setCell(0, 1, "Begin Plot", heading);
    setCell(0, 2, "End Plot", heading);
    setCell(0, 3, "Avg age", heading);
}

GridEditorModel::Move StrataEditorModel::navigate(EditorKey key) const {
    const int row = currentRow();
    const int column = currentColumn();
    switch (key) {
        case EditorKey::Enter:
        case EditorKey::Right:
            if (column < 3) return {Move::To, row, column + 1};
            if (row == lastRow()) return {Move::AppendRowTo, row + 1, 0};
            return {Move::To, row + 1, 0};
        case EditorKey::Left:
            if (column >= 1) return {Move::To, row, column - 1};
            break;
        case EditorKey::Up:
            if (row > 1) return {Move::To, row - 1, column};
            break;
        case EditorKey::Down:
            if (row < lastRow()) return {Move::To, row + 1, column};
            return {Move::AppendRowTo, row + 1, column};
        case EditorKey::Escape:
            break;
    }
    return {Move::Stay};
}

std::string StrataEditorModel::committedText(std::string_view entry) const {
    return int16CellText(entry);
}

std::vector<std::array<std::string, 4>> StrataEditorModel::strataRows() const {
    std::vector<std::array<std::string, 4>> rows;
    for (int r = 1; r <= lastRow(); ++r)
        rows.push_back({cell(r, 0), cell(r, 1), cell(r, 2), cell(r, 3)});
    return rows;
}

void StrataEditorModel::write(const std::filesystem::path& file) const {
    // Enter past the last value appends a row; blank rows at the end of the grid hold nothing
    // to save and are left out. A blank row between filled ones is refused by the writer.
    std::vector<std::array<std::string, 4>> rows = strataRows();
    while (!rows.empty() &&
           std::ranges::all_of(rows.back(), [](const std::string& t) { return cells::isEmpty(t); }))
        rows.pop_back();
    writeStrataFile(file, rows);
}

std::pair<int, int> StrataEditorModel::gridCellOf(const CellError& error) const {
    return {error.row, error.column};
}

}  // namespace orr::editors
