// The LiDAR-file picker of steps 6, 7 and 10: the Phase 1 LiDAR height files of DataSet 1
// (required) and DataSet 2 (optional).
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace orr::gui {

class MainView;

class frmEnterPhase1Height : public QDialog {
    Q_OBJECT
  public:
    explicit frmEnterPhase1Height(MainView& view, QWidget* parent = nullptr);

    // Cancel and the window's close button: the DataSet 1 file is emptied again.
    void reject() override;

  private:
    void browse(bool high);
    void cmdOK_Click();

    MainView& view_;
    QLineEdit* txtHighLidarHeight_;
    QLineEdit* txtLowLidarHeight_;
    QPushButton* cmdOK_;
};

}  // namespace orr::gui
