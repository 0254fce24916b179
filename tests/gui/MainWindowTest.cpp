// The main window: its controls, the enabled-state chain as the buttons show it, Reset, step 10,
// steps on a worker thread (questions, progress, Cancel, a larger MaxPlots), the log and the
// help, with stand-in steps so that no data is needed.
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
#include <QTimer>
#include <chrono>
#include <thread>

#include "gui/GuiText.h"
#include "gui/HelpWindow.h"
#include "gui/MainWindow.h"
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

// Counts the paint events of a widget.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    Session session_;
    std::unique_ptr<gui::MainWindow> window_;

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
    bool running() const { return window_->workflow().running(); }
    // Clicks a step button and waits until the step (or step 10) has ended.
    void run(const char* name) {
        click(window_.get(), name);
        QTRY_VERIFY_WITH_TIMEOUT(!running(), 20000);
    }
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
        session_.coefficientFile = "/d/ABC_COEFFIC.csv";
        session_.strataFile = "/d/ABC_STRATA.csv";
        session_.dbhFile = "/d/ABC_DBH.csv";
        if (withTreeAndLidar) {
            session_.treeFile = "/d/trees.csv";
            session_.lidarHighFile = "/d/high.csv";
        }
        enterName("ABC");
        for (int i = 0; i < 5; ++i)
            ScriptedSteps::behaviour[i] = [i](const StepInputs&, StepHost& h) {
                h.log("step " + std::to_string(i + 5) + " done");
                return StepResult{};
            };
    }

  private slots:
    void init() {
        QVERIFY(dir_.isValid());
        session_ = Session{};
        session_.appDir = gui::fspath(dir_.path());
        const StartupResult started = startUp(session_);
        ScriptedSteps::clear();
        window_ = std::make_unique<gui::MainWindow>(session_, ScriptedSteps::steps());
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
        QVERIFY(!button("cmdCancelStep")->isEnabled());
    }

    void atStartOnlyStepsOneToFourTwelveResetAndExitAreEnabled() {
        QCOMPARE(enabledButtons(), kAtStart);
        expectAllLabelsHidden();
        QCOMPARE(label("LblInputFilename")->text(), QString("Infile="));
    }

    void finishingTheSetUpAndReturningEnablesStepsFiveAndTenOnly() {
        session_.strataFile = "/d/ABC_STRATA.csv";
        session_.dbhFile = "/d/ABC_DBH.csv";
        enterName("ABC");  // the coefficient file is still missing
        QCOMPARE(enabledButtons(), kAtStart);
        session_.coefficientFile = "/d/ABC_COEFFIC.csv";
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
        session_.treeFile = "/d/trees.csv";
        session_.lidarHighFile = "/d/high.csv";
        const ParamRecord params = session_.params;
        for (const char* name : {"cmdComputePlots", "cmdIterate", "cmdComputePhase1",
                                 "cmdCombinePhase2", "cmdComputeDoubleSample"})
            run(name);
        QCOMPARE(ScriptedSteps::calls, (std::vector<int>{5, 6, 7, 8, 9}));
        QVERIFY(button("cmdViewOutput")->isEnabled());
        QVERIFY(label("LblPlotOutfile1")->isVisible() && label("LblCompute9")->isVisible());
        const QString logBefore = logWidgetText();
        click(window_.get(), "cmdReset");
        QCOMPARE(enabledButtons(), kAtStart);
        expectAllLabelsHidden();
        QVERIFY(session_.dataSetName.empty() && session_.dbhFile.empty());
        QCOMPARE(logWidgetText(), logBefore);
        QVERIFY(session_.params == params);
    }

    void aStepWhoseFileIsStillMissingAfterItsPickerDoesNotStart_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("picker");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("logAdded");
        QTest::newRow("step 5") << "cmdComputePlots"
                                << "frmAssignHgtVol" << QStringList{"Please Enter Input File"}
                                << "Selecting Tree Input File...\r\n";
        QTest::newRow("step 6") << "cmdIterate"
                                << "frmEnterPhase1Height" << QStringList{} << "";
    }
    void aStepWhoseFileIsStillMissingAfterItsPickerDoesNotStart() {
        QFETCH(QString, button);
        QFETCH(QString, picker);
        QFETCH(QStringList, messages);
        QFETCH(QString, logAdded);
        completeSetUp(false);
        if (button == "cmdIterate") {
            session_.treeFile = "/d/trees.csv";
            run("cmdComputePlots");
        }
        const std::vector<int> calls = ScriptedSteps::calls;
        const QString caption = statusCaption();
        const std::string log = window_->statusLog().text();
        const QStringList enabled = enabledButtons();
        DialogScript dialogs;  // no script: the picker is cancelled
        MessageRecorder shown;
        click(window_.get(), qPrintable(button));
        QVERIFY(!running());
        QCOMPARE(dialogs.shown, QStringList{picker});
        QCOMPARE(shown.texts(), messages);
        QCOMPARE(ScriptedSteps::calls, calls);
        QCOMPARE(statusCaption(), caption);
        QCOMPARE(window_->statusLog().text(), log + gui::utf8(logAdded));
        QCOMPARE(enabledButtons(), enabled);
    }

    void stepTenStopsAtAFailingStepSixAndWithEveryFileChosenEndsWithTheCompletionLineAlone() {
        completeSetUp(true);
        ScriptedSteps::behaviour[1] = [](const StepInputs& in, StepHost&) {
            return StepResult::stopped("Error: No min/max dbhes on file for dataset " +
                                       in.dataSetName);
        };
        DialogScript dialogs;
        MessageRecorder messages;
        run("cmdAllSteps");
        QCOMPARE(ScriptedSteps::calls, (std::vector<int>{5, 6}));
        QCOMPARE(messages.texts(), QStringList{"Error: No min/max dbhes on file for dataset ABC"});
        QCOMPARE(messages.messages[0].icon, QMessageBox::Critical);
        QCOMPARE(statusCaption(), QString("Status: Step 6 did not complete!"));
        QVERIFY(logWidgetText().endsWith(
            "\nStep 6 did not complete; steps 7 through 9 were not run.\n"));
        QVERIFY(!logWidgetText().contains("successfully"));
        QVERIFY(!button("cmdComputePhase1")->isEnabled());
        QVERIFY(button("cmdReset")->isEnabled() && button("cmdExit")->isEnabled());

        ScriptedSteps::behaviour[1] = nullptr;
        ScriptedSteps::calls.clear();
        run("cmdAllSteps");
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(messages.messages.size(), std::size_t(1));
        QCOMPARE(ScriptedSteps::calls, (std::vector<int>{5, 6, 7, 8, 9}));
        // The completion line, and the seeds from the clock of steps 6 and 7.
        const QStringList lines = logWidgetText().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QString("All steps completed successfully!"));
        QVERIFY(lines[1].startsWith("Random seed of step 6: "));
        QVERIFY(lines[2].startsWith("Random seed of step 7: "));
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
        run("cmdAllSteps");
        QCOMPARE(dialogs.shown, QStringList({"frmAssignHgtVol", "frmEnterPhase1Height"}));
        QCOMPARE(session_.treeFile.string(), std::string("/field/trees.csv"));
        QCOMPARE(session_.lidarHighFile.string(), std::string("/lidar/high.csv"));
        const QString dataDir = gui::qpath(session_.dataFilesDir());
        QCOMPARE(files.startFolders, QStringList({dataDir, dataDir}));
        QCOMPARE(statusCaption(), QString("Status: All steps completed successfully!"));
    }

    void aLongStepSixKeepsTheWindowAnsweringAndCancelPutsEverythingBack() {
        completeSetUp(true);
        run("cmdComputePlots");
        // Step 6 works, reporting progress, until it is cancelled.
        ScriptedSteps::behaviour[1] = [](const StepInputs&, StepHost& h) {
            for (std::size_t done = 0;; ++done) {
                h.progress(done, done + 1000);
                stopIfCancelled(h);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            return StepResult{};
        };
        showActive(*window_);
        const std::string log = window_->statusLog().text();
        const QStringList enabled = enabledButtons();

        click(window_.get(), "cmdIterate");
        QVERIFY(running());  // the click came back while the step works
        QTRY_COMPARE(statusCaption(), QString("Status : Iterating Phase 2 LiDAR distribution..."));
        QVERIFY(!button("cmdReset")->isEnabled() && !button("cmdExit")->isEnabled());
        QVERIFY(button("cmdCancelStep")->isEnabled());
        QVERIFY(!child<QLabel>(*window_, "lnkChangeTreeFile")->isEnabled());

        bool timerFired = false;
        QTimer::singleShot(0, window_.get(), [&] { timerFired = true; });
        QTRY_VERIFY(timerFired);
        PaintCounter counter;
        window_->installEventFilter(&counter);
        const QSize smaller = window_->size() - QSize(40, 30);
        window_->resize(smaller);
        window_->update();
        QTRY_VERIFY(counter.paints > 0);
        QCOMPARE(window_->size(), smaller);
        window_->removeEventFilter(&counter);
        auto* bar = child<QProgressBar>(*window_, "progressStep");
        QTRY_VERIFY(bar->value() > 0);
        const int seen = bar->value();
        QTRY_VERIFY(bar->value() > seen);
        window_->close();  // ignored while the step runs
        QVERIFY(window_->isVisible());
        QVERIFY(running());

        click(window_.get(), "cmdCancelStep");
        QTRY_VERIFY(!running());
        QCOMPARE(ScriptedSteps::calls, (std::vector<int>{5, 6}));
        // The log as it was, and what became of the step; the caption says so too.
        QCOMPARE(statusCaption(), QString("Status: Step 6 was cancelled!"));
        const std::string cancelled = log + "Step 6 was cancelled; no file was changed.\r\n";
        QCOMPARE(window_->statusLog().text(), cancelled);
        QCOMPARE(logWidgetText(), gui::qstr(workflow::StatusLog::forDisplay(cancelled)));
        QCOMPARE(enabledButtons(), enabled);
        QVERIFY(!button("cmdCancelStep")->isEnabled());
        QCOMPARE(bar->value(), 0);
    }

    void theCaptionTellsHowTheLastThingEnded_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("caption");
        QTest::newRow("a step stopped") << "stop"
                                        << "Status: Step 5 did not complete!";
        QTest::newRow("Reset after step 10")
            << "reset"
            << "Status: Reset - please perform Steps 1 through 4...";
    }
    void theCaptionTellsHowTheLastThingEnded() {
        QFETCH(QString, what);
        QFETCH(QString, caption);
        completeSetUp(true);
        MessageRecorder messages;
        if (what == "stop") {
            ScriptedSteps::behaviour[0] = [](const StepInputs&, StepHost&) {
                return StepResult::stopped(
                    "File /d/trees.csv, record 3, field DBH: \"x\" is not a number");
            };
            run("cmdComputePlots");
            QCOMPARE(messages.messages.size(), std::size_t(1));
            QCOMPARE(messages.messages[0].icon, QMessageBox::Critical);
        } else {
            run("cmdAllSteps");
            click(window_.get(), "cmdReset");
        }
        QCOMPARE(statusCaption(), caption);
    }

    void changingTheTreeOrLidarFilesDisablesTheStepsThatReadThem_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("browse");  // empty: the picker is cancelled
        QTest::addColumn<QStringList>("disabled");
        QTest::addColumn<QStringList>("hidden");
        const QStringList fromSix = {"cmdIterate", "cmdComputePhase1", "cmdCombinePhase2",
                                     "cmdComputeDoubleSample", "cmdViewOutput"};
        const QStringList labelsFromSix = kOutputLabels.mid(7);
        QTest::newRow("tree file") << "lnkChangeTreeFile"
                                   << "cmdBrowse" << fromSix << kOutputLabels.mid(3);
        QTest::newRow("LiDAR files") << "lnkChangeLidarFiles"
                                     << "cmdBrowseHighFile" << fromSix.mid(1) << labelsFromSix;
        QTest::newRow("tree file, cancelled") << "lnkChangeTreeFile"
                                              << "" << QStringList{} << QStringList{};
        QTest::newRow("LiDAR files, cancelled") << "lnkChangeLidarFiles"
                                                << "" << QStringList{} << QStringList{};
    }
    void changingTheTreeOrLidarFilesDisablesTheStepsThatReadThem() {
        QFETCH(QString, link);
        QFETCH(QString, browse);
        QFETCH(QStringList, disabled);
        QFETCH(QStringList, hidden);
        completeSetUp(true);
        for (const char* name : {"cmdComputePlots", "cmdIterate", "cmdComputePhase1",
                                 "cmdCombinePhase2", "cmdComputeDoubleSample"})
            run(name);
        const Session before = session_;
        FileDialogScript files;
        files.files = {"/new/file.csv", ""};
        DialogScript dialogs;
        dialogs.scripts.push_back([&](QDialog& d) {
            if (browse.isEmpty()) {
                click(&d, d.objectName() == "frmAssignHgtVol" ? "cmdBrowse" : "cmdBrowseHighFile");
                click(&d, "cmdCancel");  // what Browse chose goes again
            } else {
                click(&d, qPrintable(browse));
                click(&d, "cmdOK");
            }
            return d.result();
        });
        QVERIFY(QMetaObject::invokeMethod(child<QLabel>(*window_, qPrintable(link)),
                                          "linkActivated", Q_ARG(QString, "change")));
        QCOMPARE(dialogs.shown.size(), 1);
        QStringList expected = kStepButtons;
        for (const QString& name : disabled) expected.removeAll(name);
        QCOMPARE(enabledButtons(), expected);
        // The labels of steps 5 to 9 (no DataSet 2 file was chosen).
        for (const QString& name : kOutputLabels.mid(3))
            if (!name.startsWith("LblLowLidar"))
                QCOMPARE(label(name)->isVisible(), !hidden.contains(name));
        const bool tree = link == "lnkChangeTreeFile";
        const bool changed = !browse.isEmpty();
        QCOMPARE(session_.treeFile.string(),
                 tree && changed ? "/new/file.csv" : before.treeFile.string());
        QCOMPARE(session_.lidarHighFile.string(),
                 !tree && changed ? "/new/file.csv" : before.lidarHighFile.string());
    }

    void aStepWaitsForTheProductCodesTheUserGivesOnTheWindow() {
        completeSetUp(true);
        ScriptedSteps::behaviour[0] = [](const StepInputs&, StepHost& h) {
            std::string answers = "codes";
            for (auto [species, dbh] : {std::pair{2, 7.25}, std::pair{1, 3.5}}) {
                const std::optional<int> code = h.askProductCode(species, dbh);
                answers += code ? " " + std::to_string(*code) : " none";
            }
            h.log(answers);
            return StepResult{};
        };
        DialogScript dialogs;
        QStringList asked;
        dialogs.scripts.push_back([&](QDialog& d) {
            asked << child<QLabel>(d, "Label1")->text() + child<QLabel>(d, "Label2")->text();
            child<QLineEdit>(d, "txtProdCode")->setText("3");
            click(&d, "cmdOK");
            return d.result();
        });
        dialogs.scripts.push_back([&](QDialog& d) {
            asked << child<QLabel>(d, "Label1")->text() + child<QLabel>(d, "Label2")->text();
            click(&d, "cmdCancel");
            return d.result();
        });
        run("cmdComputePlots");
        QCOMPARE(asked, QStringList({" SPECIES = 2 DBH = 7.2", " SPECIES = 1 DBH = 3.5"}));
        QVERIFY(window_->statusLog().text().ends_with("codes 3 none\r\n"));
        QVERIFY(button("cmdIterate")->isEnabled());
    }

    void aPlotAboveMaxPlotsOpensTheParametersAndRunsTheStepAgainOnceMaxPlotsCoversIt_data() {
        QTest::addColumn<QString>("maxPlots");  // typed into the parameters dialog
        QTest::addColumn<QList<int>>("calls");
        QTest::addColumn<bool>("completed");
        QTest::newRow("covers the plot") << "2000" << QList<int>{5, 6, 6} << true;
        QTest::newRow("still too small") << "1999" << QList<int>{5, 6} << false;
    }
    void aPlotAboveMaxPlotsOpensTheParametersAndRunsTheStepAgainOnceMaxPlotsCoversIt() {
        QFETCH(QString, maxPlots);
        QFETCH(QList<int>, calls);
        QFETCH(bool, completed);
        completeSetUp(true);
        session_.params.MaxPlots = 1500;
        ScriptedSteps::behaviour[1] = [](const StepInputs& in, StepHost&) {
            return in.params.MaxPlots < 2000 ? StepResult::needsLargerMaxPlots(2000) : StepResult{};
        };
        run("cmdComputePlots");
        DialogScript dialogs;
        dialogs.scripts.push_back([maxPlots](QDialog& d) {
            child<QLineEdit>(d, "txtMaxPlots")->setText(maxPlots);
            click(&d, "cmdSave");
            return d.result();
        });
        MessageRecorder messages;
        run("cmdIterate");
        QCOMPARE(
            messages.texts(),
            QStringList{"Number of plots in data files exceeds the Maxplots parameter setting"});
        QCOMPARE(dialogs.shown, QStringList{"frmUserParameters"});
        QCOMPARE(QList<int>(ScriptedSteps::calls.begin(), ScriptedSteps::calls.end()), calls);
        QCOMPARE(button("cmdComputePhase1")->isEnabled(), completed);
        QVERIFY(button("cmdReset")->isEnabled() && button("cmdExit")->isEnabled());
    }

    void theLogIsClearedBeforeALineOnceItHoldsMoreThan64000Characters() {
        window_->setLogText(std::string(63998, 'x'));
        window_->appendLogLine("a");  // 64001 characters afterwards: kept
        QCOMPARE(window_->statusLog().length(), std::size_t(64001));
        window_->appendLogLine("PLOT SP PR");
        QCOMPARE(window_->statusLog().text(), std::string("PLOT SP PR\r\n"));
        QCOMPARE(logWidgetText(), QString("PLOT SP PR\n"));
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
        QTRY_VERIFY(!window_->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
