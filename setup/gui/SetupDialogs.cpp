#include "setup/gui/SetupDialogs.h"

#include "setup/gui/DialogRunner.h"
#include "setup/gui/frmAssignPlotsDBH.h"
#include "setup/gui/frmEnterRegCoeff.h"

namespace orr::gui {

void showRegCoeffDialog(QWidget* owner, MainView& view) {
    frmEnterRegCoeff dialog(view, owner);
    execDialog(dialog);
}

void showAssignPlotsDbhDialog(QWidget* owner, MainView& view) {
    frmAssignPlotsDBH dialog(view, owner);
    execDialog(dialog);
}

}  // namespace orr::gui
