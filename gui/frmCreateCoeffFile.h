// Step 3's grid editor: the regression coefficients b0..b3 of the five equations for every
// species, saved as DataSetName + "_COEFFIC.csv".
#pragma once

#include "gui/GridEditorDialog.h"

namespace orr::gui {

class frmCreateCoeffFile : public GridEditorDialog {
    Q_OBJECT
  public:
    explicit frmCreateCoeffFile(MainView& view, QWidget* parent = nullptr);

    // Shows the editor modally; with no species to enter it says so instead.
    static void run(MainView& view, QWidget* parent);

  protected:
    std::filesystem::path targetFile() override;
    void fileSaved(const std::filesystem::path& file) override;
};

}  // namespace orr::gui
