// The DBH editor's grid: fixed class rows, key moves between the two DBH columns, and the DBH
// file it saves.
#include "model/editors/DbhEditorModel.h"

#include <algorithm>

#include "files/CellText.h"
#include "files/DbhFile.h"
#include "model/editors/CommitRules.h"

namespace orr::editors {

namespace {
int rowsFor(int maxSpec, int maxProd) {
    return std::max(maxSpec, 0) * std::max(maxProd, 0) + 1;
}
}  // namespace

DbhEditorModel::DbhEditorModel(int maxSpec, int maxProd)
    : GridEditorModel(rowsFor(maxSpec, maxProd), 4, 1, 2),
      maxSpec_(std::max(maxSpec, 0)),
      maxProd_(std::max(maxProd, 0)) {
    const CellStyle heading{true, true};
    const CellStyle label{true, false};
    setCell(0, 0, "Species", heading);
    setCell(0, 1, "Product", heading);
    setCell(0, 2, "Min DBH", heading);
    setCell(0, 3, "Max DBH", heading);
    for (int s = 1; s <= maxSpec_; ++s)
        for (int p = 1; p <= maxProd_; ++p) {
            setCell(classRow(s, p), 0, "Species " + std::to_string(s), label);
            setCell(classRow(s, p), 1, "Product " + std::to_string(p), label);
        }
}

GridEditorModel::Move DbhEditorModel::navigate(EditorKey key) const {
    const int row = currentRow();
    const int column = currentColumn();
    switch (key) {
        case EditorKey::Enter:
        case EditorKey::Right:
            if (column < 3) return {Move::To, row, column + 1};
            if (row == lastRow()) return {Move::FocusSave};
            return {Move::To, row + 1, 2};
        case EditorKey::Left:
            if (column == 3) return {Move::To, row, 2};
            break;
        case EditorKey::Up:
            if (row > 1) return {Move::To, row - 1, column};
            break;
        case EditorKey::Down:
            if (row < lastRow()) return {Move::To, row + 1, column};
            break;
        case EditorKey::Escape:
            break;
    }
    return {Move::Stay};
}

std::string DbhEditorModel::committedText(std::string_view entry) const {
    return floatCellText(entry);
}

std::vector<std::array<std::string, 2>> DbhEditorModel::dbhRows() const {
    std::vector<std::array<std::string, 2>> rows;
    for (int r = 1; r <= lastRow(); ++r) rows.push_back({cell(r, 2), cell(r, 3)});
    return rows;
}

void DbhEditorModel::write(const std::filesystem::path& file) const {
    writeDbhFile(file, maxSpec_, maxProd_, dbhRows());
}

std::pair<int, int> DbhEditorModel::gridCellOf(const CellError& error) const {
    return {error.row, error.column};
}

}  // namespace orr::editors
