// The coefficient, strata and DBH file dialogs and their grid editors, driven through their
// widgets with key and mouse clicks.
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

void mouseSave(QWidget& editor) {
    QTest::mouseClick(child<QPushButton>(editor, "cmdSave"), Qt::LeftButton);
}
void mouse(QWidget& dialog, const char* button) {
    QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
}
QTableWidget* grid(QWidget& editor) {
    return child<QTableWidget>(editor, "MSHFlexGrid1");
}

// A DBH file of `lines` records "s,p,0,0" for species 1..2, products 1..products.
QByteArray dbhRecords(int products) {
    QByteArray out;
    for (int s = 1; s <= 2; ++s)
        for (int p = 1; p <= products; ++p)
            out += QByteArray::number(s) + "," + QByteArray::number(p) + ",0,0\r\n";
    return out;
}

}  // namespace

class SetupEditorsGuiTest : public QObject {
    Q_OBJECT

  private:
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

    void coeffEditor_typedValueAndMouseSaveWritesIt() {
        session().dataSetName = "ABC";
        CoefficientEditor editor(*view_);
        showActive(editor);
        QCOMPARE(grid(editor)->rowCount(), 16);
        QCOMPARE(grid(editor)->currentRow(), 2);
        QCOMPARE(grid(editor)->currentColumn(), 1);
        QTest::keyClicks(child<QLineEdit>(editor, "txtEdit"), "1.5");
        mouseSave(editor);

        const QString path = dataFile("ABC_COEFFIC.csv");
        QCOMPARE(readAll(path), "1.5,0,0,0\r\n" + QByteArray("0,0,0,0\r\n").repeated(9));
        QCOMPARE(messages_->texts(), QStringList{"Co-efficient file " + path + " Created"});
        QCOMPARE(messages_->messages[0].icon, QMessageBox::Information);
        QCOMPARE(qpath(session().coefficientFile), path);
        QCOMPARE(view_->labels.value("LblCoeffFile"), QString("File - ABC_COEFFIC.csv"));
        QCOMPARE(view_->log, QStringList{"Regression Coefficient File Created, FileName: " + path});
        QCOMPARE(editor.result(), int(QDialog::Accepted));
    }

    void coeffEditor_keyboardFillsEveryBlockAndEndsOnSave() {
        session().dataSetName = "K";
        session().params.MaxSpec = 1;
        CoefficientEditor editor(*view_);
        showActive(editor);
        auto* box = child<QLineEdit>(editor, "txtEdit");
        QCOMPARE(grid(editor)->rowCount(), 11);
        QCOMPARE(grid(editor)->item(1, 0)->text(), QString("From Phase 2 DBH = b0 + b1(lnH)^ b2"));
        QCOMPARE(grid(editor)->columnSpan(1, 0), 5);
        for (const char* v : {"1", "2", "3"}) typeIn(editor, v, Qt::Key_Return);
        QCOMPARE(box->text(), QString("-"));  // b3 of the DBH equation
        typeIn(editor, "", Qt::Key_Return);
        QCOMPARE(grid(editor)->currentRow(), 4);  // the caption row 3 is stepped over
        QCOMPARE(grid(editor)->currentColumn(), 1);
        typeIn(editor, "0.123456789", Qt::Key_Return);
        typeIn(editor, "99", Qt::Key_Escape);  // dropped; the window stays
        QVERIFY(!box->isVisible());
        QVERIFY(editor.isVisible());
        QCOMPARE(grid(editor)->item(4, 2)->text(), QString(""));
        QTest::keyClick(grid(editor), Qt::Key_Return);  // Enter in the grid opens the box again
        typeIn(editor, "5", Qt::Key_Up);                // the first species: up two rows
        QCOMPARE(grid(editor)->currentRow(), 2);
        QCOMPARE(grid(editor)->item(4, 2)->text(), QString("5"));
        QCOMPARE(box->text(), QString("2"));
        typeIn(editor, "", Qt::Key_Up);  // the first data row: no move
        QCOMPARE(grid(editor)->currentRow(), 2);
        typeIn(editor, "", Qt::Key_Down);
        typeIn(editor, "", Qt::Key_Right);
        for (const char* v : {"6", "7"}) typeIn(editor, v, Qt::Key_Right);
        QCOMPARE(grid(editor)->currentRow(), 6);
        for (int i = 0; i < 8; ++i) typeIn(editor, "", Qt::Key_Return);  // equations 3 and 4
        QCOMPARE(grid(editor)->currentRow(), 10);
        for (const char* v : {"8", "", "", "9"}) typeIn(editor, v, Qt::Key_Return);
        QVERIFY(!box->isVisible());  // the last cell: the focus goes to Save
        auto* save = child<QPushButton>(editor, "cmdSave");
        QVERIFY(save->hasFocus());
        QTest::keyClick(save, Qt::Key_Return);
        QCOMPARE(readAll(dataFile("K_COEFFIC.csv")),
                 QByteArray("1,2,3,0\r\n0.1234568,5,6,7\r\n0,0,0,0\r\n0,0,0,0\r\n8,0,0,9\r\n"));
    }

