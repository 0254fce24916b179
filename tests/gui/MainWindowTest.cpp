// The main window with stand-in steps, so that no data is needed: the enabled-state chain as the
// buttons show it, from the set-up through step 10 to Reset; a plot above MaxPlots; the log kept
// within 64000 characters.

#include "gui/GuiText.h"
#include "gui/MainWindow.h"
#include "model/session/Startup.h"
#include "tests/gui/GuiTestSupport.h"

using namespace orr;
using namespace orr::guitest;

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
    std::unique_ptr<gui::MainWindow> window_;

    QLabel* label(const QString& name) const { return window_->findChild<QLabel*>(name); }
    bool enabled(const char* name) const {
        return window_->findChild<QPushButton*>(name)->isEnabled();
    }
    QStringList enabledButtons() const {
        QStringList on;
        for (const QString& name : kStepButtons)
            if (enabled(qPrintable(name))) on << name;
        return on;
    }
    QStringList shownLabels() const {
        QStringList shown;
        for (const QString& name : kOutputLabels)
            if (label(name)->isVisible()) shown << name;
        return shown;
    }
    QString logWidgetText() { return child<QPlainTextEdit>(*window_, "txtStatus")->toPlainText(); }
    void run(const char* name) { runButton(*window_, name); }
    // Step 1 through its dialog, the coefficient, strata and DBH files named directly.
    void completeSetUp() {
        session_.coefficientFile = "/d/ABC_COEFFIC.csv";
        session_.strataFile = "/d/ABC_STRATA.csv";
        session_.dbhFile = "/d/ABC_DBH.csv";
        DialogScript dialogs;
        dialogs.scripts.push_back([](QDialog& d) {
            child<QLineEdit>(d, "txtDataSetName")->setText("ABC");
            click(&d, "cmdSave");
            return d.result();
        });
        click(window_.get(), "cmdDataSetCreate");
        QCOMPARE(dialogs.shown, QStringList{"frmEnterDataSetName"});
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

    // Step 10 asks for the tree and LiDAR files it lacks; a new tree file disables the steps
    // that read what step 5 wrote; Reset keeps the log and the parameters.
    void theButtonsFollowTheSetUpTheStepsAndReset() {
        QCOMPARE(enabledButtons(), kAtStart);
        QCOMPARE(shownLabels(), QStringList());
        completeSetUp();
        QCOMPARE(enabledButtons(),
                 QStringList({"cmdDataSetCreate", "cmdSetParam", "cmdRegCoeff", "cmdAssignPlotsDBH",
                              "cmdComputePlots", "cmdAllSteps", "cmdInstructions", "cmdReset",
                              "cmdExit"}));
        QCOMPARE(label("lbldatasetname")->text(), QString("DataSetName - ABC"));

        FileDialogScript files;
        files.files = {"/field/trees.csv", "/lidar/high.csv"};
        DialogScript dialogs;
        for (const char* browse : {"cmdBrowse", "cmdBrowseHighFile", "cmdBrowse"})
            dialogs.scripts.push_back([browse](QDialog& d) {
                click(&d, browse);
                click(&d, "cmdOK");
                return d.result();
            });
        run("cmdAllSteps");
        QCOMPARE(dialogs.shown, QStringList({"frmAssignHgtVol", "frmEnterPhase1Height"}));
        const QString dataDir = gui::qpath(session_.dataFilesDir());
        QCOMPARE(files.startFolders, QStringList({dataDir, dataDir}));
        QCOMPARE(session_.treeFile.string(), std::string("/field/trees.csv"));
        QCOMPARE(session_.lidarHighFile.string(), std::string("/lidar/high.csv"));
        QCOMPARE(ScriptedSteps::calls, (std::vector<int>{5, 6, 7, 8, 9}));
        QCOMPARE(statusCaption(*window_), QString("Status: All steps completed successfully!"));
        QCOMPARE(enabledButtons(), kStepButtons);
        QVERIFY(label("LblPlotOutfile1")->isVisible() && label("LblCompute9")->isVisible());

        files.files = {"/field/trees2.csv"};
        QVERIFY(QMetaObject::invokeMethod(child<QLabel>(*window_, "lnkChangeTreeFile"),
                                          "linkActivated", Q_ARG(QString, "change")));
        QCOMPARE(session_.treeFile.string(), std::string("/field/trees2.csv"));
        QStringList fromSix = kStepButtons;
        for (const char* name : {"cmdIterate", "cmdComputePhase1", "cmdCombinePhase2",
                                 "cmdComputeDoubleSample", "cmdViewOutput"})
            fromSix.removeAll(name);
        QCOMPARE(enabledButtons(), fromSix);
        QCOMPARE(shownLabels(), QStringList{"lbldatasetname"});  // files of 3 and 4 named directly

        const QString logBefore = logWidgetText();
        const ParamRecord params = session_.params;
        click(window_.get(), "cmdReset");
        QCOMPARE(enabledButtons(), kAtStart);
        QCOMPARE(shownLabels(), QStringList());
        QVERIFY(session_.dataSetName.empty() && session_.dbhFile.empty());
        QCOMPARE(logWidgetText(), logBefore);
        QVERIFY(session_.params == params);
        QCOMPARE(statusCaption(*window_),
                 QString("Status: Reset - please perform Steps 1 through 4..."));
    }

    // The parameters open; the step runs again only once MaxPlots covers the plot.
    void aPlotAboveMaxPlotsOpensTheParameters_data() {
        QTest::addColumn<QString>("maxPlots");  // typed into the parameters dialog
        QTest::addColumn<QList<int>>("calls");
        QTest::newRow("covers the plot") << "2000" << QList<int>{5, 6, 6};
        QTest::newRow("still too small") << "1999" << QList<int>{5, 6};
    }
    void aPlotAboveMaxPlotsOpensTheParameters() {
        QFETCH(QString, maxPlots);
        QFETCH(QList<int>, calls);
        session_.treeFile = "/d/trees.csv";
        session_.lidarHighFile = "/d/high.csv";
        completeSetUp();
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
        QCOMPARE(enabled("cmdComputePhase1"), calls.size() == 3);
    }

    void theLogIsClearedBeforeALineOnceItHoldsMoreThan64000Characters() {
        window_->setLogText(std::string(63998, 'x'));
        window_->appendLogLine("a");  // 64001 characters afterwards: kept
        QCOMPARE(window_->statusLog().length(), std::size_t(64001));
        window_->appendLogLine("PLOT SP PR");
        QCOMPARE(window_->statusLog().text(), std::string("PLOT SP PR\r\n"));
        QCOMPARE(logWidgetText(), QString("PLOT SP PR\n"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
