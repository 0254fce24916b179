// The Plan tab of the results window: the plan of the next inventory as _Plan.csv holds it (each
// stratum's cheapest double sample for the plot costs and target error, and the design for the
// whole forest), with the required plots rounded up, and per stratum a line chart of the cost of
// reaching the target against the number of LiDAR plots per ground plot, its least cost marked
// and the cost of ground plots alone beside it.
#pragma once

#include <QWidget>
#include <vector>

#include "engine/doublesample/PlanEstimates.h"

class QChart;
class QChartView;
class QTableWidget;

namespace orr::gui {

class ResultsPlanTab : public QWidget {
    Q_OBJECT
  public:
    explicit ResultsPlanTab(const InventoryPlan& plan, QWidget* parent = nullptr);

    // The cost chart of the i-th stratum of the plan (in the order of InventoryPlan::strata).
    QChart* chart(std::size_t i) const;
    std::size_t chartCount() const { return views_.size(); }

  private:
    std::vector<QChartView*> views_;
};

// The cost of stratum plan `p` against its LiDAR plots per ground plot: the line series
// "seriesPlanCost", the least cost as the scatter series "seriesPlanMinimum" (none when the cost
// has no least value), and the cost of ground plots alone as the dashed line "seriesGroundOnly".
QChart* planCostChart(const StratumPlan& p, const PlanSettings& settings);

}  // namespace orr::gui
