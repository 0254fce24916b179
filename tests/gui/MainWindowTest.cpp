// The main window with stand-in steps, so that no data is needed: the enabled-state chain as the
// buttons show it, from the set-up through step 10 to Reset; a plot above MaxPlots; the log kept
// within 64000 characters.
#include <map>

#include "gui/ElidedLabel.h"
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

// Stand-ins for steps 5 to 9: each records its number; step 6 needs MaxPlots of `plotsOfSix`.
std::vector<int> calls;
int plotsOfSix = 0;
template <int Step>
StepResult scripted(const StepInputs& in, StepHost&) {
    calls.push_back(Step);
    const bool tooFew = Step == 6 && in.params.MaxPlots < plotsOfSix;
    return tooFew ? StepResult::needsLargerMaxPlots(plotsOfSix) : StepResult{};
}
// Step `number` of the table computed by `run`, which reads nothing: the files of the data set it
// declares are optional, so that it runs before the steps it follows have written them.
workflow::StepEntry standIn(int number, workflow::StepFunction run) {
    static std::map<int, files::StepFiles> relaxed;
    workflow::StepEntry entry = *workflow::findStep(workflow::stepTable(), number);
    entry.run = run;
    files::StepFiles& declared = relaxed.try_emplace(number, *entry.files).first->second;
    for (files::FileRead& read : declared.reads) read.optional = read.optional || !read.chosen;
    entry.files = &declared;
    return entry;
}
std::span<const workflow::StepEntry> scriptedSteps() {
    static const workflow::StepEntry steps[] = {standIn(5, &scripted<5>), standIn(6, &scripted<6>),
                                                standIn(7, &scripted<7>), standIn(8, &scripted<8>),
                                                standIn(9, &scripted<9>)};
    return steps;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    Session session_;
    std::unique_ptr<gui::MainWindow> window_;

    QStringList enabledButtons() const {
        QStringList on;
        for (const QString& name : kStepButtons)
            if (child<QPushButton>(*window_, qPrintable(name))->isEnabled()) on << name;
        return on;
    }
    QStringList shownLabels() const {
        QStringList shown;
        for (auto* l : window_->findChildren<gui::ElidedLabel*>())
            if (l->isVisible()) shown << l->objectName();
        return shown;
    }
    QString logWidgetText() { return child<QPlainTextEdit>(*window_, "txtStatus")->toPlainText(); }
    // Step 1 through its dialog, the coefficient, strata and DBH files named directly.
    void completeSetUp() {
        session_.inputs.coefficients = "/d/ABC_COEFFIC.csv";
        session_.inputs.strata = "/d/ABC_STRATA.csv";
        session_.inputs.dbh = "/d/ABC_DBH.csv";
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
        calls.clear();
        plotsOfSix = 0;
        window_ = std::make_unique<gui::MainWindow>(session_, scriptedSteps());
        window_->setLogText(started.log);
        window_->show();
    }
    void cleanup() { window_.reset(); }

    // Step 10 asks for the tree and LiDAR files it lacks; a new tree file disables the steps
    // that read what step 5 wrote; Reset keeps the log.
    void theButtonsFollowTheSetUpTheStepsAndReset() {
        QCOMPARE(enabledButtons(), kAtStart);
        QCOMPARE(shownLabels(), QStringList());
        completeSetUp();
        QCOMPARE(enabledButtons(),
                 QStringList({"cmdDataSetCreate", "cmdSetParam", "cmdRegCoeff", "cmdAssignPlotsDBH",
                              "cmdComputePlots", "cmdAllSteps", "cmdInstructions", "cmdReset",
                              "cmdExit"}));
        QCOMPARE(child<QLabel>(*window_, "lbldatasetname")->text(), QString("DataSetName - ABC"));

        FileDialogScript files;
        files.files = {"/field/trees.csv", "/lidar/high.csv"};
        DialogScript dialogs;
        for (const char* browse : {"cmdBrowse", "cmdBrowseHighFile", "cmdBrowse"})
            dialogs.scripts.push_back([browse](QDialog& d) {
                click(&d, browse);
                click(&d, "cmdOK");
                return d.result();
            });
        runButton(*window_, "cmdAllSteps");
        QCOMPARE(dialogs.shown, QStringList({"frmAssignHgtVol", "frmEnterPhase1Height"}));
        const QString dataDir = gui::qpath(session_.dataFilesDir());
        QCOMPARE(files.startFolders, QStringList({dataDir, dataDir}));
        QCOMPARE(session_.inputs.trees.string(), std::string("/field/trees.csv"));
        QCOMPARE(session_.inputs.lidarHigh.string(), std::string("/lidar/high.csv"));
        QCOMPARE(calls, (std::vector<int>{5, 6, 7, 8, 9}));
        QCOMPARE(statusCaption(*window_), QString("Status: All steps completed successfully!"));
        QCOMPARE(enabledButtons(), kStepButtons);
        QVERIFY(shownLabels().contains("LblPlotOutfile1") && shownLabels().contains("LblCompute9"));

        files.files = {"/field/trees2.csv"};
        QVERIFY(QMetaObject::invokeMethod(child<QLabel>(*window_, "lnkChangeTreeFile"),
                                          "linkActivated", Q_ARG(QString, "change")));
        QCOMPARE(session_.inputs.trees.string(), std::string("/field/trees2.csv"));
        QStringList fromSix = kStepButtons;
        for (const char* name : {"cmdIterate", "cmdComputePhase1", "cmdCombinePhase2",
                                 "cmdComputeDoubleSample", "cmdViewOutput"})
            fromSix.removeAll(name);
        QCOMPARE(enabledButtons(), fromSix);
        QCOMPARE(shownLabels(), QStringList{"lbldatasetname"});  // files of 3 and 4 named directly

        const QString logBefore = logWidgetText();
        click(window_.get(), "cmdReset");
        QCOMPARE(enabledButtons(), kAtStart);
        QCOMPARE(shownLabels(), QStringList());
        QCOMPARE(logWidgetText(), logBefore);
        QCOMPARE(statusCaption(*window_),
                 QString("Status: Reset - please perform Steps 1 through 4..."));
    }

    // The parameters open; the step runs again only once MaxPlots covers the plot.
    void aPlotAboveMaxPlotsOpensTheParameters_data() {
        QTest::addColumn<QString>("maxPlots");      // typed into the parameters dialog
        QTest::addColumn<std::vector<int>>("run");  // the steps run
        QTest::newRow("covers the plot") << "2000" << std::vector<int>{5, 6, 6};
        QTest::newRow("still too small") << "1999" << std::vector<int>{5, 6};
    }
    void aPlotAboveMaxPlotsOpensTheParameters() {
        QFETCH(QString, maxPlots);
        QFETCH(std::vector<int>, run);
        session_.inputs.trees = "/d/trees.csv";
        session_.inputs.lidarHigh = "/d/high.csv";
        completeSetUp();
        session_.params.MaxPlots = 1500;
        plotsOfSix = 2000;
        runButton(*window_, "cmdComputePlots");
        DialogScript dialogs;
        dialogs.scripts.push_back([maxPlots](QDialog& d) {
            child<QLineEdit>(d, "txtMaxPlots")->setText(maxPlots);
            click(&d, "cmdSave");
            return d.result();
        });
        MessageRecorder messages;
        runButton(*window_, "cmdIterate");
        QCOMPARE(
            messages.texts,
            QStringList{"Number of plots in data files exceeds the Maxplots parameter setting"});
        QCOMPARE(dialogs.shown, QStringList{"frmUserParameters"});
        QCOMPARE(calls, run);
        QCOMPARE(enabledButtons().contains("cmdComputePhase1"), run.size() == 3);
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
