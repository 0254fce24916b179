// The main window: its controls, the enabled-state chain as the buttons show it, Reset, step 10
// and the log, with stand-in steps so that no data is needed.
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "setup/gui/GuiText.h"
#include "shell/gui/HelpWindow.h"
#include "shell/gui/frmMain.h"
#include "shell/session/Startup.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/shell/workflow/ScriptedSteps.h"

using namespace orr;
using namespace orr::guitest;
using orr::test::ScriptedSteps;

namespace {

const QStringList kStepButtons = {"cmdDataSetCreate",  "cmdSetParam",      "cmdRegCoeff",
                                  "cmdAssignPlotsDBH", "cmdComputePlots",  "cmdIterate",
                                  "cmdComputePhase1",  "cmdCombinePhase2", "cmdComputeDoubleSample",
                                  "cmdAllSteps",       "cmdViewOutput",    "cmdInstructions",
                                  "cmdReset",          "cmdExit"};

const QStringList kOutputLabels = {
    "lbldatasetname",  "LblCoeffFile",    "LblStratDBHfilename", "LblInputFilename",
    "LblPlotOutfile1", "LblPlotOutfile2", "LblPlotOutfile3",     "LblHighLidar6",
    "LblLowLidar6",    "LblHighLidar7",   "LblLowLidar7",        "LblCombine8",
    "LblCombineSumm8", "LblCompute9",     "LblAllocate9",        "lblOutputfiles"};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    Session session_;
    std::unique_ptr<gui::frmMain> window_;

    QStringList enabledButtons() const {
        QStringList on;
        for (const QString& name : kStepButtons)
            if (window_->findChild<QPushButton*>(name)->isEnabled()) on << name;
        return on;
    }
    QLabel* label(const QString& name) const { return window_->findChild<QLabel*>(name); }
    QString statusCaption() const { return window_->findChild<QGroupBox*>("FrameStatus")->title(); }
    QString logWidgetText() const {
        return window_->findChild<QPlainTextEdit*>("txtStatus")->toPlainText();
    }
    void chooseSetUpFiles() {
        session_.CoeffFileName = "/d/ABC_COEFFIC.csv";
        session_.StrataFileName = "/d/ABC_STRATA.csv";
        session_.DBHFileName = "/d/ABC_DBH.csv";
    }
    void enterName(DialogScript& dialogs, const QString& name) {
        dialogs.scripts.push_back([name](QDialog& d) {
            d.findChild<QLineEdit*>("txtDataSetName")->setText(name);
            click(&d, "cmdSave");
            return d.result();
        });
        click(window_.get(), "cmdDataSetCreate");
    }
    void completeSetUp() {
        DialogScript dialogs;
        chooseSetUpFiles();
        enterName(dialogs, "ABC");
    }
    void stepsLogTheirNumber() {
        for (int i = 0; i < 5; ++i)
            ScriptedSteps::behaviour[i] = [i](Session&, StepHost& h) {
                h.setStatus("Status: step " + std::to_string(i + 5));
                h.appendLog("step " + std::to_string(i + 5) + " done");
                return true;
            };
    }

  private slots:
    void init() {
        QVERIFY(dir_.isValid());
        session_ = Session{};
        session_.appDir = gui::fspath(dir_.path());
        const StartupResult started = startUp(session_);
        ScriptedSteps::clear();
        window_ = std::make_unique<gui::frmMain>(session_, ScriptedSteps::steps());
        window_->setLogText(started.log);
        window_->show();
    }
    void cleanup() { window_.reset(); }

    void windowHasTheTwelveFramesInOrderAndAFixedPitchLog() {
        QCOMPARE(window_->windowTitle(), QString("Orravant"));
        const QStringList captions = {"1. DataSet",
                                      "2. User Parameters",
                                      "3. Phase 2 Regression Coefficients",
                                      "4. Assign Plots and DBH Files",
                                      "5. Assign Heights and Volume to Phase 2 Trees",
                                      "6. Iteration",
                                      "7. Compute Phase 1 Species,N,BA and Volume",
                                      "8. Combine Phase 2 ground and LiDAR estimates",
                                      "9.Compute and Allocate Double-Sample Estimates",
                                      "10. Do Steps 5 through 9 Consecutively",
                                      "11. View Output Files",
                                      "12. Review Instructions"};
        int previousY = -1;
        for (int step = 1; step <= 12; ++step) {
            auto* frame = window_->findChild<QGroupBox*>(QString("FrameStep%1").arg(step));
            QVERIFY(frame);
            QCOMPARE(frame->title(), captions[step - 1]);
            QVERIFY(frame->y() > previousY);
            previousY = frame->y();
        }
        QCOMPARE(window_->findChild<QPushButton*>("cmdComputePlots")->text(),
                 QString("Compute P&Lots"));
        QCOMPARE(window_->findChild<QPushButton*>("cmdDataSetCreate")->text(),
                 QString("Create &DataSet "));
        QCOMPARE(statusCaption(), QString("Status"));
        auto* log = window_->findChild<QPlainTextEdit*>("txtStatus");
        QVERIFY(QFontInfo(log->font()).fixedPitch());
        QCOMPARE(log->toPlainText(), QString("Please perform Steps 1 through 4...\n"));
    }

