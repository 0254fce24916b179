// Step 3: select an existing regression coefficient file, open it in the program the platform
// associates with it, or create a new one in the grid editor.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace orr::gui {

class MainView;

class CoefficientFileDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CoefficientFileDialog(MainView& view, QWidget* parent = nullptr);

  private:
    void onBrowse();
    void onOk();
    void onCreateFile();
    // Edit File (the platform's program, else the grid editor) or Edit in Grid (`here`).
    void onEdit(bool here);

    MainView& view_;
    QString chosen_;  // the file chosen with Browse while the dialog is open
    QLineEdit* fileBox_;
};

}  // namespace orr::gui
