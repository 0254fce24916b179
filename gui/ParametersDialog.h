// Step 2: the nine user parameters and the settings of the plan of the next inventory, shown as
// PARAMETER.PRM holds them and saved back to it.
#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orr::gui {

class MainView;
class PlanSettingsBox;

class ParametersDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ParametersDialog(MainView& view, QWidget* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void loadFromFile();
    void onSave();
    void onModelSetChosen(int position);
    void onLidarClassesChosen(int position);

    MainView& view_;
    QLineEdit* pacfBox_;
    QLineEdit* maxSpeciesBox_;
    QLineEdit* maxProductsBox_;
    QLineEdit* maxIterationsBox_;
    QLineEdit* maxPlotsBox_;
    QComboBox* heightAdjustmentList_;
    QComboBox* modelSetList_;
    QGroupBox* modelSet2Frame_;
    QLineEdit* ptipBox_;
    QLineEdit* stipBox_;
    QComboBox* lidarClassesList_;
    QLabel* lidarClassesMeaning_;
    PlanSettingsBox* planBox_;
    QPushButton* saveButton_;
    QPushButton* cancelButton_;
};

}  // namespace orr::gui
