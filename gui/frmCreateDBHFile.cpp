#include "gui/frmCreateDBHFile.h"

#include "model/editors/DbhEditorModel.h"
#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainView.h"

namespace orr::gui {

frmCreateDBHFile::frmCreateDBHFile(MainView& view, QWidget* parent)
    : GridEditorDialog(view,
                       std::make_unique<editors::DbhEditorModel>(view.session().params.MaxSpec,
                                                                 view.session().params.MaxProd),
                       QStringLiteral("Create DBH File, Assign Min/Max DBH to species-Product "),
                       QStringLiteral("Please Enter the Min/ Max DBH values:"), parent) {
    setObjectName(QStringLiteral("frmCreateDBHFile"));
    setColumnWidths(80);
}

void frmCreateDBHFile::run(MainView& view, QWidget* parent) {
    const ParamRecord& params = view.session().params;
    if (params.MaxSpec <= 0 || params.MaxProd <= 0) {
        showMessage(parent, QMessageBox::Critical,
                    params.MaxSpec <= 0
                        ? QStringLiteral("Max number of Species should be greater than 0")
                        : QStringLiteral("Max number of Products should be greater than 0"));
        return;
    }
    frmCreateDBHFile editor(view, parent);
    execDialog(editor);
}

std::filesystem::path frmCreateDBHFile::targetFile() {
    return view().session().dataSetFile("_DBH.csv");
}

void frmCreateDBHFile::fileSaved(const std::filesystem::path& file) {
    showMessage(this, QMessageBox::Information,
                QStringLiteral("DBH file ") + qpath(file) + QStringLiteral(" Created"));
    view().session().DBHFileName = file;
    view().appendLog(QStringLiteral("DBH File Created"));
}

}  // namespace orr::gui
