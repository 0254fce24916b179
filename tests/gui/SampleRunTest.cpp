// The window on a generated sample data set with the real steps: step 10 from start to end, then
// step 10 stopping at step 6 once the LiDAR file it reads has gone; step 6 asking for product
// codes once per gap of the DBH file.
#include "tests/gui/GuiTestSupport.h"

using namespace orr;
using namespace orr::guitest;

class SampleRunTest : public QObject {
    Q_OBJECT

  private slots:
    // Product 3 of species 1 starts at 14 inches and of species 2 at 16, two inches above
    // product 2: the LiDAR trees between them fit no product.
    void stepSixAsksOncePerGapOfTheDbhFileWhenTheAnswerIsForTheWholeGap_data() {
        QTest::addColumn<bool>("wholeGap");
        QTest::newRow("whole gap") << true;
        QTest::newRow("this DBH only") << false;
    }
    void stepSixAsksOncePerGapOfTheDbhFileWhenTheAnswerIsForTheWholeGap() {
        QFETCH(bool, wholeGap);
        SampleWindow sample;
        writeAll(gui::qpath(sample.session.inputs.dbh),
                 "1,1,\"5\",\"8.9\"\r\n1,2,\"9\",\"11.9\"\r\n1,3,\"14\",\"60\"\r\n"
                 "2,1,\"5\",\"10.9\"\r\n2,2,\"11\",\"13.9\"\r\n2,3,\"16\",\"60\"\r\n"
                 "3,1,\"5\",\"10.9\"\r\n3,2,\"11\",\"15.9\"\r\n3,3,\"16\",\"60\"\r\n");
        MessageRecorder messages;
        DialogScript dialogs;
        QStringList gaps;
        // Species 1 gets product 3; the trees of species 2 are dropped.
        const auto answer = [&](QDialog& d) {
            gaps << child<QLabel>(d, "lblDbhGap")->text();
            child<QCheckBox>(d, "chkWholeGap")->setChecked(wholeGap);
            const bool first = child<QLabel>(d, "Label1")->text() == " SPECIES = 1";
            child<QLineEdit>(d, "txtProdCode")->setText("3");
            click(&d, first ? "cmdOK" : "cmdCancel");
            return d.result();
        };
        for (int i = 0; i < 500; ++i) dialogs.scripts << answer;
        for (const char* step : {"cmdComputePlots", "cmdIterate"}) runButton(*sample.window, step);
        QCOMPARE(messages.texts, QStringList());
        QVERIFY(child<QPushButton>(*sample.window, "cmdComputePhase1")->isEnabled());
        QStringList lines = gui::qstr(sample.window->statusLog().text()).split("\r\n");
        lines = lines.filter(" (one answer for the gap)");
        lines.replaceInStrings(QRegularExpression("\\d+ trees"), "N trees");
        if (!wholeGap) {
            QVERIFY2(gaps.size() > 2, qPrintable(QString::number(gaps.size())));
            QCOMPARE(lines, QStringList());
            return;
        }
        // With the box ticked, one question and one log line per gap.
        const QString gap =
            "No product class of species %1 takes this DBH: it lies in the gap "
            "between %2 and %3 inches of the DBH file.";
        gaps.sort();
        QCOMPARE(gaps,
                 QStringList({gap.arg(1).arg("11.9", "14.0"), gap.arg(2).arg("13.9", "16.0")}));
        lines.sort();
        QCOMPARE(lines, QStringList({"Species 1, DBH 11.9 to 14.0: product 3 for N trees (one "
                                     "answer for the gap)",
                                     "Species 2, DBH 13.9 to 16.0: N trees dropped (one answer "
                                     "for the gap)"}));
    }

    void stepTenRunsEveryStepThenStopsAtStepSixWithoutItsLidarFile() {
        SampleWindow sample;
        gui::MainWindow& window = *sample.window;
        MessageRecorder messages;
        DialogScript dialogs;
        runButton(window, "cmdAllSteps");
        QCOMPARE(messages.texts, QStringList());
        QCOMPARE(dialogs.shown, QStringList());
        QCOMPARE(window.statusLog().text(), std::string("All steps completed successfully!\r\n"));
        QCOMPARE(statusCaption(window), QString("Status: All steps completed successfully!"));
        QVERIFY(child<QPushButton>(window, "cmdViewOutput")->isEnabled());
        auto* outputs = child<QLabel>(window, "lblOutputfiles");
        QVERIFY(outputs->isVisible());
        QCOMPARE(outputs->text(),
                 QString("SAMPLE_StratVol.txt, SAMPLE_Regress.txt, SAMPLE_VolSum.txt"));
        QVERIFY(child<QLabel>(window, "LblLowLidar7")->isVisible());
        for (auto report : {files::DataSetFile::VolumeSummary, files::DataSetFile::Regression,
                            files::DataSetFile::StratumVolume})
            QVERIFY(QFileInfo(sample.file(report)).size() > 0);

        // Without its DataSet 1 LiDAR file step 6 stops, leaving what it wrote before.
        const QByteArray ds1 = readAll(sample.file(files::DataSetFile::LidarPlotsDS1));
        const QString lidar = gui::qpath(sample.session.inputs.lidarHigh);
        QVERIFY(QFile::remove(lidar));
        runButton(window, "cmdAllSteps");
        QCOMPARE(messages.texts,
                 QStringList{"File " + lidar + ": cannot be opened: No such file or directory."});
        QCOMPARE(messages.icons[0], QMessageBox::Critical);
        QCOMPARE(statusCaption(window), QString("Status: Step 6 did not complete!"));
        QVERIFY(window.statusLog().text().ends_with(
            "Step 6 did not complete; steps 7 through 9 were not run.\r\n"));
        QVERIFY(child<QPushButton>(window, "cmdReset")->isEnabled());
        QCOMPARE(readAll(sample.file(files::DataSetFile::LidarPlotsDS1)), ds1);
    }
};

QTEST_MAIN(SampleRunTest)
#include "SampleRunTest.moc"
