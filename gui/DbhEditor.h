// Step 4's DBH editor: the smallest and largest DBH of every species in every product class,
// saved as the data set's DBH file.
#pragma once

#include "gui/GridEditorDialog.h"

namespace orr::gui {

class DbhEditor : public GridEditorDialog {
    Q_OBJECT
  public:
    explicit DbhEditor(MainView& view, QWidget* parent = nullptr);

    // Shows the editor modally; with no species or no products to enter it says so instead.
    static void run(MainView& view, QWidget* parent);

  protected:
    std::filesystem::path targetFile() override;
    void fileSaved(const std::filesystem::path& file) override;
};

}  // namespace orr::gui
