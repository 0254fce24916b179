// The frame of the parameters dialog that holds the settings of the plan of the next inventory:
// the cost of a ground plot, the cost of a LiDAR plot and the target sampling error in percent.
#pragma once

#include <QGroupBox>
#include <QString>
#include <cstddef>

#include "core/Parameters.h"

class QLineEdit;

namespace orr::gui {

class PlanSettingsBox : public QGroupBox {
    Q_OBJECT
  public:
    explicit PlanSettingsBox(QWidget* parent = nullptr);

    // Shows the values of `p`.
    void load(const ParamRecord& p);
    // Takes the typed values into `p` with the ranges of every other place (ParameterRanges.h);
    // on the first one refused, leaves `p` as it was, puts the focus on its box and returns the
    // message.
    QString take(ParamRecord& p) const;

    // The boxes in the order of kPlanParameters: ground plot cost, LiDAR plot cost, target error.
    QLineEdit* box(std::size_t i) const { return boxes_[i]; }
    static constexpr std::size_t kBoxes = 3;

  private:
    QLineEdit* boxes_[kBoxes];  // in the order of kPlanParameters
};

}  // namespace orr::gui
