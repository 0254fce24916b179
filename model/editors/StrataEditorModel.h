// The grid of the strata editor: a heading row and the data rows of the
// strata file, one stratum's plot range and average age per row. The grid grows by one row
// whenever the keyboard moves past its last row.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/editors/GridEditorModel.h"

namespace orr::editors {

class StrataEditorModel : public GridEditorModel {
  public:
    StrataEditorModel();

    bool isEditableColumn(int column) const override { return column >= 0 && column <= 3; }
    // The cells of every data row, as the file writer takes them.
    std::vector<std::array<std::string, 4>> strataRows() const;

  protected:
    Move navigate(EditorKey key) const override;
    std::string committedText(std::string_view entry) const override;
    void write(const std::filesystem::path& file) const override;
    std::pair<int, int> gridCellOf(const CellError& error) const override;
};

}  // namespace orr::editors
