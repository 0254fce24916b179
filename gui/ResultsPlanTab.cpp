#include "gui/ResultsPlanTab.h"

#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QPen>
#include <QScatterSeries>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/NumberText.h"
#include "engine/doublesample/PlanReport.h"
#include "engine/doublesample/SvgScatter.h"
#include "files/PlanFile.h"
#include "gui/GuiText.h"

namespace orr::gui {

namespace {

const QColor kCost(0x2b, 0x6c, 0xb0);
const QColor kMinimum(0xc0, 0x56, 0x21);
const QColor kGroundOnly(0x55, 0x55, 0x55);

QString fixed(double x, int decimals) {
    return qstr(fixedDecimalsHalfAway(
        x, decimals == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0')));
}

QString optionalFixed(const std::optional<double>& x, int decimals) {
    return x ? fixed(*x, decimals) : QString();
}

// A number of plots to take: the required number rounded up.
QString plots(double required) {
    return fixed(std::ceil(required), 0);
}

// The columns of _Plan.csv, as the table shows them.
const char* const kColumns[] = {"Stratum",
                                "Variable",
                                "Rho²",
                                "S_y",
                                "N2L",
                                "N1",
                                "SE %",
                                "LiDAR per ground plot",
                                "Ground plots",
                                "LiDAR plots",
                                "Cost",
                                "Ground-only plots",
                                "Ground-only cost",
                                "Double sampling pays"};

QStringList rowTexts(const files::PlanRecord& r) {
    const QString stratum = r.stratum == "0" ? QStringLiteral("non-stratified") : qstr(r.stratum);
    return {stratum,
            qstr(r.variable),
            optionalFixed(r.rho2, 4),
            optionalFixed(r.sY, 1),
            optionalFixed(r.n2, 0),
            optionalFixed(r.n1, 0),
            optionalFixed(r.sePercent, 2),
            optionalFixed(r.ratio, 2),
            plots(r.n2Required),
            plots(r.n1Required),
            fixed(r.cost, 1),
            plots(r.groundOnlyN),
            fixed(r.groundOnlyCost, 1),
            r.pays ? QStringLiteral("yes") : QStringLiteral("no")};
}

QTableWidget* planTable(const InventoryPlan& plan, QWidget* parent) {
    const std::vector<files::PlanRecord> rows = planRecords(plan);
    auto* table = new QTableWidget(static_cast<int>(rows.size()),
                                   static_cast<int>(std::size(kColumns)), parent);
    table->setObjectName(QStringLiteral("tblPlan"));
    QStringList headers;
    for (const char* c : kColumns) headers << QString::fromUtf8(c);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QStringList texts = rowTexts(rows[i]);
        for (int column = 0; column < texts.size(); ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            item->setTextAlignment(column < 2 ? Qt::AlignLeft | Qt::AlignVCenter
                                              : Qt::AlignRight | Qt::AlignVCenter);
            if (!rows[i].pays && column == texts.size() - 1) item->setForeground(QColor(0xb00020));
            table->setItem(static_cast<int>(i), column, item);
        }
    }
    table->resizeColumnsToContents();
    // Tall enough for every row, so that the page scrolls rather than the table.
    int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth() +
                 table->horizontalScrollBar()->sizeHint().height();
    for (int row = 0; row < table->rowCount(); ++row) height += table->rowHeight(row);
    table->setMinimumHeight(height);
    table->setMaximumHeight(height);
    return table;
}

QString summaryText(const InventoryPlan& plan) {
    const PlanSettings& s = plan.settings;
    QString text = QStringLiteral(
                       "A ground plot costs %1 and a LiDAR plot %2; the target is a sampling "
                       "error of %3 % at 95 % confidence.")
                       .arg(qstr(shortest(s.groundPlotCost)), qstr(shortest(s.lidarPlotCost)),
                            qstr(shortest(s.targetError)));
    if (plan.forest) {
        const ForestPlan& f = *plan.forest;
        text += QStringLiteral(
                    " For the whole forest the cheapest design takes %1 ground plots and %2 "
                    "LiDAR plots for %3; ground plots alone would take %4 plots for %5.")
                    .arg(plots(f.n2Required), plots(f.n1Required), fixed(f.cost, 1),
                         plots(f.groundOnlyN), fixed(f.groundOnlyCost, 1));
    } else {
        text += QStringLiteral(
            " There is no design for the whole forest: the strata have no "
            "combined estimate.");
    }
    for (const std::string& note : planNotes(plan)) text += QStringLiteral("\n") + qstr(note);
    return text;
}

}  // namespace

QChart* planCostChart(const StratumPlan& p, const PlanSettings& settings) {
    auto* chart = new QChart;
    chart->setTitle(
        (p.stratum == 0 ? QStringLiteral("All plots (non-stratified)")
                        : QStringLiteral("Stratum %1").arg(p.stratum)) +
        QStringLiteral(": cost of reaching %1 %").arg(qstr(shortest(settings.targetError))));
    const std::vector<ChartPoint> curve = costCurve(p, settings);
    double high = p.groundOnlyCost;
    for (const ChartPoint& c : curve) high = std::max(high, c.y);

    auto* x = new QLogValueAxis;
    x->setBase(10);
    x->setRange(curve.front().x, curve.back().x);
    x->setLabelFormat(QStringLiteral("%.3g"));
    x->setMinorTickCount(8);
    x->setTitleText(QStringLiteral("LiDAR plots per ground plot"));
    const AxisTicks ticks = niceTicks(0, high, 5);
    auto* y = new QValueAxis;
    y->setRange(ticks.values.front(), ticks.values.back());
    y->setTickCount(static_cast<int>(ticks.values.size()));
    y->setLabelFormat(QStringLiteral("%.") + QString::number(ticks.decimals) + QStringLiteral("f"));
    y->setTitleText(QStringLiteral("Cost"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    const auto attach = [&](QAbstractSeries* series) {
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
    };

    auto* cost = new QLineSeries;
    cost->setObjectName(QStringLiteral("seriesPlanCost"));
    cost->setName(QStringLiteral("Double sample"));
    cost->setPen(QPen(kCost, 2));
    for (const ChartPoint& c : curve) cost->append(c.x, c.y);
    attach(cost);

    auto* groundOnly = new QLineSeries;
    groundOnly->setObjectName(QStringLiteral("seriesGroundOnly"));
    groundOnly->setName(QStringLiteral("Ground plots alone"));
    groundOnly->setPen(QPen(kGroundOnly, 1.5, Qt::DashLine));
    groundOnly->append(curve.front().x, p.groundOnlyCost);
    groundOnly->append(curve.back().x, p.groundOnlyCost);
    attach(groundOnly);

    if (p.ratio) {
        auto* minimum = new QScatterSeries;
        minimum->setObjectName(QStringLiteral("seriesPlanMinimum"));
        minimum->setName(QStringLiteral("Least cost"));
        chart->setTitle(
            chart->title() +
            QStringLiteral(", least %1 at %2").arg(fixed(p.cost, 1), fixed(*p.ratio, 2)));
        minimum->setColor(kMinimum);
        minimum->setMarkerSize(12);
        minimum->append(*p.ratio, p.cost);
        attach(minimum);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

ResultsPlanTab::ResultsPlanTab(const InventoryPlan& plan, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabPlan"));
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    auto* summary = new QLabel(summaryText(plan), content);
    summary->setObjectName(QStringLiteral("lblPlan"));
    summary->setWordWrap(true);
    column->addWidget(summary);
    column->addWidget(planTable(plan, content));

    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < plan.strata.size(); ++i) {
        auto* view = new QChartView(planCostChart(plan.strata[i], plan.settings), content);
        view->setObjectName(QStringLiteral("chartPlan%1").arg(plan.strata[i].stratum));
        view->setRenderHint(QPainter::Antialiasing);
        view->setMinimumSize(420, 300);
        grid->addWidget(view, static_cast<int>(i / 2), static_cast<int>(i % 2));
        views_.push_back(view);
    }
    column->addLayout(grid);
    column->addStretch(1);

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
}

QChart* ResultsPlanTab::chart(std::size_t i) const {
    return i < views_.size() ? views_[i]->chart() : nullptr;
}

}  // namespace orr::gui
