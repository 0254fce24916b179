#include "gui/PlanSettingsBox.h"

#include <QFormLayout>
#include <QLineEdit>
#include <cmath>

#include "core/NumberText.h"
#include "gui/GuiText.h"
#include "model/session/ParameterRanges.h"

namespace orr::gui {

namespace {

// The boxes in the order of kPlanParameters, with their labels.
struct Field {
    const char* objectName;
    const char* label;
};
constexpr Field kFields[] = {
    {"txtGroundPlotCost", "Cost of one ground plot"},
    {"txtLidarPlotCost", "Cost of one LiDAR plot"},
    {"txtTargetError", "Target sampling error (%)"},
};
static_assert(std::size(kFields) == kPlanParameters.size());
static_assert(PlanSettingsBox::kBoxes == kPlanParameters.size());

}  // namespace

PlanSettingsBox::PlanSettingsBox(QWidget* parent)
    : QGroupBox(QStringLiteral("Plan of the Next Inventory"), parent) {
    setObjectName(QStringLiteral("FramePlan"));
    makeCaptionBold(this);
    auto* form = new QFormLayout(this);
    for (std::size_t i = 0; i < kPlanParameters.size(); ++i) {
        boxes_[i] = new QLineEdit(this);
        boxes_[i]->setObjectName(QString::fromLatin1(kFields[i].objectName));
        boxes_[i]->setToolTip(qstr(kPlanParameters[i].caption));
        form->addRow(QString::fromLatin1(kFields[i].label), boxes_[i]);
    }
}

void PlanSettingsBox::load(const ParamRecord& p) {
    for (std::size_t i = 0; i < kPlanParameters.size(); ++i) {
        const double value = p.*kPlanParameters[i].field;
        // A value that is no number is shown as such, so that Save names it.
        boxes_[i]->setText(std::isfinite(value) ? qstr(shortest(value))
                                                : QStringLiteral("not a number"));
    }
}

QString PlanSettingsBox::take(ParamRecord& p) const {
    ParamRecord next = p;
    for (std::size_t i = 0; i < kPlanParameters.size(); ++i) {
        const PlanParameter& setting = kPlanParameters[i];
        if (auto problem = typedPlanValue(setting, utf8(boxes_[i]->text()), next.*setting.field)) {
            boxes_[i]->setFocus();
            return qstr(*problem);
        }
    }
    p = next;
    return {};
}

}  // namespace orr::gui
