// Step 3's grid editor: the regression coefficients b0..b3 of the five equations for every
// species, saved as the data set's coefficient file.
#pragma once

#include "gui/GridEditorDialog.h"

namespace orr::gui {

class CoefficientEditor : public GridEditorDialog {
    Q_OBJECT
  public:
    explicit CoefficientEditor(MainView& view, QWidget* parent = nullptr);

    // Shows the editor modally; with no species to enter it says so instead.
    static void run(MainView& view, QWidget* parent);

  protected:
    // "Species 1, b1 (equation 3)": the species and coefficient, and which of the five equations.
    QString cellName(int row, int column) const override;
    std::filesystem::path targetFile() override;
    void fileSaved(const std::filesystem::path& file) override;
};

}  // namespace orr::gui
