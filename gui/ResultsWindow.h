// The results window: for each stratum a scatter of its Phase 2 plots' ground volume against the
// LiDAR variable of a regression, with the fitted line, the Phase 1 mean and the estimate, and
// the regression's R², SE % and efficiency beside it; a chart of every stratum's estimate and the
// combined ones with 95 % confidence bars and a table of their numbers beside it (with totals
// when the stratum areas are chosen); a choice of regression variable; each chart saved as PNG
// or SVG, titled with the data set and the variable; and the Plan tab, the plan of the next
// inventory (gui/ResultsPlanTab.h). Escape closes the window. It shows what step 9 produced (its
// result's details); it computes nothing itself.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "engine/doublesample/ChartData.h"
#include "engine/doublesample/DoubleSampleStep.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QTabWidget;
class QTableWidget;

namespace orr {
struct Session;
}

namespace orr::gui {

class ResultsWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ResultsWindow(const Session& session, QWidget* parent = nullptr);

    // Shows what a run of step 9 produced; nullptr when there is nothing to show, with the
    // problem `why`.
    void setResults(std::shared_ptr<const DoubleSampleResults> results, const QString& why = {});
    // False when there are no results; problem() says why.
    bool hasResults() const { return problem_.isEmpty(); }
    const QString& problem() const { return problem_; }

    // The regression whose variable the scatters show: nullopt for each stratum's selected one.
    void showRegression(std::optional<int> k);
    // The chart of tab `index`: 0 the estimates, 1 + h the scatter of stratum index h.
    QChart* chart(int index) const;
    int chartCount() const { return static_cast<int>(views_.size()); }
    // Saves the chart of tab `index` to `file`, as SVG when the name ends in ".svg", else as
    // PNG; an empty text, or why it could not be written.
    QString saveChart(int index, const QString& file) const;

    // The table beside the estimates chart ("tblEstimates").
    QTableWidget* estimatesTable() const { return table_; }

  private:
    void rebuild();
    // Fills the table with the estimate of each stratum and of both combinations for the
    // regression shown, with totals when the stratum areas are known.
    void fillTable(const std::vector<EstimateInterval>& bars);
    void onSave();

    const Session& session_;
    QComboBox* variable_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLabel* problemLabel_ = nullptr;
    std::vector<QChartView*> views_;
    QString problem_;
    std::shared_ptr<const DoubleSampleResults> results_;
    DoubleSampleInputs inputs_;        // of results_, or empty
    DoubleSampleEstimates estimates_;  // of results_, or empty
    QString areasNote_;                // what the stratum areas leave out
    QTableWidget* table_ = nullptr;
    std::optional<int> shown_;
};

}  // namespace orr::gui
