// The built-in grid editor of an input file (tree, coefficient, strata or DBH file): every line
// of the file as a row, numbered as the readers' messages number the records, every field in a
// column of its own. Used when the platform has no program to open the file with, or when the
// user prefers it.
#pragma once

#include <QDialog>
#include <QStringList>
#include <filesystem>
#include <functional>

class QTableView;

namespace orr::gui {

class CommaTableModel;

// What the row headings say beside the line numbers, for a file whose records mean something by
// their position (the coefficient file): from the position in the file of a line's first field.
struct RowHeadings {
    std::function<QString(long firstField)> labels;    // empty text: the line number only
    std::function<QString(long firstField)> toolTips;  // may be empty
};

class InputFileEditor : public QDialog {
    Q_OBJECT
  public:
    // `headings`: the names of the file's fields, in order.
    InputFileEditor(const std::filesystem::path& file, const QStringList& headings,
                    QWidget* parent = nullptr, const RowHeadings& rows = {});

    // False when the file could not be read (a message was shown); the editor is not to be run.
    bool loaded() const { return loaded_; }
    CommaTableModel& table() { return *model_; }

    void done(int result) override;

  private:
    void onSave();
    void fitToContents();

    std::filesystem::path file_;
    CommaTableModel* model_;
    QTableView* grid_;
    bool loaded_ = false;
};

// The field names of the input files, for the editor's column headings.
QStringList treeFileHeadings();
QStringList coefficientFileHeadings();
// The coefficient file's records labelled as the coefficient editor labels its rows, "Species 2
// (equation 3)", with the equation's caption as the tip; records past the five blocks of
// `maxSpec` species are "not read".
RowHeadings coefficientFileRows(int maxSpec);
QStringList strataFileHeadings();
QStringList dbhFileHeadings();
QStringList areasFileHeadings();

}  // namespace orr::gui
