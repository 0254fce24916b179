// Step 2: the nine user parameters, shown as PARAMETER.PRM holds them and saved back to it.
#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace orr::gui {

class MainView;

class frmUserParameters : public QDialog {
    Q_OBJECT
  public:
    explicit frmUserParameters(MainView& view, QWidget* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void loadFromFile();
    void cmdSave_Click();
    void cboModelSet_Click(int position);

    MainView& view_;
    QLineEdit* txtPACF_;
    QLineEdit* txtMaxSpec_;
    QLineEdit* txtMaxProd_;
    QLineEdit* txtMaxItern_;
    QLineEdit* txtMaxPlots_;
    QComboBox* cboLiHgtAdj_;
    QComboBox* cboModelSet_;
    QGroupBox* FRAMEMS2_;
    QLineEdit* txtPTIP_;
    QLineEdit* txtSTIP_;
    QPushButton* cmdSave_;
    QPushButton* cmdCancel_;
};

}  // namespace orr::gui
