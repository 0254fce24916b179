// The results window: for each stratum a scatter of its Phase 2 plots' ground volume against the
// LiDAR variable of a regression, with the fitted line, the Phase 1 mean and the estimate, and
// the regression's R², SE % and efficiency beside it; a chart of every stratum's estimate and the
// combined ones with 95 % confidence bars and a table of their numbers beside it (with totals
// when the stratum areas are chosen); a choice of regression variable; each chart saved as PNG
// or SVG, titled with the data set and the variable; and the Plan tab, the plan of the next
// inventory for the plot costs and target error of the parameters (gui/ResultsPlanTab.h). Escape
// closes the window. It works the estimates out again from the files step 9 read, with step 9's
// own code.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "engine/doublesample/AreaEstimates.h"
#include "engine/doublesample/DoubleSampleInputs.h"
#include "engine/doublesample/ResultCharts.h"
#include "engine/doublesample/StratifiedEstimates.h"

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

    // Works the results out again from the files (after another run of step 9).
    void reload();
    // False when the files could not be read; problem() says why.
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
    DoubleSampleInputs inputs_;
    DoubleSampleEstimates estimates_;
    std::optional<AreaEstimates> areas_;
    QString areasNote_;  // why the chosen areas are not used, or what they leave out
    QTableWidget* table_ = nullptr;
    std::optional<int> shown_;
};

}  // namespace orr::gui