    void atStartOnlyStepsOneToFourTwelveResetAndExitAreEnabled() {
        QCOMPARE(enabledButtons(),
                 QStringList({"cmdDataSetCreate", "cmdSetParam", "cmdRegCoeff", "cmdAssignPlotsDBH",
                              "cmdInstructions", "cmdReset", "cmdExit"}));
        for (const QString& name : kOutputLabels) {
            QVERIFY2(label(name), qPrintable(name));
            QVERIFY2(label(name)->isHidden(), qPrintable(name));
        }
        QCOMPARE(label("LblInputFilename")->text(), QString("Infile="));
    }

    void finishingTheSetUpAndReturningEnablesStepsFiveAndTenOnly() {
        DialogScript dialogs;
        chooseSetUpFiles();
        session_.CoeffFileName.clear();
        enterName(dialogs, "ABC");  // the coefficient file is still missing
        QCOMPARE(enabledButtons().size(), 7);
        session_.CoeffFileName = "/d/ABC_COEFFIC.csv";
        enterName(dialogs, "  ABC  ");
        QVERIFY(dialogs.unexpected.isEmpty());
        QCOMPARE(enabledButtons(),
                 QStringList({"cmdDataSetCreate", "cmdSetParam", "cmdRegCoeff", "cmdAssignPlotsDBH",
                              "cmdComputePlots", "cmdAllSteps", "cmdInstructions", "cmdReset",
                              "cmdExit"}));
        QVERIFY(label("lbldatasetname")->isVisible());
        QCOMPARE(label("lbldatasetname")->text(), QString("DataSetName - ABC"));
        QVERIFY(window_->statusLog().text().ends_with(
            "DataSet Name is: ABC\r\nDataSet Name is: ABC\r\n"));
    }

    void resetAfterStepNineDisablesFiveToElevenHidesLabelsKeepsLogAndParameters() {
        completeSetUp();
        const ParamRecord params = session_.params;
        for (const char* button : {"cmdComputePlots", "cmdIterate", "cmdComputePhase1",
                                   "cmdCombinePhase2", "cmdComputeDoubleSample"})
            click(window_.get(), button);
        QCOMPARE(ScriptedSteps::calls, (std::vector<int>{5, 6, 7, 8, 9}));
        QVERIFY(window_->findChild<QPushButton*>("cmdViewOutput")->isEnabled());
        QVERIFY(label("LblPlotOutfile1")->isVisible());
        QVERIFY(label("LblCompute9")->isVisible());
        const QString logBefore = logWidgetText();

        click(window_.get(), "cmdReset");

        QCOMPARE(enabledButtons(),
                 QStringList({"cmdDataSetCreate", "cmdSetParam", "cmdRegCoeff", "cmdAssignPlotsDBH",
                              "cmdInstructions", "cmdReset", "cmdExit"}));
        for (const QString& name : kOutputLabels)
            QVERIFY2(label(name)->isHidden(), qPrintable(name));
        QVERIFY(session_.DataSetName.empty());
        QVERIFY(session_.DBHFileName.empty());
        QCOMPARE(logWidgetText(), logBefore);
        QVERIFY(session_.params == params);
    }

    void stepTenWithEveryFileChosenShowsNoPickerAndEndsWithTheCompletionLineAlone() {
        completeSetUp();
        session_.TreeInputFileName = "/d/trees.csv";
        session_.HighLidarFileName = "/d/high.csv";
        stepsLogTheirNumber();
        DialogScript dialogs;
        MessageRecorder messages;
        click(window_.get(), "cmdAllSteps");
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(messages.messages.empty());
        QCOMPARE(ScriptedSteps::calls, (std::vector<int>{5, 6, 7, 8, 9}));
        QCOMPARE(window_->statusLog().text(), std::string("All steps completed successfully!\r\n"));
        QCOMPARE(logWidgetText(), QString("All steps completed successfully!\n"));
        QCOMPARE(statusCaption(), QString("Status: All steps completed successfully!"));
        QVERIFY(window_->findChild<QPushButton*>("cmdViewOutput")->isEnabled());
    }

