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
        showError(parent, QStringLiteral("Max number of Species should be greater than 0"));
        return;
    }
    CoefficientEditor editor(view, parent);
    execDialog(editor);
}

QString CoefficientEditor::cellName(int row, int column) const {
    // Each equation's block of species rows follows its caption row.
    int equation = 0;
    for (int r = 1; r <= row; ++r)
        if (model().isMergedRow(r)) ++equation;
    return GridEditorDialog::cellName(row, column) + QStringLiteral(" (equation %1)").arg(equation);
}

std::filesystem::path CoefficientEditor::targetFile() {
    const Session& session = view().session();
    return files::path(session.dataFilesDir(), session.dataSetName,
                       files::DataSetFile::Coefficients);
}

void CoefficientEditor::fileSaved(const std::filesystem::path& file) {
    showNote(this, QStringLiteral("Co-efficient file ") + qpath(file) + QStringLiteral(" Created"));
    view().setInput(ChosenInput::Coefficients, file);
    view().showOutputLabel(QStringLiteral("LblCoeffFile"),
                           QStringLiteral("File - ") + qpath(file.filename()));
    view().appendLog(QStringLiteral("Regression Coefficient File Created, FileName: ") +
                     qpath(file));
}

}  // namespace orr::gui