    void strataEditor_rowsGrowAndSaveWritesEveryRow() {
        session().dataSetName = "ST";
        StrataEditor editor(*view_);
        showActive(editor);
        QCOMPARE(grid(editor)->rowCount(), 2);
        QCOMPARE(grid(editor)->item(0, 1)->text(), QString("Begin Plot"));
        for (const char* v : {"1", "1", "100", "30"}) typeIn(editor, v, Qt::Key_Return);
        QCOMPARE(grid(editor)->rowCount(), 3);
        QCOMPARE(grid(editor)->currentRow(), 2);
        QCOMPARE(grid(editor)->currentColumn(), 0);
        for (const char* v : {"2.5", "101", "250.5"}) typeIn(editor, v, Qt::Key_Return);
        QCOMPARE(grid(editor)->item(2, 0)->text(), QString("2"));
        typeIn(editor, "", Qt::Key_Down);  // the last row: one more row
        QCOMPARE(grid(editor)->rowCount(), 4);
        typeIn(editor, "3.5", Qt::Key_Left);
        QCOMPARE(grid(editor)->item(3, 3)->text(), QString("4"));
        mouseSave(editor);

        const QString path = dataFile("ST_STRATA.csv");
        QCOMPARE(readAll(path), QByteArray("1,1,100,30\r\n2,101,250,30\r\n2,101,250,4\r\n"));
        QCOMPARE(messages_->texts(), QStringList{"Strata file " + path + " Created"});
        QCOMPARE(qpath(session().strataFile), path);
        QCOMPARE(view_->log, QStringList{"Strata File Created"});
    }

    void dbhEditor_saveWritesEveryClass() {
        session().dataSetName = "D";
        DbhEditor editor(*view_);
        showActive(editor);
        QCOMPARE(grid(editor)->rowCount(), 7);
        QCOMPARE(grid(editor)->item(6, 0)->text(), QString("Species 2"));
        QCOMPARE(grid(editor)->item(6, 1)->text(), QString("Product 3"));
        typeIn(editor, "5", Qt::Key_Left);  // column 2: the same cell opens again, emptied
        QCOMPARE(grid(editor)->currentColumn(), 2);
        QCOMPARE(child<QLineEdit>(editor, "txtEdit")->text(), QString(""));
        for (const char* v : {"4.5", "9"}) typeIn(editor, v, Qt::Key_Return);
        QCOMPARE(grid(editor)->currentRow(), 2);
        QCOMPARE(grid(editor)->currentColumn(), 2);
        for (int i = 0; i < 4; ++i) typeIn(editor, "", Qt::Key_Down);
        typeIn(editor, "", Qt::Key_Right);
        typeIn(editor, "30", Qt::Key_Return);
        QVERIFY(child<QPushButton>(editor, "cmdSave")->hasFocus());
        mouseSave(editor);

        const QString path = dataFile("D_DBH.csv");
        QCOMPARE(readAll(path), QByteArray("1,1,\"4.5\",\"9\"\r\n1,2,0,0\r\n1,3,0,0\r\n"
                                           "2,1,0,0\r\n2,2,0,0\r\n2,3,0,\"30\"\r\n"));
        QCOMPARE(messages_->texts(), QStringList{"DBH file " + path + " Created"});
        QCOMPARE(qpath(session().dbhFile), path);
        QCOMPARE(view_->log, QStringList{"DBH File Created"});
    }

