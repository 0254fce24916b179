#include "gui/StrataEditor.h"

#include "files/DataSetFiles.h"
#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainView.h"
#include "model/editors/StrataEditorModel.h"

namespace orr::gui {

StrataEditor::StrataEditor(MainView& view, QWidget* parent)
    : GridEditorDialog(view, std::make_unique<editors::StrataEditorModel>(),
                       QStringLiteral("Create Strata File, Assign Plots to Strata"),
                       QStringLiteral("Please Enter the Strata, Begin Plot and End Plot Values and "
                                      "Avg age:"),
                       parent) {
    setObjectName(QStringLiteral("frmCreateStrataFile"));
}

void StrataEditor::run(MainView& view, QWidget* parent) {
    StrataEditor editor(view, parent);
    execDialog(editor);
}

std::filesystem::path StrataEditor::targetFile() {
    const Session& session = view().session();
    return files::path(session.dataFilesDir(), session.dataSetName, files::DataSetFile::Strata);
}

void StrataEditor::fileSaved(const std::filesystem::path& file) {
    showNote(this, QStringLiteral("Strata file ") + qpath(file) + QStringLiteral(" Created"));
    view().setInput(ChosenInput::Strata, file);
    view().appendLog(QStringLiteral("Strata File Created"));
}

}  // namespace orr::gui
