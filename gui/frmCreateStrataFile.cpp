#include "gui/frmCreateStrataFile.h"

#include "model/editors/StrataEditorModel.h"
#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainView.h"

namespace orr::gui {

frmCreateStrataFile::frmCreateStrataFile(MainView& view, QWidget* parent)
    : GridEditorDialog(view, std::make_unique<editors::StrataEditorModel>(),
                       QStringLiteral("Create Strata File, Assign Plots to Strata"),
                       QStringLiteral("Please Enter the Strata, Begin Plot and End Plot Values and "
                                      "Avg age:"),
                       parent) {
    setObjectName(QStringLiteral("frmCreateStrataFile"));
}

void frmCreateStrataFile::run(MainView& view, QWidget* parent) {
    frmCreateStrataFile editor(view, parent);
    execDialog(editor);
}

std::filesystem::path frmCreateStrataFile::targetFile() {
    return view().session().dataSetFile("_STRATA.csv");
}

void frmCreateStrataFile::fileSaved(const std::filesystem::path& file) {
    showMessage(this, QMessageBox::Information,
                QStringLiteral("Strata file ") + qpath(file) + QStringLiteral(" Created"));
    view().session().StrataFileName = file;
    view().appendLog(QStringLiteral("Strata File Created"));
}

}  // namespace orr::gui
