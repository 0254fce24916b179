#include "gui/BasicDialogs.h"

#include "gui/DataSetNameDialog.h"
#include "gui/DialogRunner.h"
#include "gui/ParametersDialog.h"

namespace orr::gui {

bool showDataSetNameDialog(QWidget* owner, MainView& view) {
    DataSetNameDialog dialog(view, owner);
    return execDialog(dialog) == QDialog::Accepted;
}

bool showParametersDialog(QWidget* owner, MainView& view) {
    ParametersDialog dialog(view, owner);
    return execDialog(dialog) == QDialog::Accepted;
}

}  // namespace orr::gui
