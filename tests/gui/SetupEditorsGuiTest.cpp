// The coefficient, strata and DBH file dialogs and their grid editors, driven through their
// widgets. Where the keys lead and what Save makes of each cell are checked on the grid models
// (tests/model/editors/); here the window around them.
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include "gui/CoefficientEditor.h"
#include "gui/CoefficientFileDialog.h"
#include "gui/DbhEditor.h"
#include "gui/GuiText.h"
#include "gui/StrataDbhFilesDialog.h"
#include "gui/StrataEditor.h"
#include "tests/gui/GuiTestSupport.h"

using namespace orr;
using namespace orr::gui;
using namespace orr::guitest;

namespace {

void mouse(QWidget& dialog, const char* button) {
    QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
}
QTableWidget* grid(QWidget& editor) {
    return child<QTableWidget>(editor, "MSHFlexGrid1");
}
QLineEdit* box(QWidget& editor) {
    return child<QLineEdit>(editor, "txtEdit");
}
// Types each value followed by Enter, the last one without.
void typeAll(QWidget& editor, const QStringList& values) {
    for (int i = 0; i + 1 < values.size(); ++i) typeIn(editor, values[i], Qt::Key_Return);
    QTest::keyClicks(box(editor), values.last());
}
using MakeEditor = std::function<std::unique_ptr<QDialog>(MainView&)>;
template <class Editor>
MakeEditor make() {
    return [](MainView& view) { return std::make_unique<Editor>(view); };
}

}  // namespace

class SetupEditorsGuiTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeView> view_;
    std::unique_ptr<MessageRecorder> messages_;
    std::unique_ptr<DialogScript> dialogs_;
    std::unique_ptr<FileDialogScript> files_;

    Session& session() { return view_->s; }
    QString dataFile(const QString& name) const { return view_->dataFile(name); }

  private slots:
    void init() {
        view_ = std::make_unique<FakeView>();
        messages_ = std::make_unique<MessageRecorder>();
        dialogs_ = std::make_unique<DialogScript>();
        files_ = std::make_unique<FileDialogScript>();
    }
    void cleanup() {
        const QStringList folders = files_->startFolders;
        const QString dataDir = qpath(session().dataFilesDir());
        files_.reset();
        dialogs_.reset();
        messages_.reset();
        view_.reset();
        for (const QString& folder : folders) QCOMPARE(folder, dataDir);  // every file dialog
    }

    // --- the grid editors ---------------------------------------------------------------------

    void eachEditorSavesWhatIsTypedOrNamesTheCellItCannotSave() {
        session().dataSetName = "E";
        // Saved: the file, the note, the session and the log of the main window.
        const auto saved = [&](MakeEditor make, const QStringList& typed, const QString& file,
                               const QByteArray& content, const QString& note, const QString& log,
                               const std::filesystem::path& chosen) {
            messages_->messages.clear();
            view_->log.clear();
            const auto editor = make(*view_);
            showActive(*editor);
            typeAll(*editor, typed);
            mouse(*editor, "cmdSave");
            const QString path = dataFile(file);
            QCOMPARE(readAll(path), content);
            QCOMPARE(messages_->texts(), QStringList{note.arg(path)});
            QCOMPARE(qpath(chosen), path);
            QCOMPARE(view_->log, QStringList{log.arg(path)});
            QCOMPARE(editor->result(), int(QDialog::Accepted));
        };
        // Refused: the cell named, the box open on it, the earlier file as it was.
        const auto refused = [&](MakeEditor make, const QStringList& typed, const QString& file,
                                 const QString& message, int column) {
            messages_->messages.clear();
            writeAll(dataFile(file), "earlier file\r\n");
            const auto editor = make(*view_);
            showActive(*editor);
            typeAll(*editor, typed);
            mouse(*editor, "cmdSave");
            QCOMPARE(readAll(dataFile(file)), QByteArray("earlier file\r\n"));
            QCOMPARE(messages_->texts(), QStringList{message});
            QCOMPARE(messages_->messages[0].icon, QMessageBox::Critical);
            QVERIFY(editor->isVisible() && box(*editor)->isVisible());
            QCOMPARE(grid(*editor)->currentColumn(), column);
        };
        refused(make<CoefficientEditor>(), {"1", "1.2.3", "4", ""}, "E_COEFFIC.csv",
                "Species 1, b1 (equation 1): \"1.2.3\" is not a number", 2);
        refused(make<StrataEditor>(), {"1", "one", ""}, "E_STRATA.csv",
                "Row 1, Begin Plot: \"one\" is not a number", 1);
        refused(make<DbhEditor>(), {"4", "big"}, "E_DBH.csv",
                "Species 1, Product 1, Max DBH: \"big\" is not a number", 3);
        QVERIFY(view_->log.isEmpty());

        saved(make<CoefficientEditor>(), {"1.5"}, "E_COEFFIC.csv",
              "1.5,0,0,0\r\n" + QByteArray("0,0,0,0\r\n").repeated(9),
              "Co-efficient file %1 Created", "Regression Coefficient File Created, FileName: %1",
              session().coefficientFile);
        QCOMPARE(view_->labels.value("LblCoeffFile"), QString("File - E_COEFFIC.csv"));
        saved(make<StrataEditor>(), {"1", "1", "100", "30", "2.5", "101", "250.5", ""},
              "E_STRATA.csv", "1,1,100,30\r\n2,101,250,30\r\n", "Strata file %1 Created",
              "Strata File Created", session().strataFile);
        saved(make<DbhEditor>(), {"4.5", "9"}, "E_DBH.csv",
              "1,1,\"4.5\",\"9\"\r\n1,2,0,0\r\n1,3,0,0\r\n2,1,0,0\r\n2,2,0,0\r\n2,3,0,0\r\n",
              "DBH file %1 Created", "DBH File Created", session().dbhFile);
    }

    void escapeKeepsTheWindowEnterReopensTheBoxAndTheLastCellLeadsToSave() {
        session().dataSetName = "K";
        session().params.MaxSpec = session().params.MaxProd = 1;
        DbhEditor editor(*view_);
        showActive(editor);
        typeIn(editor, "4.5", Qt::Key_Return);
        typeIn(editor, "99", Qt::Key_Escape);  // the entry is dropped; the window stays
        QVERIFY(!box(editor)->isVisible() && editor.isVisible());
        QTest::keyClick(grid(editor), Qt::Key_Return);  // Enter in the grid opens the box again
        typeIn(editor, "9", Qt::Key_Return);            // the last cell: the focus goes to Save
        auto* save = child<QPushButton>(editor, "cmdSave");
        QVERIFY(save->hasFocus());
        QTest::keyClick(save, Qt::Key_Return);
        QCOMPARE(readAll(dataFile("K_DBH.csv")), QByteArray("1,1,\"4.5\",\"9\"\r\n"));
    }

    void theEditorsShowEveryTextWholeAndFitTheScreen() {
        session().dataSetName = "W";
        session().params.MaxSpec = 12;
        for (const MakeEditor& maker :
             {make<CoefficientEditor>(), make<StrataEditor>(), make<DbhEditor>()}) {
            const auto editor = maker(*view_);
            showActive(*editor);
            auto* g = grid(*editor);
            const int number = g->fontMetrics().horizontalAdvance("-0.1234568");
            for (int r = 0; r < g->rowCount(); ++r)
                for (int c = 0; c < g->columnCount(); ++c) {
                    if (g->columnSpan(r, c) > 1 || !g->item(r, c)) continue;
                    const QFontMetrics metrics(g->item(r, c)->font());
                    QVERIFY2(metrics.horizontalAdvance(g->item(r, c)->text()) < g->columnWidth(c),
                             qPrintable(g->item(r, c)->text()));
                    if (c > 0) QVERIFY(number < g->columnWidth(c));
                }
            QVERIFY(!g->wordWrap() && !g->horizontalScrollBar()->isVisible());
            QVERIFY(editor->screen()->availableGeometry().contains(editor->geometry()));
        }
    }

    void theBoxFollowsTheCellAndClickingAwayOrScrollingEndsTheEntry() {
        session().dataSetName = "ST";
        StrataEditor strata(*view_);
        showActive(strata);
        for (int i = 0; i < 40; ++i) typeIn(strata, QString::number(i + 1), Qt::Key_Down);
        auto* g = grid(strata);
        QCOMPARE(g->currentRow(), 41);
        // The box stands over the current cell, inside the visible part of the grid.
        const QRect cell = g->visualItemRect(g->item(41, 0));
        QCOMPARE(box(strata)->geometry().topLeft(), g->viewport()->mapTo(&strata, cell.topLeft()));
        QVERIFY(g->viewport()->rect().contains(cell));

        session().params.MaxSpec = 10;
        CoefficientEditor editor(*view_);
        showActive(editor);
        g = grid(editor);
        QTest::keyClicks(box(editor), "7");
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                          g->visualItemRect(g->item(3, 3)).center());
        QCOMPARE(g->item(2, 1)->text(), QString("7"));  // leaving the cell committed it
        QTest::keyClicks(box(editor), "8");
        g->verticalScrollBar()->setValue(g->verticalScrollBar()->value() + 5);
        QVERIFY(!box(editor)->isVisible());
        QCOMPARE(g->item(3, 3)->text(), QString(""));  // the scroll dropped the 8
    }

    // --- the coefficient file dialog and the strata and DBH file dialog ------------------------

    // A count that differs from the parameters is a warning that opens them; the file is taken.
    void theCountsOfTheChosenFilesAreCheckedAgainstTheParameters_data() {
        QTest::addColumn<int>("coefficientRecords");  // five per species, rounded
        QTest::addColumn<int>("maxProd");             // the DBH file has 3 products
        QTest::addColumn<QStringList>("warnings");
        QTest::newRow("counts differ") << 15 << 2
                                       << QStringList{
                                              "Number of species entries in coefficient "
                                              "File= 3\nMax species in parameter setting= 2",
                                              "Number of product entries in DBH File= 3\n"
                                              "Max products in parameter setting= 2"};
        QTest::newRow("counts agree") << 11 << 3 << QStringList{};
    }
    void theCountsOfTheChosenFilesAreCheckedAgainstTheParameters() {
        QFETCH(int, coefficientRecords);
        QFETCH(int, maxProd);
        QFETCH(QStringList, warnings);
        const QString coeff = dataFile("X_COEFFIC.csv"), strata = dataFile("S_STRATA.csv"),
                      dbh = dataFile("S_DBH.csv");
        writeAll(coeff, QByteArray("1,2,3,4\r\n").repeated(coefficientRecords));
        writeAll(strata, "1,1,100,30\r\n");
        writeAll(dbh, "1,1,0,0\r\n1,2,0,0\r\n1,3,0,0\r\n2,1,0,0\r\n2,2,0,0\r\n2,3,0,0\r\n");
        session().params.MaxProd = maxProd;
        files_->files = {coeff, strata, dbh};
        CoefficientFileDialog regCoeff(*view_);
        showActive(regCoeff);
        mouse(regCoeff, "cmdBrowse");
        mouse(regCoeff, "cmdOK");
        StrataDbhFilesDialog assign(*view_);
        showActive(assign);
        mouse(assign, "cmdBrowseStrata");
        mouse(assign, "cmdBrowseDBH");
        mouse(assign, "cmdBrowseStrata");  // cancelled: the file chosen before stays
        mouse(assign, "cmdOK");
        QCOMPARE(messages_->texts(), warnings);
        QCOMPARE(dialogs_->shown, QStringList(warnings.size(), "frmUserParameters"));
        QVERIFY(regCoeff.result() == QDialog::Accepted && assign.result() == QDialog::Accepted);
        QCOMPARE(view_->labels.value("LblStratDBHfilename"),
                 QString("Strata File - S_STRATA.csv  DBH File - S_DBH.csv"));
        QCOMPARE(view_->log,
                 (QStringList{"Regression Coefficient File chosen:" + coeff,
                              "Chosen Strata FileName:" + strata, "Chosen DBH FileName:" + dbh}));
    }

    void missingFilesAreAskedForAndEditOpensTheChosenFile() {
        session().coefficientFile = "/somewhere/A_COEFFIC.csv";
        CoefficientFileDialog regCoeff(*view_);
        showActive(regCoeff);
        mouse(regCoeff, "cmdBrowse");  // cancelled: the name stays
        mouse(regCoeff, "cmdEdit");
        QCOMPARE(files_->opened, QStringList{"/somewhere/A_COEFFIC.csv"});
        session().coefficientFile.clear();
        mouse(regCoeff, "cmdEdit");
        mouse(regCoeff, "cmdOK");
        StrataDbhFilesDialog assign(*view_);
        showActive(assign);
        mouse(assign, "cmdOK");
        session().strataFile = "/x/S.csv";
        mouse(assign, "cmdOK");
        QCOMPARE(messages_->texts(),
                 (QStringList{"Please enter Co-eff File", "Please Enter Co-eff File",
                              "Please enter the Strata File", "Please enter DBH File"}));
        QVERIFY(regCoeff.isVisible() && assign.isVisible());
        QVERIFY(view_->labels.isEmpty() && view_->log.isEmpty());
    }

    // Create opens the editor once there is a data-set name (asked for first) and something to
    // enter; the dialog then shows the new file, or gives way to the editor.
    void createAsksForWhatItLacksThenOpensTheEditor() {
        const auto create = [&](const char* button, const QStringList& messages,
                                const QStringList& shown, const QString& file, const char* box) {
            messages_->messages.clear();
            dialogs_->shown.clear();
            const QDir data(qpath(session().dataFilesDir()));
            const QStringList filesBefore = data.entryList(QDir::Files);
            std::unique_ptr<QDialog> dialog;
            if (button == QString("cmdCreateFile"))
                dialog = std::make_unique<CoefficientFileDialog>(*view_);
            else
                dialog = std::make_unique<StrataDbhFilesDialog>(*view_);
            showActive(*dialog);
            mouse(*dialog, button);
            QCOMPARE(messages_->texts(), messages);
            QCOMPARE(dialogs_->shown, shown);
            QCOMPARE(dialog->isVisible(), file.isEmpty() || box);
            if (file.isEmpty()) QCOMPARE(data.entryList(QDir::Files), filesBefore);
            if (!file.isEmpty()) QVERIFY(readAll(dataFile(file)).startsWith("1,"));
            if (box) QCOMPARE(child<QLineEdit>(*dialog, box)->text(), dataFile(file));
        };
        const QString noName = "Please Enter the DataSet Name";
        create("cmdCreateFile", {noName}, {"frmEnterDataSetName"}, "", nullptr);  // not given
        const auto editor = [](QDialog& d) {
            QTest::keyClicks(box(d), "1");
            mouse(d, "cmdSave");
            return d.result();
        };
        dialogs_->scripts = {[](QDialog& d) {
                                 QTest::keyClicks(child<QLineEdit>(d, "txtDataSetName"), "NEW");
                                 mouse(d, "cmdSave");
                                 return d.result();
                             },
                             editor};
        create("cmdCreateDBHFile", {noName, "DBH file " + dataFile("NEW_DBH.csv") + " Created"},
               {"frmEnterDataSetName", "frmCreateDBHFile"}, "NEW_DBH.csv", "txtDBHFileName");
        dialogs_->scripts = {editor};
        create("cmdCreateFile", {"Co-efficient file " + dataFile("NEW_COEFFIC.csv") + " Created"},
               {"frmCreateCoeffFile"}, "NEW_COEFFIC.csv", nullptr);
        session().params.MaxProd = 0;
        create("cmdCreateDBHFile", {"Max number of Products should be greater than 0"}, {}, "",
               nullptr);
    }
};

QTEST_MAIN(SetupEditorsGuiTest)
#include "SetupEditorsGuiTest.moc"
