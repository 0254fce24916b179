// Steps 3 and 4 of the main window: the coefficient file dialog and the strata and DBH file
// dialog, each with the grid editors it opens.
#pragma once

class QWidget;

namespace orr::gui {

class MainView;

// Shows the coefficient file dialog modally (step 3).
void showCoefficientFileDialog(QWidget* owner, MainView& view);
// Shows the strata and DBH file dialog modally (step 4).
void showStrataDbhFilesDialog(QWidget* owner, MainView& view);

}  // namespace orr::gui