    void editors_aCellThatCannotBeSavedIsRefusedAndTheFileUntouched() {
        session().dataSetName = "E";
        struct Row {
            std::function<std::unique_ptr<QDialog>()> make;
            QString file;
            QStringList typed;  // each followed by Enter, but the last
            QString message;
            int column;
        };
        const std::vector<Row> rows = {
            {[&] { return std::make_unique<CoefficientEditor>(*view_); },
             "E_COEFFIC.csv",
             {"1", "1.2.3", "4", ""},
             "Species 1, b1 (equation 1): \"1.2.3\" is not a number",
             2},
            {[&] { return std::make_unique<StrataEditor>(*view_); },
             "E_STRATA.csv",
             {"1", "40000", ""},
             "Row 1, Begin Plot: \"40000\" is outside -32768..32767",
             1},
            {[&] { return std::make_unique<DbhEditor>(*view_); },
             "E_DBH.csv",
             {"4", "big"},
             "Species 1, Product 1, Max DBH: \"big\" is not a number",
             3},
        };
        for (const Row& row : rows) {
            messages_->messages.clear();
            writeAll(dataFile(row.file), "earlier file\r\n");
            const auto editor = row.make();
            showActive(*editor);
            for (int i = 0; i + 1 < row.typed.size(); ++i)
                typeIn(*editor, row.typed[i], Qt::Key_Return);
            QTest::keyClicks(child<QLineEdit>(*editor, "txtEdit"), row.typed.last());
            mouseSave(*editor);
            QCOMPARE(readAll(dataFile(row.file)), QByteArray("earlier file\r\n"));
            QCOMPARE(messages_->texts(), QStringList{row.message});
            QCOMPARE(messages_->messages[0].icon, QMessageBox::Critical);
            QVERIFY(editor->isVisible());
            QCOMPARE(grid(*editor)->currentColumn(), row.column);
            QVERIFY(child<QLineEdit>(*editor, "txtEdit")->isVisible());
        }
        QVERIFY(session().coefficientFile.empty() && session().strataFile.empty() &&
                session().dbhFile.empty());
        QVERIFY(view_->log.isEmpty());
    }

    void editors_fitTheirColumnsToHeadingsLabelsAndWholeNumbers() {
        session().dataSetName = "W";
        session().params.MaxSpec = 12;
        const std::vector<std::function<std::unique_ptr<QDialog>()>> editors = {
            [&] { return std::make_unique<CoefficientEditor>(*view_); },
            [&] { return std::make_unique<StrataEditor>(*view_); },
            [&] { return std::make_unique<DbhEditor>(*view_); },
        };
        for (const auto& make : editors) {
            const auto editor = make();
            showActive(*editor);
            auto* g = grid(*editor);
            QVERIFY(!g->wordWrap());
            QFont bold = g->font();
            bold.setBold(true);
            const int number = g->fontMetrics().horizontalAdvance("-0.1234568");
            for (int r = 0; r < g->rowCount(); ++r)
                for (int c = 0; c < g->columnCount(); ++c) {
                    if (g->columnSpan(r, c) > 1 || !g->item(r, c)) continue;
                    const QFontMetrics metrics(g->item(r, c)->font());
                    QVERIFY2(metrics.horizontalAdvance(g->item(r, c)->text()) < g->columnWidth(c),
                             qPrintable(g->item(r, c)->text()));
                }
            for (int c = 1; c < g->columnCount(); ++c) QVERIFY(number < g->columnWidth(c));
            // The whole grid is in view across, and the window fits the screen.
            QVERIFY(!g->horizontalScrollBar()->isVisible());
            QVERIFY(editor->screen()->availableGeometry().contains(editor->geometry()));
        }
    }

