// Step 11: opens one of the three reports of the data set, offering only those that hold
// something, in the platform's program or in the built-in viewer.
#pragma once

#include <QDialog>
#include <array>

class QRadioButton;

namespace orr {
struct Session;
}

namespace orr::gui {

class OutputViewerDialog : public QDialog {
    Q_OBJECT
  public:
    explicit OutputViewerDialog(const Session& session, QWidget* parent = nullptr);

  private:
    // View (the platform's program, else the built-in viewer) or View Here (`here`).
    void onView(bool here);

    const Session& session_;
    std::array<QRadioButton*, 3> options_{};
};

}  // namespace orr::gui
