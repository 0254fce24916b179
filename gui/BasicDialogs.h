// The two small set-up dialogs other windows open: the data-set name (step 1) and the user
// parameters (step 2, the coefficient and DBH checks, and a plot number above MaxPlots).
#pragma once

class QWidget;

namespace orr::gui {

class MainView;

// Shows the data-set name dialog modally; true when a name was saved into the session.
bool showDataSetNameDialog(QWidget* owner, MainView& view);

// Shows the parameters dialog modally; true when the parameters were saved.
bool showParametersDialog(QWidget* owner, MainView& view);

}  // namespace orr::gui
