#include "gui/BasicDialogs.h"

#include "gui/DialogRunner.h"
#include "gui/frmEnterDataSetName.h"
#include "gui/frmUserParameters.h"

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
