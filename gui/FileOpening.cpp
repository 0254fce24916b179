#include "gui/FileOpening.h"

#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/InputFileEditor.h"
#include "gui/ReportViewer.h"

namespace orr::gui {

void editInputFile(QWidget* parent, const std::filesystem::path& file, const QStringList& headings,
                   const RowHeadings& rows) {
    if (!openWithDefaultProgram(qpath(file))) editInputFileHere(parent, file, headings, rows);
}

void editInputFileHere(QWidget* parent, const std::filesystem::path& file,
                       const QStringList& headings, const RowHeadings& rows) {
    InputFileEditor editor(file, headings, parent, rows);
    if (editor.loaded()) execDialog(editor);
}

void editInputFile(QWidget* parent, const std::filesystem::path& file,
                   const QStringList& headings) {
    editInputFile(parent, file, headings, RowHeadings{});
}

void editInputFileHere(QWidget* parent, const std::filesystem::path& file,
                       const QStringList& headings) {
    editInputFileHere(parent, file, headings, RowHeadings{});
}

void viewReport(QWidget* parent, const std::filesystem::path& file) {
    if (!openWithDefaultProgram(qpath(file))) viewReportHere(parent, file);
}

void viewReportHere(QWidget* parent, const std::filesystem::path& file) {
    ReportViewer viewer(qpath(file), parent);
    execDialog(viewer);
}

}  // namespace orr::gui
