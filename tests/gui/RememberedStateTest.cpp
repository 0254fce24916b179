// What the main window remembers between runs, in a settings file of the test's own (never the
// user's): its size, the application directory and the recently used data sets, which the File
// menu opens again.
#include "gui/RememberedState.h"
#include "tests/gui/GuiTestSupport.h"

using namespace orr;
using namespace orr::guitest;

class RememberedStateTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

    QString path(const QString& name) const { return dir_.filePath(name); }
    // A window on a fresh session in the application directory app1.
    std::unique_ptr<gui::MainWindow> window(Session& session, QSettings& settings) {
        session.appDir = gui::fspath(path("app1"));
        startUp(session);
        auto w = std::make_unique<gui::MainWindow>(session, workflow::stepTable());
        w->useSettings(&settings);
        w->show();
        return w;
    }
    static QStringList recentMenu(gui::MainWindow& w) {
        QStringList texts;
        for (QAction* a : child<QMenu>(w, "mnuRecentDataSets")->actions()) texts << a->text();
        return texts;
    }

  private slots:
    void theWindowTakesUpItsSizeAndTheDataSetsUsedLast() {
        QSettings settings(path("orravant.ini"), QSettings::IniFormat);
        for (const char* file : {"ABC_COEFFIC.csv", "ABC_STRATA.csv", "ABC_DBH.csv", "trees.csv"})
            writeAll(path(file), "1,1,1,1\r\n");
        Session first;
        {
            auto w = window(first, settings);
            QCOMPARE(recentMenu(*w), QStringList{"(none yet)"});
            first.dataSetName = "ABC";
            first.inputs.coefficients = gui::fspath(path("ABC_COEFFIC.csv"));
            first.inputs.strata = gui::fspath(path("ABC_STRATA.csv"));
            first.inputs.dbh = gui::fspath(path("ABC_DBH.csv"));
            first.inputs.trees = gui::fspath(path("trees.csv"));
            w->activate();  // set-up complete: the data set is remembered
            w->resize(700, 500);
            w->close();
        }
        QCOMPARE(gui::RememberedState(settings).lastAppDir(),
                 std::optional(gui::fspath(path("app1"))));

        Session next;
        auto w = window(next, settings);
        QCOMPARE(w->size(), QSize(700, 500));
        QCOMPARE(recentMenu(*w), QStringList{"ABC"});
        QVERIFY(!child<QPushButton>(*w, "cmdComputePlots")->isEnabled());
        child<QMenu>(*w, "mnuRecentDataSets")->actions().front()->trigger();
        QCOMPARE(next.dataSetName, std::string("ABC"));
        QCOMPARE(next.inputs.dbh, first.inputs.dbh);
        QCOMPARE(next.inputs.trees, first.inputs.trees);
        QVERIFY(child<QPushButton>(*w, "cmdComputePlots")->isEnabled());
        QCOMPARE(child<QLabel>(*w, "LblStratDBHfilename")->text(),
                 QString("Strata File - ABC_STRATA.csv  DBH File - ABC_DBH.csv"));
        // No report of the data set yet: nothing to view.
        QVERIFY(!child<QPushButton>(*w, "cmdViewOutput")->isEnabled());
        QVERIFY(!child<QPushButton>(*w, "cmdViewResults")->isEnabled());

        // Its reports are there from an earlier run: opened again, they can be viewed and the
        // results shown without running the steps again. The chosen areas file comes back too.
        next.inputs.areas = gui::fspath(path("areas.csv"));
        writeAll(path("areas.csv"), "1,100\r\n");
        w->activate();  // remembered with the areas
        writeAll(gui::qpath(next.dataFilesDir() / "ABC_Regress.txt"), "St\r\n");
        next.inputs.areas.clear();
        child<QMenu>(*w, "mnuRecentDataSets")->actions().front()->trigger();
        QVERIFY(child<QPushButton>(*w, "cmdViewOutput")->isEnabled());
        QVERIFY(child<QPushButton>(*w, "cmdViewResults")->isEnabled());
        QCOMPARE(next.inputs.areas, gui::fspath(path("areas.csv")));

        // A data set whose DBH file has gone is not taken up; nothing changes.
        QVERIFY(QFile::remove(path("ABC_DBH.csv")));
        MessageRecorder messages;
        QVERIFY(!w->openRecentDataSet(gui::RememberedState(settings).recentDataSets().front()));
        QCOMPARE(messages.texts, QStringList{"The data set ABC cannot be opened again: the file " +
                                             path("ABC_DBH.csv") + " is no longer there."});
        QCOMPARE(next.dataSetName, std::string("ABC"));
    }
};

QTEST_MAIN(RememberedStateTest)
#include "RememberedStateTest.moc"
