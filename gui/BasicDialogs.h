// The two small set-up dialogs other windows open: the data-set name (step 1) and the user
// parameters (step 2, and step 6 when the plots of a stratum outnumber the maximum).
#pragma once

class QWidget;

namespace orr::gui {

class MainView;

// Shows frmEnterDataSetName modally; true when a name was saved into the session.
bool showDataSetNameDialog(QWidget* owner, MainView& view);

// Shows frmUserParameters modally; true when the parameters were saved.
bool showParametersDialog(QWidget* owner, MainView& view);

}  // namespace orr::gui
