// Step 4's strata editor: the plot ranges and average age of every stratum, saved as the data
// set's strata file.
#pragma once

#include "gui/GridEditorDialog.h"

namespace orr::gui {

class StrataEditor : public GridEditorDialog {
    Q_OBJECT
  public:
    explicit StrataEditor(MainView& view, QWidget* parent = nullptr);

    // Shows the editor modally.
    static void run(MainView& view, QWidget* parent);

  protected:
    std::filesystem::path targetFile() override;
    void fileSaved(const std::filesystem::path& file) override;
};

}  // namespace orr::gui
