// The main window: its controls, the enabled-state chain as the buttons show it, Reset, step 10,
// progress, the log and the help, with stand-in steps so that no data is needed.
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include "gui/GuiText.h"
#include "gui/HelpWindow.h"
#include "gui/frmMain.h"
#include "model/session/Startup.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/model/workflow/ScriptedSteps.h"

using namespace orr;
using namespace orr::guitest;
using orr::test::ScriptedSteps;

namespace {

const QStringList kStepButtons = {"cmdDataSetCreate",  "cmdSetParam",      "cmdRegCoeff",
                                  "cmdAssignPlotsDBH", "cmdComputePlots",  "cmdIterate",
                                  "cmdComputePhase1",  "cmdCombinePhase2", "cmdComputeDoubleSample",
                                  "cmdAllSteps",       "cmdViewOutput",    "cmdInstructions",
                                  "cmdReset",          "cmdExit"};
const QStringList kAtStart = {"cmdDataSetCreate", "cmdSetParam", "cmdRegCoeff", "cmdAssignPlotsDBH",
                              "cmdInstructions",  "cmdReset",    "cmdExit"};
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

    QPushButton* button(const char* name) { return child<QPushButton>(*window_, name); }
    QLabel* label(const QString& name) const { return window_->findChild<QLabel*>(name); }
    QStringList enabledButtons() const {
        QStringList on;
        for (const QString& name : kStepButtons)
            if (window_->findChild<QPushButton*>(name)->isEnabled()) on << name;
        return on;
    }
    void expectAllLabelsHidden() {
        for (const QString& name : kOutputLabels) {
            QVERIFY2(label(name), qPrintable(name));
            QVERIFY2(label(name)->isHidden(), qPrintable(name));
        }
    }
    QString statusCaption() { return child<QGroupBox>(*window_, "FrameStatus")->title(); }
    QString logWidgetText() { return child<QPlainTextEdit>(*window_, "txtStatus")->toPlainText(); }
    // Step 1 through its dialog; the other set-up files are named directly.
    void enterName(const QString& name) {
        DialogScript dialogs;
        dialogs.scripts.push_back([name](QDialog& d) {
            d.findChild<QLineEdit*>("txtDataSetName")->setText(name);
            click(&d, "cmdSave");
            return d.result();
        });
        click(window_.get(), "cmdDataSetCreate");
        QVERIFY(dialogs.unexpected.isEmpty());
    }
    void completeSetUp(bool withTreeAndLidar) {
        session_.CoeffFileName = "/d/ABC_COEFFIC.csv";
        session_.StrataFileName = "/d/ABC_STRATA.csv";
        session_.DBHFileName = "/d/ABC_DBH.csv";
        if (withTreeAndLidar) {
            session_.TreeInputFileName = "/d/trees.csv";
            session_.HighLidarFileName = "/d/high.csv";
        }
        enterName("ABC");
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
        QCOMPARE(button("cmdComputePlots")->text(), QString("Compute P&Lots"));
        QCOMPARE(button("cmdDataSetCreate")->text(), QString("Create &DataSet "));
        QCOMPARE(statusCaption(), QString("Status"));
        QVERIFY(QFontInfo(child<QPlainTextEdit>(*window_, "txtStatus")->font()).fixedPitch());
        QCOMPARE(logWidgetText(), QString("Please perform Steps 1 through 4...\n"));
    }

    void atStartOnlyStepsOneToFourTwelveResetAndExitAreEnabled() {
        QCOMPARE(enabledButtons(), kAtStart);
        expectAllLabelsHidden();
        QCOMPARE(label("LblInputFilename")->text(), QString("Infile="));
    }

    void finishingTheSetUpAndReturningEnablesStepsFiveAndTenOnly() {
        session_.StrataFileName = "/d/ABC_STRATA.csv";
        session_.DBHFileName = "/d/ABC_DBH.csv";
        enterName("ABC");  // the coefficient file is still missing
        QCOMPARE(enabledButtons(), kAtStart);
        session_.CoeffFileName = "/d/ABC_COEFFIC.csv";
        enterName("  ABC  ");
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
        completeSetUp(false);
        const ParamRecord params = session_.params;
        for (const char* name : {"cmdComputePlots", "cmdIterate", "cmdComputePhase1",
                                 "cmdCombinePhase2", "cmdComputeDoubleSample"})
            click(window_.get(), name);
        QCOMPARE(ScriptedSteps::calls, (std::vector<int>{5, 6, 7, 8, 9}));
        QVERIFY(button("cmdViewOutput")->isEnabled());
        QVERIFY(label("LblPlotOutfile1")->isVisible() && label("LblCompute9")->isVisible());
        const QString logBefore = logWidgetText();
        click(window_.get(), "cmdReset");
        QCOMPARE(enabledButtons(), kAtStart);
        expectAllLabelsHidden();
        QVERIFY(session_.DataSetName.empty() && session_.DBHFileName.empty());
        QCOMPARE(logWidgetText(), logBefore);
        QVERIFY(session_.params == params);
    }

