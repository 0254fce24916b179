// The window on a generated sample data set with the real steps: step 10 from start to end, then
// step 10 stopping at step 6 on an empty DBH file.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "tools/generator/Generator.h"
#include "gui/GuiText.h"
#include "gui/frmMain.h"
#include "model/session/Startup.h"
#include "tests/gui/GuiTestSupport.h"

using namespace orr;
using namespace orr::guitest;

class SampleRunTest : public QObject {
    Q_OBJECT

  private:
    static QString status(gui::frmMain& w) { return child<QGroupBox>(w, "FrameStatus")->title(); }

  private slots:
    void stepTenRunsEveryStepAndStopsAtStepSixOnAnEmptyDbhFile() {
        QTemporaryDir dir;
        Session session;
        session.appDir = gui::fspath(dir.path());
        startUp(session);
        const auto shape = generator::presetShape("sample");
        QVERIFY(shape);
        const auto files = generator::generateDataSet(*shape, 11, session.appDir / "input");
        session.params = shape->params;
        session.run.seed = 5;
        session.DataSetName = "SMP";
        session.CoeffFileName = files.coefficients;
        session.StrataFileName = files.strata;
        session.DBHFileName = files.dbh;
        session.TreeInputFileName = files.trees;
        session.HighLidarFileName = files.lidarDs1;
        session.LowLidarFileName = files.lidarDs2;
        MessageRecorder messages;
        DialogScript dialogs;
        {
            gui::frmMain window(session);
            window.show();
            window.activate();
            click(&window, "cmdAllSteps");
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
            for (const char* suffix : {"_VolSum.txt", "_Regress.txt", "_StratVol.txt"})
                QVERIFY(std::filesystem::file_size(session.dataSetFile(suffix)) > 0);
            if (const QByteArray shot = qgetenv("ORRAVANT_SCREENSHOT"); !shot.isEmpty())
                QVERIFY(window.grab().save(QString::fromLocal8Bit(shot)));
        }
        const QString ds1 = gui::qpath(session.dataSetFile("_PH2plotDS1.csv"));
        const QByteArray ds1Before = readAll(ds1);
        QVERIFY(!ds1Before.isEmpty());
        writeAll(gui::qpath(session.DBHFileName), "");

        // Step 5 has already run with the whole DBH file; from step 6 on the real steps run.
        workflow::StepSet steps = workflow::builtInSteps();
        steps.run[0] = [](Session&, StepHost&) { return true; };
        gui::frmMain window(session, steps);
        window.show();
        window.activate();
        click(&window, "cmdAllSteps");
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
