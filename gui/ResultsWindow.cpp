#include "gui/ResultsWindow.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>
#include <set>
#include <string>

#include "core/NumberText.h"
#include "engine/doublesample/ChartData.h"
#include "engine/doublesample/ResultTables.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/QChartBuilders.h"
#include "gui/ResultsPlanTab.h"
#include "model/session/Session.h"

namespace orr::gui {

ResultsWindow::ResultsWindow(const Session& session, QWidget* parent)
    : QWidget(parent), session_(session) {
    setObjectName(QStringLiteral("frmResults"));
    setWindowFlag(Qt::Window);
    sizeWithinScreenAndCloseOnEscape(this, 1180, 640);

    auto* choose = new QLabel(QStringLiteral("Regression &variable:"), this);
    variable_ = new QComboBox(this);
    variable_->setObjectName(QStringLiteral("cboVariable"));
    variable_->addItem(QStringLiteral("Selected in each stratum"));
    for (int k = 0; k < kRegressions; ++k) variable_->addItem(qstr(variableName(k)));
    choose->setBuddy(variable_);
    auto* save = makeButton(QStringLiteral("&Save Chart…"), QStringLiteral("cmdSaveChart"), this);
    auto* close = makeButton(QStringLiteral("&Close"), QStringLiteral("cmdCloseResults"), this);
    auto* top = new QHBoxLayout;
    top->addWidget(choose);
    top->addWidget(variable_);
    top->addStretch(1);
    top->addWidget(save);
    top->addWidget(close);

    problemLabel_ = new QLabel(this);
    problemLabel_->setObjectName(QStringLiteral("lblResultsProblem"));
    problemLabel_->setWordWrap(true);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabCharts"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(problemLabel_);
    layout->addWidget(tabs_, 1);

    connect(variable_, &QComboBox::currentIndexChanged, this, [this](int index) {
        showRegression(index <= 0 ? std::nullopt : std::optional<int>(index - 1));
    });
    connect(save, &QPushButton::clicked, this, &ResultsWindow::onSave);
    // The Plan tab holds several charts and no chart of its own to save.
    connect(tabs_, &QTabWidget::currentChanged, this,
            [this, save](int index) { save->setEnabled(index < chartCount()); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    setResults(nullptr);
}

void ResultsWindow::setResults(std::shared_ptr<const DoubleSampleResults> results,
                               const QString& why) {
    setWindowTitle(QStringLiteral("Results – ") + qstr(session_.dataSetName));
    results_ = std::move(results);
    problem_.clear();
    areasNote_.clear();
    if (results_) {
        inputs_ = results_->inputs;
        estimates_ = results_->estimates;
        for (const std::string& note : results_->areaNotes)
            areasNote_ += qstr(note) + QStringLiteral(". ");
    } else {
        problem_ = why.isEmpty() ? QStringLiteral(
                                       "The results cannot be shown: step 9 has not "
                                       "run since the program started.")
                                 : why;
        inputs_ = {};
        estimates_ = {};
    }
    rebuild();
}

void ResultsWindow::showRegression(std::optional<int> k) {
    shown_ = k;
    const int index = k ? *k + 1 : 0;
    if (variable_->currentIndex() != index) variable_->setCurrentIndex(index);  // calls back
    rebuild();
}

void ResultsWindow::rebuild() {
    const int current = tabs_->currentIndex();
    while (tabs_->count() > 0) {
        QWidget* page = tabs_->widget(0);
        tabs_->removeTab(0);
        delete page;
    }
    views_.clear();
    table_ = nullptr;
    problemLabel_->setText(problem_);
    problemLabel_->setVisible(!problem_.isEmpty());
    if (!problem_.isEmpty()) return;

    const auto addView = [this](QChart* chart, const QString& name) {
        auto* view = new QChartView(chart);
        view->setObjectName(name);
        view->setRenderHint(QPainter::Antialiasing);
        views_.push_back(view);
        return view;
    };
    std::vector<EstimateInterval> bars = estimateIntervals(estimates_, shown_);
    const std::optional<AreaEstimates>& areas = results_->areas;
    if (areas) {
        EstimateInterval byArea{"combined by area"};
        for (const AreaCombinedEstimate& c : areas->combined) {
            if (shown_ ? c.k == *shown_ : c.selected)
                byArea = {"combined by area",     true, c.k, c.mean, c.mean - c.t * c.seMean,
                          c.mean + c.t * c.seMean};
        }
        bars.push_back(std::move(byArea));
    }
    // The data set and the variable in every title, so that a saved chart says what it shows.
    const QString dataSet = qstr(session_.dataSetName) + QStringLiteral(" – ");
    const QString title =
        dataSet +
        (shown_ ? QStringLiteral("Mean ground volume per acre on ") + qstr(variableName(*shown_)) +
                      QStringLiteral(", with 95 % confidence intervals")
                : QStringLiteral("Mean ground volume per acre (each stratum's selected "
                                 "regression), with 95 % confidence intervals"));
    auto* estimatesPage = new QWidget;
    auto* estimatesRow = new QHBoxLayout(estimatesPage);
    estimatesRow->addWidget(addView(estimatesChart(bars, title), QStringLiteral("chartEstimates")),
                            3);
    auto* tableColumn = new QVBoxLayout;
    table_ = new QTableWidget(estimatesPage);
    table_->setObjectName(QStringLiteral("tblEstimates"));
    tableColumn->addWidget(table_, 1);
    auto* note = new QLabel(areasNote_, estimatesPage);
    note->setObjectName(QStringLiteral("lblAreasNote"));
    note->setWordWrap(true);
    note->setVisible(!areasNote_.isEmpty());
    tableColumn->addWidget(note);
    estimatesRow->addLayout(tableColumn, 2);
    fillTable(bars);
    tabs_->addTab(estimatesPage, QStringLiteral("Estimates"));
    for (int h = 0; h <= estimates_.H; ++h) {
        const StratumScatter s = stratumScatter(inputs_, estimates_, h, shown_);
        const std::vector<EstimateInterval> sameRegression = estimateIntervals(estimates_, s.k);
        auto* page = new QWidget;
        auto* row = new QHBoxLayout(page);
        QChart* scatter = scatterChart(s);
        scatter->setTitle(dataSet + scatter->title());
        row->addWidget(addView(scatter, QStringLiteral("chartStratum%1").arg(h)), 1);
        auto* figures =
            new QLabel(scatterSummary(s, sameRegression[static_cast<std::size_t>(h)]), page);
        figures->setObjectName(QStringLiteral("lblStratum%1").arg(h));
        figures->setTextFormat(Qt::RichText);
        figures->setWordWrap(true);
        figures->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        figures->setFixedWidth(figures->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 16);
        row->addWidget(figures);
        tabs_->addTab(
            page, h == 0 ? QStringLiteral("Non-stratified") : QStringLiteral("Stratum %1").arg(h));
    }
    tabs_->addTab(new ResultsPlanTab(results_->plan), QStringLiteral("Plan"));
    if (current >= 0 && current < tabs_->count()) tabs_->setCurrentIndex(current);
}

void ResultsWindow::fillTable(const std::vector<EstimateInterval>& bars) {
    std::vector<files::EstimateRecord> records = estimateRecords(estimates_);
    if (results_->areas) addAreaColumns(estimates_, *results_->areas, records);
    QStringList headings = {QStringLiteral("Stratum"),
                            QStringLiteral("Regression"),
                            QStringLiteral("Estimate\n(cu.ft per acre)"),
                            QStringLiteral("SE"),
                            QStringLiteral("95 % CI"),
                            QStringLiteral("N2L"),
                            QStringLiteral("N1")};
    if (results_->areas)
        headings << QStringLiteral("Total\n(cu.ft)") << QStringLiteral("Total 95 % CI");
    table_->setColumnCount(static_cast<int>(headings.size()));
    table_->setHorizontalHeaderLabels(headings);
    table_->verticalHeader()->setVisible(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const auto number = [](double x, const char* pattern) {
        return qstr(fixedDecimalsHalfAway(x, pattern));
    };
    int row = 0;
    for (const EstimateInterval& bar : bars) {
        if (!bar.present) continue;
        const std::string variable(variableName(bar.k));
        const files::EstimateRecord* found = nullptr;
        for (const files::EstimateRecord& r : records) {
            const bool combined = bar.label == "combined";
            const bool byArea = bar.label == "combined by area";
            const bool same =
                byArea ? r.areaWeighted
                : combined
                    ? !r.stratum && !r.areaWeighted
                    : r.stratum &&
                          *r.stratum == (bar.label == "non-stratified" ? 0 : std::stoi(bar.label));
            if (same && r.variable == variable) found = &r;
        }
        if (!found) continue;
        const files::EstimateRecord& r = *found;
        table_->setRowCount(row + 1);
        QStringList cells = {
            qstr(bar.label),
            qstr(variable),
            number(r.ybarLR, "0.0"),
            number(r.seYbarLR, "0.00"),
            number(r.ci95Low, "0.0") + QStringLiteral(" – ") + number(r.ci95High, "0.0"),
            r.n2 ? number(*r.n2, "0") : QString(),
            r.n1 ? number(*r.n1, "0") : QString()};
        if (results_->areas) {
            cells << (r.total ? number(*r.total, "0") : QString())
                  << (r.total ? number(*r.totalCi95Low, "0") + QStringLiteral(" – ") +
                                    number(*r.totalCi95High, "0")
                              : QString());
        }
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column >= 2) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row, column, item);
        }
        ++row;
    }
    table_->resizeColumnsToContents();
}

QChart* ResultsWindow::chart(int index) const {
    if (index < 0 || index >= chartCount()) return nullptr;
    return views_[static_cast<std::size_t>(index)]->chart();
}

QString ResultsWindow::saveChart(int index, const QString& file) const {
    if (index < 0 || index >= chartCount()) return QStringLiteral("There is no chart to save.");
    QChartView* view = views_[static_cast<std::size_t>(index)];
    // A chart not yet on the screen is drawn at the size the window would give it.
    const QSize size = view->isVisible() ? view->size() : QSize(900, 560);
    if (!view->isVisible()) view->resize(size);
    if (file.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(view->chart()->title());  // the data set and the variable
        QPainter painter;
        if (!painter.begin(&svg))
            return QStringLiteral("File ") + file + QStringLiteral(" cannot be written.");
        view->render(&painter);
        painter.end();
        return QFileInfo::exists(file)
                   ? QString()
                   : QStringLiteral("File ") + file + QStringLiteral(" cannot be written.");
    }
    const QPixmap picture = view->grab(QRect(QPoint(0, 0), size));
    if (!picture.save(file, "PNG"))
        return QStringLiteral("File ") + file + QStringLiteral(" cannot be written.");
    return {};
}

void ResultsWindow::onSave() {
    const int index = tabs_->currentIndex();
    if (index < 0) return;
    const QString suggested =
        qpath(session_.dataFilesDir()) + QLatin1Char('/') + qstr(session_.dataSetName) +
        (index == 0 ? QStringLiteral("_Estimates") : QStringLiteral("_Stratum%1").arg(index - 1)) +
        QStringLiteral(".png");
    QString filter;
    const QString file = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save Chart"), suggested,
        QStringLiteral("PNG image (*.png);;SVG drawing (*.svg)"), &filter);
    if (file.isEmpty()) return;
    const QString problem = saveChart(index, file);
    if (!problem.isEmpty()) showError(this, problem);
}

}  // namespace orr::gui
