// The window of a file editor: the grid, the floating editor box over its current cell, and the
// Save and Cancel buttons. The window holds no rules of its own: it forwards clicks, keys and
// scrolling to its grid model and mirrors what the model then holds. Its columns are as wide as
// their contents (and a number written in full), a cell never wraps, and the window opens as
// large as the grid wants but never larger than the screen.
#pragma once

#include <QDialog>
#include <filesystem>
#include <memory>

#include "model/editors/GridEditorModel.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace orr::gui {

class MainView;

class GridEditorDialog : public QDialog {
    Q_OBJECT
  public:
    ~GridEditorDialog() override;

    editors::GridEditorModel& model() { return *model_; }
    const editors::GridEditorModel& model() const { return *model_; }

  protected:
    GridEditorDialog(MainView& view, std::unique_ptr<editors::GridEditorModel> model,
                     const QString& caption, const QString& prompt, QWidget* parent);

    // The file Save writes.
    virtual std::filesystem::path targetFile() = 0;
    // After the file was written: the message, the session and the main window.
    virtual void fileSaved(const std::filesystem::path& file) = 0;

    MainView& view() { return view_; }
    // How a message names a cell: its row labels and its column heading ("Species 1, Product 2,
    // Max DBH"), or "Row 3, End Plot" for a grid without row labels.
    virtual QString cellName(int row, int column) const;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void onSave();
    void gridClicked(int row, int column);
    void gridCellChanged(int row, int column);
    void gridScrolled();
    void handleEditorKey(editors::EditorKey key);
    // Mirror the model: every cell, one cell, rows the model appended, and the current cell
    // with the editor box over it (or hidden).
    void refreshAll();
    void refreshCell(int row, int column);
    void refreshRows();
    void showEditor();
    void placeEditor();
    // Column widths from the texts of the cells; the window's size from the grid's.
    void fitColumns();
    void fitWindow();
    int textWidth(int row, int column) const;

    MainView& view_;
    std::unique_ptr<editors::GridEditorModel> model_;
    QLabel* prompt_;
    QTableWidget* grid_;
    QLineEdit* editorBox_;
    QPushButton* saveButton_;
    QPushButton* cancelButton_;
    bool activated_ = false;
    bool syncing_ = false;  // the window moves the grid itself: no events back to the model
};

}  // namespace orr::gui