    void stepTenStopsAtAFailingStepSixAndDoesNotClaimSuccess() {
        completeSetUp();
        session_.TreeInputFileName = "/d/trees.csv";
        session_.HighLidarFileName = "/d/high.csv";
        stepsLogTheirNumber();
        ScriptedSteps::behaviour[1] = [](Session& s, StepHost& h) {
            h.message("Error: No min/max dbhes on file for dataset " + s.DataSetName,
                      Icon::Critical);
            return false;
        };
        MessageRecorder messages;
        click(window_.get(), "cmdAllSteps");
        QCOMPARE(ScriptedSteps::calls, (std::vector<int>{5, 6}));
        QCOMPARE(messages.texts(), QStringList{"Error: No min/max dbhes on file for dataset ABC"});
        QCOMPARE(messages.messages[0].icon, QMessageBox::Critical);
        QCOMPARE(statusCaption(), QString("Status: Step 6 did not complete!"));
        QVERIFY(logWidgetText().endsWith(
            "step 5 done\nStep 6 did not complete; steps 7 through 9 were not run.\n"));
        QVERIFY(!logWidgetText().contains("successfully"));
        QVERIFY(!window_->findChild<QPushButton*>("cmdComputePhase1")->isEnabled());
        QVERIFY(window_->findChild<QPushButton*>("cmdReset")->isEnabled());
        QVERIFY(window_->findChild<QPushButton*>("cmdExit")->isEnabled());
    }

    void stepTenAsksForTheTreeAndLidarFilesWhenMissing() {
        completeSetUp();
        FileDialogScript files;
        files.files = {"/field/trees.csv", "/lidar/high.csv"};
        DialogScript dialogs;
        dialogs.scripts.push_back([](QDialog& d) {
            click(&d, "cmdBrowse");
            click(&d, "cmdOK");
            return d.result();
        });
        dialogs.scripts.push_back([](QDialog& d) {
            click(&d, "cmdBrowseHighFile");
            click(&d, "cmdOK");
            return d.result();
        });
        click(window_.get(), "cmdAllSteps");
        QCOMPARE(dialogs.shown, QStringList({"frmAssignHgtVol", "frmEnterPhase1Height"}));
        QCOMPARE(session_.TreeInputFileName.string(), std::string("/field/trees.csv"));
        QCOMPARE(session_.HighLidarFileName.string(), std::string("/lidar/high.csv"));
        const QString dataDir = gui::qpath(session_.dataFilesDir());
        QCOMPARE(files.startFolders, QStringList({dataDir, dataDir}));
        QCOMPARE(statusCaption(), QString("Status: All steps completed successfully!"));
    }

    void stepsSixAndSevenLockResetAndExitAndShowProgress() {
        completeSetUp();
        session_.HighLidarFileName = "/d/high.csv";
        bool resetOn = true, exitOn = true, barShown = false;
        int barValue = -1;
        ScriptedSteps::behaviour[1] = [&](Session&, StepHost& h) {
            resetOn = window_->findChild<QPushButton*>("cmdReset")->isEnabled();
            exitOn = window_->findChild<QPushButton*>("cmdExit")->isEnabled();
            h.progress(3, 4);
            auto* bar = window_->findChild<QProgressBar*>("progressStep");
            barShown = bar->isVisible();
            barValue = bar->value() * 4 / bar->maximum();
            return true;
        };
        click(window_.get(), "cmdComputePlots");
        click(window_.get(), "cmdIterate");
        QVERIFY(!resetOn);
        QVERIFY(!exitOn);
        QVERIFY(barShown);
        QCOMPARE(barValue, 3);
        QVERIFY(window_->findChild<QProgressBar*>("progressStep")->isHidden());
        QVERIFY(window_->findChild<QPushButton*>("cmdReset")->isEnabled());
        QVERIFY(window_->findChild<QPushButton*>("cmdComputePhase1")->isEnabled());
    }

    void theLogLengthCountsTheLineEnds() {
        StepHost& host = window_->stepHost();
        host.setLog("");
        host.appendLog("PLOT SP PR");
        host.appendLog("");
        QCOMPARE(host.logLength(), std::size_t(14));
        QCOMPARE(logWidgetText(), QString("PLOT SP PR\n\n"));
        host.setLog(" ");
        QCOMPARE(host.logLength(), std::size_t(1));
    }

    void stepsAndDialogsAddTheirLabelsThroughTheView() {
        window_->showOutputLabel("LblCoeffFile", "ABC_COEFFIC.csv");
        QVERIFY(label("LblCoeffFile")->isVisible());
        QCOMPARE(label("LblCoeffFile")->text(), QString("ABC_COEFFIC.csv"));
    }

    void instructionsOpenTheHelpWithContentsAndSearch() {
        MessageRecorder messages;
        click(window_.get(), "cmdInstructions");
        QVERIFY(messages.messages.empty());
        auto* help = window_->findChild<gui::HelpWindow*>("HelpWindow");
        QVERIFY(help);
        QVERIFY(help->hasPage());
        QVERIFY(help->isVisible());
        QVERIFY(help->contents()->count() >= 12);
        QVERIFY(help->browser()->toPlainText().contains("double sampl", Qt::CaseInsensitive));
        QVERIFY(help->findNext("PARAMETER.PRM"));
        QVERIFY(!help->findNext("no such words in the help"));
    }

    void exitClosesTheWindow() {
        click(window_.get(), "cmdExit");
        QVERIFY(!window_->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
