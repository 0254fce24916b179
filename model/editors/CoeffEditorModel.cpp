// The coefficient editor's grid: layout, key moves and the coefficient file it saves.
#include "model/editors/CoeffEditorModel.h"

#include <algorithm>

#include "files/CellText.h"
#include "files/CoefficientFile.h"
#include "model/editors/CommitRules.h"

namespace orr::editors {

namespace {
constexpr CellStyle kHeading{true, true};
constexpr CellStyle kLabel{true, false};

// Equations 1, 3 and 4 have no b3: their fourth column shows "-".
bool hasNoB3(int equation) {
    return equation == 1 || equation == 3 || equation == 4;
}
}  // namespace

const std::array<std::string, CoeffEditorModel::kEquations>& CoeffEditorModel::captions() {
    static const std::array<std::string, kEquations> texts{
        "From Phase 2 DBH = b0 + b1(lnH)^ b2",
        "From Phase 2 Hgt = b0 + b1(DBH)^ b2(age)^ b3",
        "From Phase 2 GrH (Data Set 1) = b0 + b1(LiH_HIGH)^ b2 ",
        "From Phase 2 GrH (Data Set 2) = b0 + b1(LiH_LOW)^ b2",
        "From Phase 2 Vol = b0 + b1(D)+ b2(H)+ b3(D^2)(H)",
    };
    return texts;
}

CoeffEditorModel::CoeffEditorModel(int maxSpec)
    : GridEditorModel(kEquations * std::max(maxSpec, 0) + 6, 5, 2, 1),
      maxSpec_(std::max(maxSpec, 0)) {
    setCell(0, 0, "Species", kHeading);
    for (int c = 1; c <= 4; ++c) setCell(0, c, "b" + std::to_string(c - 1), kHeading);
    for (int e = 1; e <= kEquations; ++e) {
        setCaptionRow(speciesRow(e, 0), captions()[e - 1], kLabel);
        for (int k = 1; k <= maxSpec_; ++k) {
            setCell(speciesRow(e, k), 0, "Species " + std::to_string(k), kLabel);
            if (hasNoB3(e)) setCell(speciesRow(e, k), 4, "-");
        }
    }
}

bool CoeffEditorModel::labelIs(int species) const {
    return cell(currentRow(), 0) == "Species " + std::to_string(species);
}

GridEditorModel::Move CoeffEditorModel::navigate(EditorKey key) const {
    const int row = currentRow();
    const int column = currentColumn();
    switch (key) {
        case EditorKey::Enter:
        case EditorKey::Right:
            if (column < 4) return {Move::To, row, column + 1};
            if (row == lastRow()) return {Move::FocusSave};
            // The last species of an equation steps over the next equation's caption row.
            return {Move::To, row + (labelIs(maxSpec_) ? 2 : 1), 1};
        case EditorKey::Left:
            if (column >= 2) return {Move::To, row, column - 1};
            break;
        case EditorKey::Up:
            if (row > 2) return {Move::To, row - (labelIs(1) ? 2 : 1), column};
            break;
        case EditorKey::Down:
            if (row < lastRow()) {
                const int next = row + (labelIs(maxSpec_) ? 2 : 1);
                if (next <= lastRow()) return {Move::To, next, column};
            }
            break;
        case EditorKey::Escape:
            break;
    }
    return {Move::Stay};
}

std::string CoeffEditorModel::committedText(std::string_view entry) const {
    return floatCellText(entry);
}

std::vector<std::array<std::string, 4>> CoeffEditorModel::coefficientRows() const {
    std::vector<std::array<std::string, 4>> rows;
    for (int e = 1; e <= kEquations; ++e)
        for (int k = 1; k <= maxSpec_; ++k) {
            const int row = speciesRow(e, k);
            rows.push_back({cell(row, 1), cell(row, 2), cell(row, 3), cell(row, 4)});
        }
    return rows;
}

void CoeffEditorModel::write(const std::filesystem::path& file) const {
    writeCoefficientFile(file, coefficientRows());
}

std::pair<int, int> CoeffEditorModel::gridCellOf(const CellError& error) const {
    if (maxSpec_ == 0 || error.row < 1) return {-1, -1};
    const int equation = (error.row - 1) / maxSpec_ + 1;
    const int species = (error.row - 1) % maxSpec_ + 1;
    return {speciesRow(equation, species), error.column};
}

}  // namespace orr::editors
