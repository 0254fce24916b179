#include "gui/SetupDialogs.h"

#include "gui/DialogRunner.h"
#include "gui/frmAssignPlotsDBH.h"
#include "gui/frmEnterRegCoeff.h"

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
