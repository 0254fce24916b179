// What the main window remembers between runs (in a settings file of the test's own, never the
// user's): its size and place, the application directory and the recently used data sets, and the
// File menu that opens another application directory or a recent data set.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <filesystem>

#include "gui/GuiText.h"
#include "gui/MainWindow.h"
#include "gui/RememberedState.h"
#include "model/session/Startup.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/model/workflow/ScriptedSteps.h"

using namespace orr;
using namespace orr::guitest;
using orr::test::ScriptedSteps;

class RememberedStateTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<QSettings> settings_;

    QString path(const QString& name) const { return dir_.filePath(name); }
    // A window on a fresh session in `appDir`, remembering in the test's settings.
    std::unique_ptr<gui::MainWindow> window(Session& session, const QString& appDir) {
        session = Session{};
        session.appDir = gui::fspath(appDir);
        const StartupResult started = startUp(session);
        auto w = std::make_unique<gui::MainWindow>(session, ScriptedSteps::steps());
        w->setLogText(started.log);
        w->useSettings(settings_.get());
        w->show();
        return w;
    }
    static QStringList recentMenu(gui::MainWindow& w) {
        QStringList texts;
        for (QAction* a : child<QMenu>(w, "mnuRecentDataSets")->actions()) texts << a->text();
        return texts;
    }
    static void openRecent(gui::MainWindow& w, const QString& text) {
        for (QAction* a : child<QMenu>(w, "mnuRecentDataSets")->actions())
            if (a->text() == text) return a->trigger();
        QFAIL(qPrintable("no recent data set " + text));
    }

  private slots:
    void init() {
        ScriptedSteps::clear();
        settings_ = std::make_unique<QSettings>(path("orravant.ini"), QSettings::IniFormat);
        settings_->clear();
        for (const char* file : {"ABC_COEFFIC.csv", "ABC_STRATA.csv", "ABC_DBH.csv", "trees.csv"})
            writeAll(path(file), "1,1,1,1\r\n");
    }

    void theWindowTakesUpItsPlaceAndTheDataSetsUsedLast() {
        Session first;
        {
            auto w = window(first, path("app1"));
            QCOMPARE(recentMenu(*w), QStringList{"(none yet)"});
            first.dataSetName = "ABC";
            first.coefficientFile = gui::fspath(path("ABC_COEFFIC.csv"));
            first.strataFile = gui::fspath(path("ABC_STRATA.csv"));
            first.dbhFile = gui::fspath(path("ABC_DBH.csv"));
            first.treeFile = gui::fspath(path("trees.csv"));
            w->activate();  // set-up complete: the data set is remembered
            w->resize(700, 500);
            w->move(40, 30);
            w->close();
        }
        QCOMPARE(gui::RememberedState(*settings_).lastAppDir(),
                 std::optional(gui::fspath(path("app1"))));

        Session next;
        auto w = window(next, path("app1"));
        QCOMPARE(w->size(), QSize(700, 500));
        QCOMPARE(recentMenu(*w), QStringList{"ABC"});
        QVERIFY(!child<QPushButton>(*w, "cmdComputePlots")->isEnabled());
        openRecent(*w, "ABC");
        QCOMPARE(next.dataSetName, std::string("ABC"));
        QCOMPARE(next.dbhFile, first.dbhFile);
        QCOMPARE(next.treeFile, first.treeFile);
        QVERIFY(child<QPushButton>(*w, "cmdComputePlots")->isEnabled());
        QVERIFY(child<QPushButton>(*w, "cmdAllSteps")->isEnabled());
        QCOMPARE(child<QLabel>(*w, "lbldatasetname")->text(), QString("DataSetName - ABC"));
        QCOMPARE(child<QLabel>(*w, "LblStratDBHfilename")->text(),
                 QString("Strata File - ABC_STRATA.csv  DBH File - ABC_DBH.csv"));
        QVERIFY(w->statusLog().text().ends_with("Tree Input FileName:" + first.treeFile.string() +
                                                "\r\n"));

        // A data set whose DBH file has gone is not taken up; nothing changes.
        QVERIFY(QFile::remove(path("ABC_DBH.csv")));
        MessageRecorder messages;
        QVERIFY(!w->openRecentDataSet(gui::RememberedState(*settings_).recentDataSets().front()));
        QCOMPARE(messages.texts(),
                 QStringList{"The data set ABC cannot be opened again: the file " +
                             path("ABC_DBH.csv") + " is no longer there."});
        QCOMPARE(messages.messages[0].icon, QMessageBox::Critical);
        QCOMPARE(next.dataSetName, std::string("ABC"));
    }

    void anotherApplicationDirectoryStartsOverThere() {
        Session session;
        auto w = window(session, path("app1"));
        session.dataSetName = "ABC";
        FileDialogScript files;
        files.directories = {"", path("app2")};
        for (int i = 0; i < 2; ++i) child<QAction>(*w, "actOpenAppDir")->trigger();
        QCOMPARE(session.appDir, gui::fspath(path("app2")));
        QVERIFY(std::filesystem::exists(session.appDir / "PARAMETER.PRM"));
        QVERIFY(std::filesystem::is_directory(session.appDir / "DATA FILES"));
        QVERIFY(session.dataSetName.empty());
        QCOMPARE(w->statusLog().text(), std::string("Please perform Steps 1 through 4...\r\n"));
        QCOMPARE(child<QGroupBox>(*w, "FrameStatus")->title(), QString("Status"));
        QCOMPARE(gui::RememberedState(*settings_).lastAppDir(),
                 std::optional(gui::fspath(path("app2"))));
    }
};

QTEST_MAIN(RememberedStateTest)
#include "RememberedStateTest.moc"