    void editors_theBoxFollowsTheCellAndScrollingOrClickingAwayEndsTheEntry() {
        session().dataSetName = "ST";
        {
            StrataEditor editor(*view_);
            showActive(editor);
            for (int i = 0; i < 40; ++i) typeIn(editor, QString::number(i + 1), Qt::Key_Down);
            QCOMPARE(grid(editor)->rowCount(), 42);
            QCOMPARE(grid(editor)->currentRow(), 41);
            // The box stands over the current cell, inside the visible part of the grid.
            auto* g = grid(editor);
            const QRect cell = g->visualItemRect(g->item(41, 0));
            QCOMPARE(child<QLineEdit>(editor, "txtEdit")->geometry().topLeft(),
                     g->viewport()->mapTo(&editor, cell.topLeft()));
            QVERIFY(g->viewport()->rect().contains(cell));
            QCOMPARE(g->item(40, 0)->text(), QString("40"));
        }
        session().params.MaxSpec = 10;
        CoefficientEditor editor(*view_);
        showActive(editor);
        auto* g = grid(editor);
        auto* box = child<QLineEdit>(editor, "txtEdit");
        QTest::keyClicks(box, "7");
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                          g->visualItemRect(g->item(3, 3)).center());
        QCOMPARE(g->item(2, 1)->text(), QString("7"));  // leaving the cell committed it
        QCOMPARE(g->currentRow(), 3);
        QCOMPARE(g->currentColumn(), 3);
        QTest::keyClicks(box, "8");
        g->verticalScrollBar()->setValue(g->verticalScrollBar()->value() + 5);
        QVERIFY(!box->isVisible());
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                          g->visualItemRect(g->item(12, 0)).center());
        QCOMPARE(g->item(3, 3)->text(), QString(""));  // the scroll dropped the 8
        QVERIFY(!box->isVisible());                    // column 0 holds no coefficient
    }

    // --- the coefficient file dialog and the strata and DBH file dialog ------------------------

    void countWarningsOpenTheParametersAndStillSelectTheFile() {
        const QString coeff = dataFile("X_COEFFIC.csv"), strata = dataFile("S_STRATA.csv"),
                      dbh = dataFile("S_DBH.csv");
        writeAll(coeff, QByteArray("1,2,3,4\r\n").repeated(15));
        writeAll(strata, "1,1,100,30\r\n");
        writeAll(dbh, dbhRecords(3));
        session().params.MaxProd = 2;
        files_->files = {coeff, strata, dbh};
        CoefficientFileDialog regCoeff(*view_);
        showActive(regCoeff);
        mouse(regCoeff, "cmdBrowse");
        QCOMPARE(child<QLineEdit>(regCoeff, "txtCoeffFileName")->text(), coeff);
        mouse(regCoeff, "cmdOK");
        StrataDbhFilesDialog assign(*view_);
        showActive(assign);
        mouse(assign, "cmdBrowseStrata");
        mouse(assign, "cmdBrowseDBH");
        mouse(assign, "cmdBrowseStrata");  // cancelled: the file chosen before stays
        QCOMPARE(child<QLineEdit>(assign, "txtStrataFileName")->text(), strata);
        mouse(assign, "cmdOK");

        QCOMPARE(messages_->texts(), (QStringList{"Number of species entries in coefficient File= "
                                                  "3\nMax species in parameter setting= 2",
                                                  "Number of product entries in DBH File= 3\n"
                                                  "Max products in parameter setting= 2"}));
        QCOMPARE(messages_->messages[0].icon, QMessageBox::Critical);
        QCOMPARE(dialogs_->shown, (QStringList{"frmUserParameters", "frmUserParameters"}));
        QCOMPARE(regCoeff.result(), int(QDialog::Accepted));
        QCOMPARE(assign.result(), int(QDialog::Accepted));
        QCOMPARE(qpath(session().coefficientFile), coeff);
        QCOMPARE(qpath(session().strataFile), strata);
        QCOMPARE(qpath(session().dbhFile), dbh);
        QCOMPARE(view_->labels.value("LblCoeffFile"), QString("File - X_COEFFIC.csv"));
        QCOMPARE(view_->labels.value("LblStratDBHfilename"),
                 QString("Strata File - S_STRATA.csv  DBH File - S_DBH.csv"));
        QCOMPARE(view_->log,
                 (QStringList{"Regression Coefficient File chosen:" + coeff,
                              "Chosen Strata FileName:" + strata, "Chosen DBH FileName:" + dbh}));
    }

    void matchingCountsSelectWithoutWarning() {
        const QString coeff = dataFile("Y_COEFFIC.csv"), dbh = dataFile("S_DBH.csv");
        writeAll(coeff, QByteArray("1,2,3,4\r\n").repeated(11));  // 11 / 5 rounds to 2
        writeAll(dbh, dbhRecords(3));
        session().strataFile = "/elsewhere/S_STRATA.csv";  // chosen earlier
        files_->files = {coeff, dbh};
        CoefficientFileDialog regCoeff(*view_);
        showActive(regCoeff);
        mouse(regCoeff, "cmdBrowse");
        mouse(regCoeff, "cmdOK");
        StrataDbhFilesDialog assign(*view_);
        showActive(assign);
        mouse(assign, "cmdBrowseDBH");
        mouse(assign, "cmdOK");
        QVERIFY(messages_->messages.empty());
        QVERIFY(dialogs_->shown.isEmpty());
        QCOMPARE(regCoeff.result(), int(QDialog::Accepted));
        QCOMPARE(assign.result(), int(QDialog::Accepted));
    }

    void missingNamesAreAskedForAndEditOpensTheChosenFile() {
        session().coefficientFile = "/somewhere/A_COEFFIC.csv";
        CoefficientFileDialog regCoeff(*view_);
        showActive(regCoeff);
        QCOMPARE(child<QLineEdit>(regCoeff, "txtCoeffFileName")->text(),
                 QString("/somewhere/A_COEFFIC.csv"));
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
        QVERIFY(view_->labels.isEmpty());
        QVERIFY(view_->log.isEmpty());
    }

    void createWithoutANameAsksForItFirstAndCancellingLeavesTheEditorUnopened() {
        CoefficientFileDialog regCoeff(*view_);
        showActive(regCoeff);
        mouse(regCoeff, "cmdCreateFile");  // the name dialog finds no script: cancelled
        StrataDbhFilesDialog dialog(*view_);
        showActive(dialog);
        mouse(dialog, "cmdCreateDBHFile");
        QCOMPARE(messages_->texts(), QStringList(2, "Please Enter the DataSet Name"));
        QCOMPARE(dialogs_->shown, QStringList(2, "frmEnterDataSetName"));
        QVERIFY(session().coefficientFile.empty() && session().dbhFile.empty());
        QVERIFY(regCoeff.isVisible() && dialog.isVisible());

        dialogs_->scripts = {[](QDialog& d) {
                                 QTest::keyClicks(child<QLineEdit>(d, "txtDataSetName"), "NEW");
                                 mouseSave(d);
                                 return d.result();
                             },
                             [](QDialog& editor) {
                                 mouseSave(editor);
                                 return editor.result();
                             }};
        mouse(dialog, "cmdCreateDBHFile");
        QCOMPARE(dialogs_->shown, (QStringList{"frmEnterDataSetName", "frmEnterDataSetName",
                                               "frmEnterDataSetName", "frmCreateDBHFile"}));
        const QString path = dataFile("NEW_DBH.csv");
        QCOMPARE(readAll(path), dbhRecords(3));
        QCOMPARE(child<QLineEdit>(dialog, "txtDBHFileName")->text(), path);
        QVERIFY(dialog.isVisible());
    }

    void createOpensTheEditorAndShowsTheNewFile() {
        session().dataSetName = "SS";
        dialogs_->scripts = {[](QDialog& editor) {
                                 QTest::keyClicks(child<QLineEdit>(editor, "txtEdit"), "2");
                                 mouseSave(editor);
                                 return editor.result();
                             },
                             [](QDialog& editor) {
                                 for (const char* v : {"1", "1", "50", "20"})
                                     typeIn(editor, v, Qt::Key_Return);
                                 mouseSave(editor);
                                 return editor.result();
                             }};
        CoefficientFileDialog regCoeff(*view_);
        showActive(regCoeff);
        mouse(regCoeff, "cmdCreateFile");
        QVERIFY(!regCoeff.isVisible());  // the editor takes the dialog's place
        QVERIFY(readAll(dataFile("SS_COEFFIC.csv")).startsWith("2,0,0,0\r\n0,"));
        QCOMPARE(view_->labels.value("LblCoeffFile"), QString("File - SS_COEFFIC.csv"));
        StrataDbhFilesDialog assign(*view_);
        showActive(assign);
        mouse(assign, "cmdCreateStrataFile");
        QCOMPARE(dialogs_->shown, (QStringList{"frmCreateCoeffFile", "frmCreateStrataFile"}));
        const QString path = dataFile("SS_STRATA.csv");
        QCOMPARE(readAll(path), QByteArray("1,1,50,20\r\n1,1,50,20\r\n"));
        QCOMPARE(child<QLineEdit>(assign, "txtStrataFileName")->text(), path);
    }

    void editorsWithNothingToEnterAreNotOpened() {
        session().dataSetName = "Z";
        session().params.MaxSpec = 0;  // as after an empty parameter file
        CoefficientFileDialog coeff(*view_);
        showActive(coeff);
        mouse(coeff, "cmdCreateFile");
        session().params.MaxSpec = 2;
        session().params.MaxProd = 0;
        StrataDbhFilesDialog assign(*view_);
        showActive(assign);
        mouse(assign, "cmdCreateDBHFile");
        QVERIFY(dialogs_->shown.isEmpty());
        QCOMPARE(messages_->texts(),
                 (QStringList{"Max number of Species should be greater than 0",
                              "Max number of Products should be greater than 0"}));
        QVERIFY(QDir(qpath(session().dataFilesDir())).isEmpty());
    }
};

QTEST_MAIN(SetupEditorsGuiTest)
#include "SetupEditorsGuiTest.moc"
