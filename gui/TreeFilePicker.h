// The tree-file picker of steps 5 and 10: chooses the Phase 2 tree input file.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace orr::gui {

class MainView;

class TreeFilePicker : public QDialog {
    Q_OBJECT
  public:
    explicit TreeFilePicker(MainView& view, QWidget* parent = nullptr);

  private:
    void onBrowse();
    // Edit File (the platform's program, else the grid editor) or Edit in Grid (`here`).
    void onEditFile(bool here);
    void onOk();

    MainView& view_;
    QLineEdit* fileBox_;
    QPushButton* okButton_;
};

}  // namespace orr::gui