    void stepTenStopsAtAFailingStepSixAndWithEveryFileChosenEndsWithTheCompletionLineAlone() {
        completeSetUp(true);
        ScriptedSteps::behaviour[1] = [](Session& s, StepHost& h) {
            h.message("Error: No min/max dbhes on file for dataset " + s.DataSetName,
                      Icon::Critical);
            return false;
        };
        DialogScript dialogs;
        MessageRecorder messages;
        click(window_.get(), "cmdAllSteps");
        QCOMPARE(ScriptedSteps::calls, (std::vector<int>{5, 6}));
        QCOMPARE(messages.texts(), QStringList{"Error: No min/max dbhes on file for dataset ABC"});
        QCOMPARE(messages.messages[0].icon, QMessageBox::Critical);
        QCOMPARE(statusCaption(), QString("Status: Step 6 did not complete!"));
        QVERIFY(logWidgetText().endsWith(
            "step 5 done\nStep 6 did not complete; steps 7 through 9 were not run.\n"));
        QVERIFY(!logWidgetText().contains("successfully"));
        QVERIFY(!button("cmdComputePhase1")->isEnabled());
        QVERIFY(button("cmdReset")->isEnabled() && button("cmdExit")->isEnabled());

        ScriptedSteps::behaviour[1] = nullptr;
        ScriptedSteps::calls.clear();
        click(window_.get(), "cmdAllSteps");
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(messages.messages.size(), std::size_t(1));
        QCOMPARE(ScriptedSteps::calls, (std::vector<int>{5, 6, 7, 8, 9}));
        QCOMPARE(window_->statusLog().text(), std::string("All steps completed successfully!\r\n"));
        QCOMPARE(logWidgetText(), QString("All steps completed successfully!\n"));
        QCOMPARE(statusCaption(), QString("Status: All steps completed successfully!"));
        QVERIFY(button("cmdViewOutput")->isEnabled());
    }

    void stepTenAsksForTheTreeAndLidarFilesWhenMissing() {
        completeSetUp(false);
        FileDialogScript files;
        files.files = {"/field/trees.csv", "/lidar/high.csv"};
        DialogScript dialogs;
        for (const char* browse : {"cmdBrowse", "cmdBrowseHighFile"})
            dialogs.scripts.push_back([browse](QDialog& d) {
                click(&d, browse);
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
        completeSetUp(true);
        bool resetOn = true, exitOn = true, barShown = false;
        int barValue = -1;
        ScriptedSteps::behaviour[1] = [&](Session&, StepHost& h) {
            resetOn = button("cmdReset")->isEnabled();
            exitOn = button("cmdExit")->isEnabled();
            h.progress(3, 4);
            auto* bar = child<QProgressBar>(*window_, "progressStep");
            barShown = bar->isVisible();
            barValue = bar->value() * 4 / bar->maximum();
            return true;
        };
        click(window_.get(), "cmdComputePlots");
        click(window_.get(), "cmdIterate");
        QVERIFY(!resetOn && !exitOn);
        QVERIFY(barShown);
        QCOMPARE(barValue, 3);
        QVERIFY(child<QProgressBar>(*window_, "progressStep")->isHidden());
        QVERIFY(button("cmdReset")->isEnabled());
        QVERIFY(button("cmdComputePhase1")->isEnabled());
        // The steps' log length counts the CR LF of every line.
        StepHost& host = window_->stepHost();
        host.setLog("");
        host.appendLog("PLOT SP PR");
        host.appendLog("");
        QCOMPARE(host.logLength(), std::size_t(14));
        QCOMPARE(logWidgetText(), QString("PLOT SP PR\n\n"));
    }

    void instructionsOpenTheHelpWithContentsAndSearchAndExitCloses() {
        MessageRecorder messages;
        click(window_.get(), "cmdInstructions");
        QVERIFY(messages.messages.empty());
        auto* help = window_->findChild<gui::HelpWindow*>("HelpWindow");
        QVERIFY(help && help->hasPage() && help->isVisible());
        QVERIFY(help->contents()->count() >= 12);
        QVERIFY(help->browser()->toPlainText().contains("double sampl", Qt::CaseInsensitive));
        QVERIFY(help->findNext("PARAMETER.PRM"));
        QVERIFY(!help->findNext("no such words in the help"));
        click(window_.get(), "cmdExit");
        QVERIFY(!window_->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
