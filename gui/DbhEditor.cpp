#include "gui/DbhEditor.h"

#include "files/DataSetFiles.h"
#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainView.h"
#include "model/editors/DbhEditorModel.h"

namespace orr::gui {

DbhEditor::DbhEditor(MainView& view, QWidget* parent)
    : GridEditorDialog(view,
                       std::make_unique<editors::DbhEditorModel>(view.session().params.MaxSpec,
                                                                 view.session().params.MaxProd),
                       QStringLiteral("Create DBH File, Assign Min/Max DBH to species-Product "),
                       QStringLiteral("Please Enter the Min/ Max DBH values:"), parent) {
    setObjectName(QStringLiteral("frmCreateDBHFile"));
}

void DbhEditor::run(MainView& view, QWidget* parent) {
    const ParamRecord& params = view.session().params;
    if (params.MaxSpec <= 0 || params.MaxProd <= 0) {
        showError(parent, params.MaxSpec <= 0
                              ? QStringLiteral("Max number of Species should be greater than 0")
                              : QStringLiteral("Max number of Products should be greater than 0"));
        return;
    }
    DbhEditor editor(view, parent);
    execDialog(editor);
}

std::filesystem::path DbhEditor::targetFile() {
    const Session& session = view().session();
    return files::path(session.dataFilesDir(), session.dataSetName, files::DataSetFile::Dbh);
}

void DbhEditor::fileSaved(const std::filesystem::path& file) {
    showNote(this, QStringLiteral("DBH file ") + qpath(file) + QStringLiteral(" Created"));
    view().setInput(ChosenInput::Dbh, file);
    view().appendLog(QStringLiteral("DBH File Created"));
}

}  // namespace orr::gui
