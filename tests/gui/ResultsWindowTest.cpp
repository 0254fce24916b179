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

#include "files/DataSetFiles.h"
#include "files/EstimatesFile.h"
#include "files/HeaderedFile.h"
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
        // What step 9 hands over: its regression inputs and estimates.
        auto results = std::make_shared<DoubleSampleResults>();
        results->inputs =
            readRegressionInputs(workflow::stepInputs(session, ProductCodePolicy::Drop));
        results->estimates = estimateAllStrata(results->inputs);
        w.setResults(results);
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

    // The sample as ./orravant.sh demo runs it (seed 20261207): one estimate per stratum index
    // and the combined one, each the selected row of _Estimates.csv; each scatter with the
    // stratum's Phase 2 plots (40 in all, 13, 14 and 13 in strata 1 to 3).
    void theSampleChartsHoldWhatTheFileHolds() {
        QTemporaryDir app;
        Session sample;
        sample.appDir = gui::fspath(app.path());
        std::filesystem::create_directories(sample.dataFilesDir());
        const std::filesystem::path source = ORRAVANT_SAMPLE_DIR;
        sample.dataSetName = "DEMO";
        sample.inputs = {source / "coefficients.csv", source / "strata.csv",
                         source / "dbh.csv",          source / "trees.csv",
                         source / "lidar-ds1.csv",    source / "lidar-ds2.csv"};
        sample.params = {20, 3, 3, 100, 500, 0, 0, 0.0f, 0.0f};
        sample.run.seed = 20261207;
        std::shared_ptr<const StepDetails> details;
        for (const workflow::StepEntry& step : workflow::stepTable()) {
            test::FakeHost host;
            const StepResult result =
                test::runStep(step.number(), step.run, sample, host, ProductCodePolicy::Drop);
            QVERIFY(result.completed());
            details = result.details;
        }

        gui::ResultsWindow w(sample);
        w.setResults(std::dynamic_pointer_cast<const DoubleSampleResults>(details));
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
};

QTEST_MAIN(ResultsWindowTest)
#include "ResultsWindowTest.moc"
