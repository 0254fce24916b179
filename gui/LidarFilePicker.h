// The LiDAR-file picker of steps 6, 7 and 10: the Phase 1 LiDAR height files of DataSet 1
// (required) and DataSet 2 (optional).
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace orr::gui {

class MainView;

class LidarFilePicker : public QDialog {
    Q_OBJECT
  public:
    explicit LidarFilePicker(MainView& view, QWidget* parent = nullptr);

    // Cancel and the window's close button: the DataSet 1 file is emptied again.
    void reject() override;

  private:
    // Browse for the DataSet 1 file (`dataSet1`) or the DataSet 2 file.
    void browse(bool dataSet1);
    void onOk();

    MainView& view_;
    QLineEdit* dataSet1Box_;
    QLineEdit* dataSet2Box_;
    QPushButton* okButton_;
};

}  // namespace orr::gui
