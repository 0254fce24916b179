// The results window: for each stratum a scatter of its Phase 2 plots' ground volume against the
// LiDAR variable of a regression, with the fitted line, the Phase 1 mean and the estimate, and
// the regression's R², SE % and efficiency beside it; a chart of every stratum's estimate and the
// combined one with 95 % confidence bars; a choice of regression variable; each chart saved as PNG
// or SVG. It shows what step 9 produced (its result's details); it computes nothing itself.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "engine/doublesample/DoubleSampleStep.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QTabWidget;

namespace orr {
struct Session;
}

namespace orr::gui {

class ResultsWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ResultsWindow(const Session& session, QWidget* parent = nullptr);

    // Shows what a run of step 9 produced; nullptr when step 9 has not run since the program
    // started.
    void setResults(std::shared_ptr<const DoubleSampleResults> results);
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

  private:
    void rebuild();
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
    std::optional<int> shown_;
};

}  // namespace orr::gui
