// The window on a generated sample data set with the real steps: step 10 from start to end, then
// step 10 stopping at step 6 on an empty DBH file.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <array>
#include <filesystem>

#include "files/DataSetFiles.h"
#include "gui/GuiText.h"
#include "gui/MainWindow.h"
#include "model/session/Startup.h"
#include "model/workflow/StepTable.h"
#include "tests/gui/GuiTestSupport.h"
#include "tools/generator/Generator.h"

using namespace orr;
using namespace orr::guitest;

class SampleRunTest : public QObject {
    Q_OBJECT

  private:
    static QString status(gui::MainWindow& w) {
        return child<QGroupBox>(w, "FrameStatus")->title();
    }
    // Step 10 from its button to its end.
    static void runAllSteps(gui::MainWindow& w) {
        click(&w, "cmdAllSteps");
        QTRY_VERIFY_WITH_TIMEOUT(!w.workflow().running(), 120000);
    }

  private slots:
    void stepTenRunsEveryStepAndStopsAtStepSixOnAnEmptyDbhFile() {
        QTemporaryDir dir;
        Session session;
        session.appDir = gui::fspath(dir.path());
        const auto file = [&](files::DataSetFile f) {
            return files::path(session.dataFilesDir(), session.dataSetName, f);
        };
        startUp(session);
        const auto shape = generator::presetShape("sample");
        QVERIFY(shape);
        const auto inputs = generator::generateDataSet(*shape, 11, session.appDir / "input");
        session.params = shape->params;
        session.run.seed = 5;
        session.dataSetName = "SMP";
        session.coefficientFile = inputs.coefficients;
        session.strataFile = inputs.strata;
        session.dbhFile = inputs.dbh;
        session.treeFile = inputs.trees;
        session.lidarHighFile = inputs.lidarDs1;
        session.lidarLowFile = inputs.lidarDs2;
        MessageRecorder messages;
        DialogScript dialogs;
        {
            gui::MainWindow window(session, workflow::stepTable());
            window.show();
            window.activate();
            runAllSteps(window);
            QCOMPARE(messages.texts(), QStringList());
            QCOMPARE(dialogs.shown, QStringList());
            QCOMPARE(window.statusLog().text(),
                     std::string("All steps completed successfully!\r\n"));
            QCOMPARE(status(window), QString("Status: All steps completed successfully!"));
            QVERIFY(child<QPushButton>(window, "cmdViewOutput")->isEnabled());
            auto* outputs = child<QLabel>(window, "lblOutputfiles");
            QVERIFY(outputs->isVisible());
            QCOMPARE(outputs->text(), QString("SMP_StratVol.txt, SMP_Regress.txt, SMP_VolSum.txt"));
            QVERIFY(child<QLabel>(window, "LblLowLidar7")->isVisible());
            for (auto report : {files::DataSetFile::VolumeSummary, files::DataSetFile::Regression,
                                files::DataSetFile::StratumVolume})
                QVERIFY(std::filesystem::file_size(file(report)) > 0);
            if (const QByteArray shot = qgetenv("ORRAVANT_SCREENSHOT"); !shot.isEmpty())
                QVERIFY(window.grab().save(QString::fromLocal8Bit(shot)));
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
        runAllSteps(window);
        QCOMPARE(messages.texts(), QStringList{"Error: No min/max dbhes on file for dataset SMP"});
        QCOMPARE(messages.messages[0].icon, QMessageBox::Critical);
        QCOMPARE(status(window), QString("Status: Step 6 did not complete!"));
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
