// Step 3: select an existing regression coefficient file, open it in the program the platform
// associates with it, or create a new one in the grid editor.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace orr::gui {

class MainView;

class frmEnterRegCoeff : public QDialog {
    Q_OBJECT
  public:
    explicit frmEnterRegCoeff(MainView& view, QWidget* parent = nullptr);

  private:
    void cmdBrowse_Click();
    void cmdOK_Click();
    void cmdCreateFile_Click();
    void cmdEdit_Click();

    MainView& view_;
    QString chosen_;  // the file chosen with Browse while the dialog is open
    QLineEdit* txtCoeffFileName_;
};

}  // namespace orr::gui
