// The tree-file picker of steps 5 and 10: chooses the Phase 2 tree input file.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace orr::gui {

class MainView;

class frmAssignHgtVol : public QDialog {
    Q_OBJECT
  public:
    explicit frmAssignHgtVol(MainView& view, QWidget* parent = nullptr);

  private:
    void cmdBrowse_Click();
    void cmdEditFile_Click();
    void cmdOK_Click();

    MainView& view_;
    QLineEdit* txtInputFileName_;
    QPushButton* cmdOK_;
};

}  // namespace orr::gui
