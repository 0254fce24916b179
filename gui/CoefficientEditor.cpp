#include "gui/CoefficientEditor.h"

#include "files/DataSetFiles.h"
#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainView.h"
#include "model/editors/CoeffEditorModel.h"

namespace orr::gui {

CoefficientEditor::CoefficientEditor(MainView& view, QWidget* parent)
    : GridEditorDialog(view,
                       std::make_unique<editors::CoeffEditorModel>(view.session().params.MaxSpec),
                       QStringLiteral("Create Co-efficient File"),
                       QStringLiteral("Please Enter the Co-efficient Values:"), parent) {
    setObjectName(QStringLiteral("frmCreateCoeffFile"));
}

void CoefficientEditor::run(MainView& view, QWidget* parent) {
    if (view.session().params.MaxSpec <= 0) {
        showMessage(parent, QMessageBox::Critical,
                    QStringLiteral("Max number of Species should be greater than 0"));
        return;
    }
    CoefficientEditor editor(view, parent);
    execDialog(editor);
}

std::filesystem::path CoefficientEditor::targetFile() {
    const Session& session = view().session();
    return files::path(session.dataFilesDir(), session.dataSetName,
                       files::DataSetFile::Coefficients);
}

void CoefficientEditor::fileSaved(const std::filesystem::path& file) {
    showMessage(this, QMessageBox::Information,
                QStringLiteral("Co-efficient file ") + qpath(file) + QStringLiteral(" Created"));
    view().session().coefficientFile = file;
    view().showOutputLabel(QStringLiteral("LblCoeffFile"),
                           QStringLiteral("File - ") + qpath(file.filename()));
    view().appendLog(QStringLiteral("Regression Coefficient File Created, FileName: ") +
                     qpath(file));
}

}  // namespace orr::gui
