// Edit File and View: a file opens in the platform's program when the desktop has one for it,
// otherwise in the program's own window (the report viewer, the input-file grid editor), so that
// pressing the button never does nothing. The own window can also be asked for directly.
#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>

class QWidget;

namespace orr::gui {

struct RowHeadings;

// An input file: the platform's program, else the built-in grid editor (`rows`: what its row
// headings say beside the line numbers).
void editInputFile(QWidget* parent, const std::filesystem::path& file, const QStringList& headings,
                   const RowHeadings& rows);
void editInputFileHere(QWidget* parent, const std::filesystem::path& file,
                       const QStringList& headings, const RowHeadings& rows);
void editInputFile(QWidget* parent, const std::filesystem::path& file, const QStringList& headings);
void editInputFileHere(QWidget* parent, const std::filesystem::path& file,
                       const QStringList& headings);

// A report: the platform's program, else the built-in report viewer.
void viewReport(QWidget* parent, const std::filesystem::path& file);
void viewReportHere(QWidget* parent, const std::filesystem::path& file);

}  // namespace orr::gui
