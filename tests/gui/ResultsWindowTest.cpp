// The results window on a data set small enough to work out by hand: one stratum holding every
// plot, DataSet 1 on plots 1-4 with ground volume = 10 x LiDAR BA, DataSet 2 on plots 5-8 with
// ground volume = 100 + 5 x LiDAR BA; ground mean 172.5 over all 8 plots. LiBA-DS1: Phase 2 mean
// 13, Phase 1 mean 103 / 4 = 25.75, estimate 172.5 + 10 (25.75 - 13) = 300, selected (its SE ties
// with LiBA-DS2's, the lower regression stays). LiBA-DS2: Phase 2 mean 23, Phase 1 mean 18.5,
// estimate 172.5 + 5 (18.5 - 23) = 150. LiVOL-DS1 is constant: no regression.
// Then the bundled sample through steps 5 to 9: the charts hold what _Estimates.csv holds, and the
// window on stratum 1 is the screenshot results-window.png of docs/.
#include <QtCharts>
#include <filesystem>

#include "engine/doublesample/StudentT.h"
#include "files/DataSetFiles.h"
#include "files/EstimatesFile.h"
#include "files/HeaderedFile.h"
#include "files/PlanFile.h"
#include "gui/HelpWindow.h"
#include "gui/ResultsWindow.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/FakeHost.h"

using namespace orr;
using namespace orr::guitest;

namespace {

QList<QPointF> pointsOf(QChart* chart, const char* name) {
    const auto* series = chart->findChild<QXYSeries*>(name);
    return series ? series->points() : QList<QPointF>{};
}

// The sample through steps 5 to 9 in `app`, as ./orravant.sh demo runs it, and what step 9
// handed over; no results when a step did not complete.
struct SampleRun {
    Session session;
    std::shared_ptr<const DoubleSampleResults> results;
};
SampleRun runSample(const QTemporaryDir& app, double groundPlotCost = 10, double lidarPlotCost = 1,
                    double targetError = 10) {
    SampleRun run;
    Session& sample = run.session;
    sample.appDir = gui::fspath(app.path());
    std::filesystem::create_directories(sample.dataFilesDir());
    const std::filesystem::path source = ORRAVANT_SAMPLE_DIR;
    sample.dataSetName = "DEMO";
    sample.inputs = {source / "coefficients.csv",
                     source / "strata.csv",
                     source / "dbh.csv",
                     source / "trees.csv",
                     source / "lidar-ds1.csv",
                     source / "lidar-ds2.csv",
                     {}};
    sample.params = {20, 3, 3, 100, 500, 0, 0, 0.0f, 0.0f};
    sample.params.GroundPlotCost = groundPlotCost;
    sample.params.LidarPlotCost = lidarPlotCost;
    sample.params.TargetError = targetError;
    sample.run.seed = 20261207;
    for (const workflow::StepEntry& step : workflow::stepTable()) {
        test::FakeHost host;
        const StepResult result =
            test::runStep(step.number(), step.run, sample, host, ProductCodePolicy::Drop);
        if (!result.completed()) return {};
        run.results = std::dynamic_pointer_cast<const DoubleSampleResults>(result.details);
    }
    return run;
}

}  // namespace

class ResultsWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    Session session;

    void write(files::DataSetFile file, const QByteArray& text) {
        writeAll(gui::qpath(files::path(session.dataFilesDir(), "T1", file)), text);
    }

  private slots:
    void initTestCase() {
        session.appDir = gui::fspath(dir.path());
        std::filesystem::create_directories(session.dataFilesDir());
        session.dataSetName = "T1";
        session.params = {20, 2, 2, 100, 20, 1, 0, 0.0f, 0.0f};  // 2 species, 2 products, 20 plots
        session.inputs.strata = session.appDir / "strata.csv";
        writeAll(gui::qpath(session.inputs.strata), "1,1,20,30\r\n");
        using files::DataSetFile;
        write(DataSetFile::Phase2,
              "1,40,10,100,20,10,50,0,0,0\r\n2,40,12,120,20,12,50,0,0,0\r\n"
              "3,40,14,140,20,14,50,0,0,0\r\n4,40,16,160,20,16,50,0,0,0\r\n"
              "5,40,20,200,0,0,0,20,20,50\r\n6,40,22,210,0,0,0,20,22,50\r\n"
              "7,40,24,220,0,0,0,20,24,50\r\n8,40,26,230,0,0,0,20,26,50\r\n");
        write(DataSetFile::Phase1DS1,
              "1,1,20,20,100\r\n1,2,20,5.75,100\r\n2,1,20,25,100\r\n3,1,20,26,100\r\n"
              "4,1,20,26.25,100\r\n9,1,0,0,999\r\n");
        write(DataSetFile::Phase1DS2,
              "5,1,20,18,60\r\n6,1,20,18.5,60\r\n7,1,20,18.5,60\r\n8,1,20,19,60\r\n");
    }

    // The selected regressions: tab 0 the estimates of "non-stratified", stratum 1 and
    // "combined"; a scatter for stratum indexes 0 and 1. Saved as PNG and SVG. Then other
    // variables.
    void selectedRegressionsAndOtherVariables() {
        gui::ResultsWindow w(session);
        QVERIFY(!w.hasResults());  // step 9 has not run
        // What step 9 hands over: its regression inputs and estimates, here as the window gets
        // them for a data set opened again.
        w.setResults(readEarlierResults(workflow::stepInputs(session, ProductCodePolicy::Drop)));
        showActive(w);
        QVERIFY2(w.hasResults(), qPrintable(w.problem()));
        QCOMPARE(w.chartCount(), 3);

        QCOMPARE(pointsOf(w.chart(0), "seriesEstimates"),
                 (QList<QPointF>{{0, 300}, {1, 300}, {2, 300}}));
        for (const char* bar : {"seriesInterval0", "seriesInterval1", "seriesInterval2"}) {
            const QList<QPointF> ends = pointsOf(w.chart(0), bar);
            QCOMPARE(ends.size(), 2);
            QVERIFY(ends[0].y() < 300 && ends[1].y() > 300);
            QVERIFY(qAbs(ends[0].y() + ends[1].y() - 600) < 1e-9);  // symmetric about 300
        }

        QChart* stratum1 = w.chart(2);
        QCOMPARE(pointsOf(stratum1, "seriesPlots"),
                 (QList<QPointF>{{10, 100}, {12, 120}, {14, 140}, {16, 160}}));
        // y = 130 + 10 (x - 13) from the smallest plot to the Phase 1 mean.
        QCOMPARE(pointsOf(stratum1, "seriesFittedLine"),
                 (QList<QPointF>{{10, 100}, {25.75, 257.5}}));
        QCOMPARE(pointsOf(stratum1, "seriesEstimate"), (QList<QPointF>{{25.75, 300}}));
        const QList<QPointF> mean = pointsOf(stratum1, "seriesPhase1Mean");
        QCOMPARE(mean.size(), 2);
        QCOMPARE(mean[0].x(), 25.75);
        QVERIFY(child<QLabel>(w, "lblStratum1")->text().contains(QStringLiteral("R² 1.000")));

        const QString png = dir.filePath("estimates.png"), svg = dir.filePath("stratum1.svg");
        QCOMPARE(w.saveChart(0, png), QString());
        QCOMPARE(w.saveChart(2, svg), QString());
        QVERIFY(readAll(png).startsWith("\x89PNG"));
        QVERIFY(readAll(svg).contains("<svg"));
        QVERIFY(!w.saveChart(0, dir.filePath("no/such/folder/x.png")).isEmpty());

        // Another variable: LiBA-DS2 everywhere; LiVOL-DS1 has no regression, so no estimate and
        // no line, but its plots are shown.
        child<QComboBox>(w, "cboVariable")->setCurrentIndex(3);  // LiBA-DS2(sq.ft)
        QCOMPARE(pointsOf(w.chart(0), "seriesEstimates"),
                 (QList<QPointF>{{0, 150}, {1, 150}, {2, 150}}));
        QCOMPARE(pointsOf(w.chart(2), "seriesEstimate"), (QList<QPointF>{{18.5, 150}}));
        child<QComboBox>(w, "cboVariable")->setCurrentIndex(2);  // LiVOL-DS1(cu.ft)
        QVERIFY(pointsOf(w.chart(0), "seriesEstimates").isEmpty());
        QCOMPARE(pointsOf(w.chart(1), "seriesPlots").size(), 4);
        QVERIFY(pointsOf(w.chart(1), "seriesFittedLine").isEmpty());
    }

    // With stratum areas (the one stratum of 250 acres): the table beside the estimates chart
    // holds every stratum index and both combinations with their totals; the combination by area
    // of a single stratum is that stratum's estimate, with the exact t of its n - 2 = 2 degrees
    // of freedom (4.302653) rather than the expansion's. Saved charts name the data set and the
    // variable in their title.
    void theTableAndTheAreas() {
        session.inputs.areas = session.appDir / "areas.csv";
        writeAll(gui::qpath(session.inputs.areas), "1,250\r\n");
        gui::ResultsWindow w(session);
        w.setResults(readEarlierResults(workflow::stepInputs(session, ProductCodePolicy::Drop)));
        showActive(w);
        QVERIFY2(w.hasResults(), qPrintable(w.problem()));
        QCOMPARE(pointsOf(w.chart(0), "seriesEstimates"),
                 (QList<QPointF>{{0, 300}, {1, 300}, {2, 300}, {3, 300}}));
        const QList<QPointF> byArea = pointsOf(w.chart(0), "seriesInterval3");
        QCOMPARE(byArea.size(), 2);
        const QList<QPointF> stratum = pointsOf(w.chart(0), "seriesInterval1");
        // The same standard error: the half-widths stand as the two t values.
        QVERIFY(qAbs((byArea[1].y() - 300) / (stratum[1].y() - 300) -
                     4.30265272975 / studentT(2, 0.05f)) < 1e-6);
        QTableWidget* table = w.estimatesTable();
        QCOMPARE(table->rowCount(), 4);
        QCOMPARE(table->columnCount(), 9);
        QStringList first;
        for (int row = 0; row < 4; ++row) first << table->item(row, 0)->text();
        QCOMPARE(first, (QStringList{"non-stratified", "1", "combined", "combined by area"}));
        QCOMPARE(table->item(1, 2)->text(), QString("300.0"));
        QCOMPARE(table->item(1, 5)->text(), QString("4"));  // N2L
        QCOMPARE(table->item(1, 6)->text(), QString("4"));  // N1
        QCOMPARE(table->item(1, 7)->text(), QString("75000"));
        QCOMPARE(table->item(3, 7)->text(), QString("75000"));
        QVERIFY(table->item(2, 7)->text().isEmpty());  // no total for the plot-weighted one
        QVERIFY(w.chart(0)->title().startsWith(QStringLiteral("T1 – ")));
        QVERIFY(w.chart(2)->title().contains(QStringLiteral("T1 – Stratum 1")));
        QVERIFY(w.chart(2)->title().contains(QStringLiteral("LiBA-DS1(sq.ft)")));
        const QString svg = dir.filePath("titled.svg");
        QCOMPARE(w.saveChart(2, svg), QString());
        QVERIFY(readAll(svg).contains("LiBA-DS1(sq.ft)"));

        // An area for a stratum the strata file does not have is refused, as step 9 refuses
        // it; the window then says why it shows nothing.
        writeAll(gui::qpath(session.inputs.areas), "1,250\r\n2,10\r\n");
        QString why;
        try {
            readEarlierResults(workflow::stepInputs(session, ProductCodePolicy::Drop));
        } catch (const std::exception& e) {
            why = QString::fromStdString(e.what());
        }
        QVERIFY2(why.contains("is not a stratum of the strata file"), qPrintable(why));
        w.setResults(nullptr, why);
        QVERIFY(!w.hasResults());
        QVERIFY(child<QLabel>(w, "lblResultsProblem")->text().contains("is not a stratum"));
        session.inputs.areas.clear();
    }

    // The sample as ./orravant.sh demo runs it (seed 20261207): one estimate per stratum index
    // and the combined one, each the selected row of _Estimates.csv; each scatter with the
    // stratum's Phase 2 plots (40 in all, 13, 14 and 13 in strata 1 to 3).

    void theSampleChartsHoldWhatTheFileHolds() {
        QTemporaryDir app;
        const SampleRun run = runSample(app);
        QVERIFY(run.results);
        const Session& sample = run.session;

        gui::ResultsWindow w(sample);
        w.setResults(run.results);
        w.resize(1100, 640);
        showActive(w);
        QCOMPARE(w.chartCount(), 5);
        QList<QPointF> selected;
        const auto rows = files::readWithHeader<files::EstimatesFile>(
            files::path(sample.dataFilesDir(), "DEMO", files::DataSetFile::Estimates), {});
        for (const files::EstimateRecord& r : rows) {
            if (r.selected) selected.append({static_cast<double>(selected.size()), r.ybarLR});
        }
        QCOMPARE(pointsOf(w.chart(0), "seriesEstimates"), selected);
        const int plots[] = {40, 13, 14, 13};
        for (int h = 0; h <= 3; ++h)
            QCOMPARE(pointsOf(w.chart(1 + h), "seriesPlots").size(), plots[h]);

        child<QTabWidget>(w, "tabCharts")->setCurrentIndex(2);  // stratum 1
        QApplication::processEvents();
        saveShot(w, "results-window.png");
    }

    // Escape closes the results window and the help window, as it closes a dialog.
    void escapeClosesTheResultsAndHelpWindows() {
        gui::ResultsWindow results(session);
        gui::HelpWindow help(QString{});
        for (QWidget* window : {static_cast<QWidget*>(&results), static_cast<QWidget*>(&help)}) {
            showActive(*window);
            QTest::keyClick(window, Qt::Key_Escape);
            QVERIFY(!window->isVisible());
        }
    }

    // The Plan tab on the sample with costs and a target of its own: the table holds the rows
    // of _Plan.csv (the plots to take rounded up), and each stratum's cost curve has its least
    // value at the ratio and cost of the file, below every other point of the curve, with the
    // cost of ground plots alone beside it. The Plan tab has no single chart to save.
    void thePlanTabShowsThePlanFile() {
        QTemporaryDir app;
        const SampleRun run = runSample(app, 35, 2.5, 8);
        QVERIFY(run.results);
        const Session& sample = run.session;
        const auto rows = files::readWithHeader<files::PlanFile>(
            files::path(sample.dataFilesDir(), "DEMO", files::DataSetFile::Plan), {});
        QCOMPARE(rows.size(), std::size_t{4 + 3 + 1});  // indexes 0-3, strata 1-3, total

        gui::ResultsWindow w(sample);
        w.setResults(run.results);
        showActive(w);
        auto* tabs = child<QTabWidget>(w, "tabCharts");
        QCOMPARE(tabs->tabText(tabs->count() - 1), QStringLiteral("Plan"));
        tabs->setCurrentIndex(tabs->count() - 1);
        QVERIFY(!child<QPushButton>(w, "cmdSaveChart")->isEnabled());
        auto* table = child<QTableWidget>(w, "tblPlan");
        QCOMPARE(table->rowCount(), static_cast<int>(rows.size()));
        for (int i = 0; i < table->rowCount(); ++i) {
            const files::PlanRecord& r = rows[static_cast<std::size_t>(i)];
            QCOMPARE(table->item(i, 1)->text(), QString::fromStdString(r.variable));
            QCOMPARE(table->item(i, 8)->text(), QString::number(std::ceil(r.n2Required)));
            QCOMPARE(table->item(i, 9)->text(), QString::number(std::ceil(r.n1Required)));
            QCOMPARE(table->item(i, 13)->text(), r.pays ? QString("yes") : QString("no"));
        }
        QVERIFY(child<QLabel>(w, "lblPlan")
                    ->text()
                    .contains(QStringLiteral(
                        "A ground plot costs 35 and a LiDAR plot 2.5; the target is a sampling "
                        "error of 8 %")));
        for (int h = 0; h <= 3; ++h) {
            const files::PlanRecord& r = rows[static_cast<std::size_t>(h)];
            QChart* chart =
                child<QChartView>(w, qPrintable(QStringLiteral("chartPlan%1").arg(h)))->chart();
            const QList<QPointF> least = pointsOf(chart, "seriesPlanMinimum");
            QCOMPARE(least.size(), 1);
            QCOMPARE(least[0].x(), *r.ratio);
            QCOMPARE(least[0].y(), r.cost);
            const QList<QPointF> curve = pointsOf(chart, "seriesPlanCost");
            QVERIFY(curve.size() > 10);
            QVERIFY(curve.front().x() < *r.ratio && curve.back().x() > *r.ratio);
            for (const QPointF& p : curve) QVERIFY(p.y() >= r.cost * (1 - 1e-12));
            const QList<QPointF> groundOnly = pointsOf(chart, "seriesGroundOnly");
            QCOMPARE(groundOnly.size(), 2);
            QCOMPARE(groundOnly[0].y(), r.groundOnlyCost);
        }
        w.resize(1100, 760);
        QApplication::processEvents();
        saveShot(w, "results-plan.png");
    }
};

QTEST_MAIN(ResultsWindowTest)
#include "ResultsWindowTest.moc"
