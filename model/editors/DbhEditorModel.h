// The grid of the DBH editor: a heading row and one row per species and
// product class, species outer and product inner, with the class's Min and Max DBH.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/editors/GridEditorModel.h"

namespace orr::editors {

class DbhEditorModel : public GridEditorModel {
  public:
    DbhEditorModel(int maxSpec, int maxProd);

    bool isEditableColumn(int column) const override { return column == 2 || column == 3; }
    int maxSpec() const { return maxSpec_; }
    int maxProd() const { return maxProd_; }
    // Grid row of a species (1..maxSpec) and product (1..maxProd).
    int classRow(int species, int product) const { return (species - 1) * maxProd_ + product; }
    // The Min DBH and Max DBH cells of every class row, as the file writer takes them.
    std::vector<std::array<std::string, 2>> dbhRows() const;

  protected:
    Move navigate(EditorKey key) const override;
    std::string committedText(std::string_view entry) const override;
    void write(const std::filesystem::path& file) const override;
    std::pair<int, int> gridCellOf(const CellError& error) const override;

  private:
    int maxSpec_;
    int maxProd_;
};

}  // namespace orr::editors
