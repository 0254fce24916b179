#include "gui/FileOpening.h"

#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/InputFileEditor.h"
#include "gui/ReportViewer.h"

namespace orr::gui {

void editInputFile(QWidget* parent, const std::filesystem::path& file,
                   const QStringList& headings) {
    if (!openWithDefaultProgram(qpath(file))) editInputFileHere(parent, file, headings);
}

void editInputFileHere(QWidget* parent, const std::filesystem::path& file,
                       const QStringList& headings) {
    InputFileEditor editor(file, headings, parent);
    if (editor.loaded()) execDialog(editor);
}

void viewReport(QWidget* parent, const std::filesystem::path& file) {
    if (!openWithDefaultProgram(qpath(file))) viewReportHere(parent, file);
}

void viewReportHere(QWidget* parent, const std::filesystem::path& file) {
    ReportViewer viewer(qpath(file), parent);
    execDialog(viewer);
}

}  // namespace orr::gui
