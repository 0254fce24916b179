// The window on a generated sample data set with the real steps: step 10 from start to end, then
// step 10 stopping at step 6 on an empty DBH file; step 6 asking for product codes once per gap
// of the DBH file.
#include <QCheckBox>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <filesystem>

#include "files/DataSetFiles.h"
#include "gui/GuiText.h"
#include "gui/MainWindow.h"
#include "model/workflow/StepTable.h"
#include "tests/gui/GuiTestSupport.h"

using namespace orr;
using namespace orr::guitest;

class SampleRunTest : public QObject {
    Q_OBJECT

  private:
    // The generated sample in a new application directory, set up as steps 1 to 4 leave it.
    struct Sample {
        QTemporaryDir dir;
        Session session;
        Sample() { setUpGeneratedSample(session, dir.path(), "SMP"); }
    };

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
        Sample sample;
        writeAll(gui::qpath(sample.session.dbhFile),
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
        for (int i = 0; i < 500; ++i) dialogs.scripts.push_back(answer);
        gui::MainWindow window(sample.session, workflow::stepTable());
        window.show();
        window.activate();
        for (const char* step : {"cmdComputePlots", "cmdIterate"}) runButton(window, step);
        QCOMPARE(messages.texts(), QStringList());
        QVERIFY(child<QPushButton>(window, "cmdComputePhase1")->isEnabled());
        // With the box ticked, one question and one log line per gap.
        static const QRegularExpression answered(
            "\r\nSpecies (\\d), DBH ([\\d.]+ to [\\d.]+): (product 3 for \\d+ trees|\\d+ "
            "trees dropped) \\(one answer for the gap\\)");
        QStringList lines;
        for (const auto& m : answered.globalMatch(gui::qstr(window.statusLog().text())))
            lines << m.captured(1) + " " + m.captured(2) +
                         (m.captured(3).startsWith("product") ? " product 3" : " dropped");
        if (!wholeGap) {
            QVERIFY2(gaps.size() > 2, qPrintable(QString::number(gaps.size())));
            QVERIFY(lines.isEmpty());
            return;
        }
        const QString gap =
            "No product class of species %1 takes this DBH: it lies in the gap "
            "between %2 and %3 inches of the DBH file.";
        gaps.sort();
        QCOMPARE(gaps,
                 QStringList({gap.arg(1).arg("11.9", "14.0"), gap.arg(2).arg("13.9", "16.0")}));
        lines.sort();
        QCOMPARE(lines, QStringList({"1 11.9 to 14.0 product 3", "2 13.9 to 16.0 dropped"}));
    }

    void stepTenRunsEveryStepAndStopsAtStepSixOnAnEmptyDbhFile() {
        Sample sample;
        Session& session = sample.session;
        const auto file = [&](files::DataSetFile f) {
            return files::path(session.dataFilesDir(), session.dataSetName, f);
        };
        MessageRecorder messages;
        DialogScript dialogs;
        {
            gui::MainWindow window(session, workflow::stepTable());
            window.show();
            window.activate();
            runButton(window, "cmdAllSteps");
            QCOMPARE(messages.texts(), QStringList());
            QCOMPARE(dialogs.shown, QStringList());
            QCOMPARE(window.statusLog().text(),
                     std::string("All steps completed successfully!\r\n"));
            QCOMPARE(statusCaption(window), QString("Status: All steps completed successfully!"));
            QVERIFY(child<QPushButton>(window, "cmdViewOutput")->isEnabled());
            auto* outputs = child<QLabel>(window, "lblOutputfiles");
            QVERIFY(outputs->isVisible());
            QCOMPARE(outputs->text(), QString("SMP_StratVol.txt, SMP_Regress.txt, SMP_VolSum.txt"));
            QVERIFY(child<QLabel>(window, "LblLowLidar7")->isVisible());
            for (auto report : {files::DataSetFile::VolumeSummary, files::DataSetFile::Regression,
                                files::DataSetFile::StratumVolume})
                QVERIFY(std::filesystem::file_size(file(report)) > 0);
        }
        const QString ds1 = gui::qpath(file(files::DataSetFile::LidarPlotsDS1));
        const QByteArray ds1Before = readAll(ds1);
        QVERIFY(!ds1Before.isEmpty());
        writeAll(gui::qpath(session.dbhFile), "");

        // Step 5 has already run with the whole DBH file; from step 6 on the real steps run.
        std::array<workflow::StepEntry, 5> steps;
        std::ranges::copy(workflow::stepTable(), steps.begin());
        steps[0].run = [](const StepInputs&, StepHost&) { return StepResult{}; };
        gui::MainWindow window(session, steps);
        window.show();
        window.activate();
        runButton(window, "cmdAllSteps");
        QCOMPARE(messages.texts(), QStringList{"Error: No min/max dbhes on file for dataset SMP"});
        QCOMPARE(messages.messages[0].icon, QMessageBox::Critical);
        QCOMPARE(statusCaption(window), QString("Status: Step 6 did not complete!"));
        QVERIFY(window.statusLog().text().find("successfully") == std::string::npos);
        QVERIFY(window.statusLog().text().ends_with(
            "Step 6 did not complete; steps 7 through 9 were not run.\r\n"));
        QVERIFY(!child<QPushButton>(window, "cmdComputePhase1")->isEnabled());
        QVERIFY(child<QPushButton>(window, "cmdReset")->isEnabled());
        QCOMPARE(readAll(ds1), ds1Before);
    }
};

QTEST_MAIN(SampleRunTest)
#include "SampleRunTest.moc"
