// Step 11: opens one of the reports of the data set, the report for the browser or the results
// as CSV files, offering only those that hold something, in the platform's program (the browser
// for the report, the spreadsheet for a CSV file) or in the built-in viewer.
#pragma once

#include <QDialog>
#include <array>
#include <cstddef>

class QRadioButton;

namespace orr {
struct Session;
}

namespace orr::gui {

// The files step 11 offers: _VolSum.txt, _Regress.txt, _StratVol.txt, _Report.html,
// _Estimates.csv and _Allocation.csv (options "Option1" to "Option6").
inline constexpr std::size_t kOutputOptions = 6;

class OutputViewerDialog : public QDialog {
    Q_OBJECT
  public:
    explicit OutputViewerDialog(const Session& session, QWidget* parent = nullptr);

  private:
    // View (the platform's program, else the built-in viewer) or View Here (`here`).
    void onView(bool here);

    const Session& session_;
    std::array<QRadioButton*, kOutputOptions> options_{};
};

}  // namespace orr::gui
