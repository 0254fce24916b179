// The grid of the coefficient editor: a heading row, then for each of the
// five equations a caption row and one row per species with its coefficients b0..b3.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/editors/GridEditorModel.h"

namespace orr::editors {

class CoeffEditorModel : public GridEditorModel {
  public:
    static constexpr int kEquations = 5;
    // The equations' captions, in the order of the coefficient file's blocks.
    static const std::array<std::string, kEquations>& captions();

    explicit CoeffEditorModel(int maxSpec);

    bool isEditableColumn(int column) const override { return column >= 1 && column <= 4; }
    int maxSpec() const { return maxSpec_; }
    // Grid row of a species (1..maxSpec) of an equation (1..5).
    int speciesRow(int equation, int species) const {
        return 1 + (equation - 1) * (maxSpec_ + 1) + species;
    }
    // The four coefficient cells of every species row, equation by equation, as the file
    // writer takes them.
    std::vector<std::array<std::string, 4>> coefficientRows() const;

  protected:
    Move navigate(EditorKey key) const override;
    std::string committedText(std::string_view entry) const override;
    void write(const std::filesystem::path& file) const override;
    std::pair<int, int> gridCellOf(const CellError& error) const override;

  private:
    bool labelIs(int species) const;
    int maxSpec_;
};

}  // namespace orr::editors
