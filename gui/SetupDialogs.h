// Steps 3 and 4 of the main window: the coefficient file dialog and the strata and DBH file
// dialog, each with the grid editors it opens.
#pragma once

class QWidget;

namespace orr::gui {

class MainView;

// Shows frmEnterRegCoeff modally (step 3).
void showRegCoeffDialog(QWidget* owner, MainView& view);
// Shows frmAssignPlotsDBH modally (step 4).
void showAssignPlotsDbhDialog(QWidget* owner, MainView& view);

}  // namespace orr::gui
