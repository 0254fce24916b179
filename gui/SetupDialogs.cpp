#include "gui/SetupDialogs.h"

#include "gui/CoefficientFileDialog.h"
#include "gui/DialogRunner.h"
#include "gui/StrataDbhFilesDialog.h"

namespace orr::gui {

void showCoefficientFileDialog(QWidget* owner, MainView& view) {
    CoefficientFileDialog dialog(view, owner);
    execDialog(dialog);
}

void showStrataDbhFilesDialog(QWidget* owner, MainView& view) {
    StrataDbhFilesDialog dialog(view, owner);
    execDialog(dialog);
}

}  // namespace orr::gui
