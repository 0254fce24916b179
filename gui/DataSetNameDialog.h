// Step 1: the data-set name, the prefix of every file of the data set.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace orr::gui {

class MainView;

class DataSetNameDialog : public QDialog {
    Q_OBJECT
  public:
    explicit DataSetNameDialog(MainView& view, QWidget* parent = nullptr);

    // Why a trimmed name cannot be used, or an empty text when it can (before the question
    // about existing reports).
    static QString nameProblem(const QString& name);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void onSave();
    void refuse(const QString& message, bool emptyBox);

    MainView& view_;
    QLineEdit* nameBox_;
    QPushButton* saveButton_;
    QPushButton* cancelButton_;
};

}  // namespace orr::gui
