#include "setup/gui/BasicDialogs.h"

#include "setup/gui/DialogRunner.h"
#include "setup/gui/frmEnterDataSetName.h"
#include "setup/gui/frmUserParameters.h"

namespace orr::gui {

bool showDataSetNameDialog(QWidget* owner, MainView& view) {
    frmEnterDataSetName dialog(view, owner);
    return execDialog(dialog) == QDialog::Accepted;
}

bool showParametersDialog(QWidget* owner, MainView& view) {
    frmUserParameters dialog(view, owner);
    return execDialog(dialog) == QDialog::Accepted;
}

}  // namespace orr::gui
