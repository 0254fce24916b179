#include "gui/frmCreateCoeffFile.h"

#include "model/editors/CoeffEditorModel.h"
#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainView.h"

namespace orr::gui {

frmCreateCoeffFile::frmCreateCoeffFile(MainView& view, QWidget* parent)
    : GridEditorDialog(view,
                       std::make_unique<editors::CoeffEditorModel>(view.session().params.MaxSpec),
                       QStringLiteral("Create Co-efficient File"),
                       QStringLiteral("Please Enter the Co-efficient Values:"), parent) {
    setObjectName(QStringLiteral("frmCreateCoeffFile"));
}

void frmCreateCoeffFile::run(MainView& view, QWidget* parent) {
    if (view.session().params.MaxSpec <= 0) {
        showMessage(parent, QMessageBox::Critical,
                    QStringLiteral("Max number of Species should be greater than 0"));
        return;
    }
    frmCreateCoeffFile editor(view, parent);
    execDialog(editor);
}

std::filesystem::path frmCreateCoeffFile::targetFile() {
    return view().session().dataSetFile("_COEFFIC.csv");
}

void frmCreateCoeffFile::fileSaved(const std::filesystem::path& file) {
    showMessage(this, QMessageBox::Information,
                QStringLiteral("Co-efficient file ") + qpath(file) + QStringLiteral(" Created"));
    view().session().CoeffFileName = file;
    view().showOutputLabel(QStringLiteral("LblCoeffFile"),
                           QStringLiteral("File - ") + qpath(file.filename()));
    view().appendLog(QStringLiteral("Regression Coefficient File Created, FileName: ") +
                     qpath(file));
}

}  // namespace orr::gui
