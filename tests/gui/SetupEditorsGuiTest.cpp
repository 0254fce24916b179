// The coefficient, strata and DBH file dialogs and their grid editors, driven through their
// widgets on the offscreen platform. Message boxes, file dialogs and nested modal dialogs are
// answered through the dialog seams, so nothing waits on a window.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <functional>

#include "setup/gui/DialogRunner.h"
#include "setup/gui/DialogServices.h"
#include "setup/gui/GuiText.h"
#include "setup/gui/MainView.h"
#include "setup/gui/frmAssignPlotsDBH.h"
#include "setup/gui/frmCreateCoeffFile.h"
#include "setup/gui/frmCreateDBHFile.h"
#include "setup/gui/frmCreateStrataFile.h"
#include "setup/gui/frmEnterRegCoeff.h"

using namespace orr;
using namespace orr::gui;

namespace {

// The main window as the dialogs see it: the session, the log and the output labels.
class FakeMainView : public MainView {
  public:
    Session& session() override { return session_; }
    void appendLog(const QString& line) override { log << line; }
    void showOutputLabel(const QString& objectName, const QString& caption) override {
        labels[objectName] = caption;
    }
    Session session_;
    QStringList log;
    QMap<QString, QString> labels;
};

struct Message {
    QMessageBox::Icon icon;
    QString text;
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& content) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

template <typename T>
T* child(QWidget& parent, const char* name) {
    T* w = parent.findChild<T*>(QLatin1String(name));
    if (!w) qFatal("no child %s", name);
    return w;
}

}  // namespace

class SetupEditorsGuiTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir* tmp_ = nullptr;
    FakeMainView* view_ = nullptr;
    QList<Message> messages_;
    QStringList openFileAnswers_;  // answers of the file dialog, in turn ("" cancels)
    QStringList dialogsRun_;       // objectNames of the modal dialogs that were opened
    QMap<QString, std::function<void(QDialog&)>> scripts_;  // what to do in a modal dialog

    QString dataDir() const { return qpath(view_->session_.dataFilesDir()); }
    QString dataFile(const QString& name) const { return dataDir() + "/" + name; }

    // Shows a dialog as the program would, without a modal loop, and lets it settle.
    static void open(QDialog& dialog) {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCoreApplication::processEvents();
    }

    static void typeIn(QDialog& editor, const QString& text, Qt::Key key) {
        QLineEdit* box = child<QLineEdit>(editor, "txtEdit");
        QVERIFY(box->isVisible());
        if (!text.isEmpty()) QTest::keyClicks(box, text);
        QTest::keyClick(box, key);
    }

  private slots:
    void init() {
        tmp_ = new QTemporaryDir;
        QVERIFY(tmp_->isValid());
        view_ = new FakeMainView;
        view_->session_.appDir = fspath(tmp_->path());
        view_->session_.params = ParamRecord::defaults();  // MaxSpec 2, MaxProd 3
        QVERIFY(QDir().mkpath(dataDir()));
        messages_.clear();
        openFileAnswers_.clear();
        dialogsRun_.clear();
        scripts_.clear();
        setMessageHandler([this](const MessageRequest& r) {
            messages_.append({r.icon, r.text});
            return QMessageBox::Ok;
        });
        setOpenFileHandler([this](QWidget*, const QString&, const QString& dir) {
            if (dir != dataDir()) qWarning("file dialog not opened in the data directory");
            return openFileAnswers_.isEmpty() ? QString() : openFileAnswers_.takeFirst();
        });
        setDialogRunner([this](QDialog& d) {
            dialogsRun_ << d.objectName();
            open(d);
            if (scripts_.contains(d.objectName())) scripts_[d.objectName()](d);
            if (d.isVisible()) d.reject();
            return d.result();
        });
    }

    void cleanup() {
        setMessageHandler({});
        setOpenFileHandler({});
        setDialogRunner({});
        delete view_;
        delete tmp_;
    }

    // --- the coefficient editor ---------------------------------------------------------------

    void coeffEditor_typedValueAndMouseSaveWritesIt() {
        view_->session_.DataSetName = "ABC";
        frmCreateCoeffFile editor(*view_);
        open(editor);
        auto* grid = child<QTableWidget>(editor, "MSHFlexGrid1");
        QCOMPARE(grid->rowCount(), 16);
        QCOMPARE(grid->currentRow(), 2);
        QCOMPARE(grid->currentColumn(), 1);
        QTest::keyClicks(child<QLineEdit>(editor, "txtEdit"), "1.5");
        QTest::mouseClick(child<QPushButton>(editor, "cmdSave"), Qt::LeftButton);

        const QString path = dataFile("ABC_COEFFIC.csv");
        QCOMPARE(readAll(path), QByteArray("1.5,0,0,0\r\n0,0,0,0\r\n0,0,0,0\r\n0,0,0,0\r\n"
                                           "0,0,0,0\r\n0,0,0,0\r\n0,0,0,0\r\n0,0,0,0\r\n"
                                           "0,0,0,0\r\n0,0,0,0\r\n"));
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].icon, QMessageBox::Information);
        QCOMPARE(messages_[0].text, "Co-efficient file " + path + " Created");
        QCOMPARE(qpath(view_->session_.CoeffFileName), path);
        QCOMPARE(view_->labels.value("LblCoeffFile"), QString("File - ABC_COEFFIC.csv"));
        QCOMPARE(view_->log, QStringList{"Regression Coefficient File Created, FileName: " + path});
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QVERIFY(!editor.isVisible());
    }

    void coeffEditor_keyboardFillsEveryBlockAndEndsOnSave() {
        view_->session_.DataSetName = "K";
        view_->session_.params.MaxSpec = 1;
        frmCreateCoeffFile editor(*view_);
        open(editor);
        auto* grid = child<QTableWidget>(editor, "MSHFlexGrid1");
        auto* box = child<QLineEdit>(editor, "txtEdit");
        QCOMPARE(grid->rowCount(), 11);
        QCOMPARE(grid->item(1, 0)->text(), QString("From Phase 2 DBH = b0 + b1(lnH)^ b2"));
        QCOMPARE(grid->columnSpan(1, 0), 5);

        typeIn(editor, "1", Qt::Key_Return);
        typeIn(editor, "2", Qt::Key_Return);
        typeIn(editor, "3", Qt::Key_Return);
        QCOMPARE(box->text(), QString("-"));  // b3 of the DBH equation
        typeIn(editor, "", Qt::Key_Return);
        QCOMPARE(grid->currentRow(), 4);  // the caption row 3 is stepped over
        QCOMPARE(grid->currentColumn(), 1);
        typeIn(editor, "0.123456789", Qt::Key_Return);
        typeIn(editor, "99", Qt::Key_Escape);  // dropped
        QVERIFY(!box->isVisible());
        QVERIFY(editor.isVisible());  // Esc in the box does not close the window
        QCOMPARE(grid->item(4, 2)->text(), QString(""));
        QTest::keyClick(grid, Qt::Key_Return);  // Enter in the grid opens the box again
        QVERIFY(box->isVisible());
        typeIn(editor, "5", Qt::Key_Up);  // row 4 is the first species: up two rows
        QCOMPARE(grid->currentRow(), 2);
        QCOMPARE(grid->item(4, 2)->text(), QString("5"));
        QCOMPARE(box->text(), QString("2"));
        typeIn(editor, "", Qt::Key_Up);  // row 2: no move
        QCOMPARE(grid->currentRow(), 2);
        typeIn(editor, "", Qt::Key_Down);
        typeIn(editor, "", Qt::Key_Right);
        typeIn(editor, "6", Qt::Key_Right);
        typeIn(editor, "7", Qt::Key_Right);
        QCOMPARE(grid->currentRow(), 6);
        for (int i = 0; i < 8; ++i) typeIn(editor, "", Qt::Key_Return);  // equations 3 and 4
        QCOMPARE(grid->currentRow(), 10);
        typeIn(editor, "8", Qt::Key_Return);
        typeIn(editor, "", Qt::Key_Return);
        typeIn(editor, "", Qt::Key_Return);
        typeIn(editor, "9", Qt::Key_Return);  // the last cell: the focus goes to Save
        QVERIFY(!box->isVisible());
        auto* save = child<QPushButton>(editor, "cmdSave");
        QVERIFY(save->hasFocus());
        QTest::keyClick(save, Qt::Key_Return);

        QCOMPARE(readAll(dataFile("K_COEFFIC.csv")),
                 QByteArray("1,2,3,0\r\n0.1234568,5,6,7\r\n0,0,0,0\r\n0,0,0,0\r\n8,0,0,9\r\n"));
        QCOMPARE(editor.result(), int(QDialog::Accepted));
    }

    void coeffEditor_nonNumericCellIsRefusedAndTheFileUntouched() {
        view_->session_.DataSetName = "ABC";
        const QString path = dataFile("ABC_COEFFIC.csv");
        writeAll(path, "earlier file\r\n");
        frmCreateCoeffFile editor(*view_);
        open(editor);
        typeIn(editor, "1", Qt::Key_Return);
        typeIn(editor, "1.2.3", Qt::Key_Return);
        typeIn(editor, "4", Qt::Key_Return);
        QTest::mouseClick(child<QPushButton>(editor, "cmdSave"), Qt::LeftButton);

        QCOMPARE(readAll(path), QByteArray("earlier file\r\n"));
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].icon, QMessageBox::Critical);
        QCOMPARE(messages_[0].text, QString("Row 2, column 2: \"1.2.3\" is not a number"));
        QVERIFY(editor.isVisible());
        auto* grid = child<QTableWidget>(editor, "MSHFlexGrid1");
        QCOMPARE(grid->currentRow(), 2);
        QCOMPARE(grid->currentColumn(), 2);
        auto* box = child<QLineEdit>(editor, "txtEdit");
        QVERIFY(box->isVisible());
        QCOMPARE(box->text(), QString("1.2.3"));
        QVERIFY(view_->session_.CoeffFileName.empty());
        QVERIFY(view_->log.isEmpty());
    }

    // --- the strata and DBH editors -----------------------------------------------------------

    void strataEditor_rowsGrowAndSaveWritesEveryRow() {
        view_->session_.DataSetName = "ST";
        frmCreateStrataFile editor(*view_);
        open(editor);
        auto* grid = child<QTableWidget>(editor, "MSHFlexGrid1");
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->item(0, 1)->text(), QString("Begin Plot"));
        for (const char* v : {"1", "1", "100", "30"}) typeIn(editor, v, Qt::Key_Return);
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->currentRow(), 2);
        QCOMPARE(grid->currentColumn(), 0);
        for (const char* v : {"2.5", "101", "250.5"}) typeIn(editor, v, Qt::Key_Return);
        QCOMPARE(grid->item(2, 0)->text(), QString("2"));
        QCOMPARE(grid->item(2, 2)->text(), QString("250"));
        typeIn(editor, "", Qt::Key_Down);  // the last row: one more row
        QCOMPARE(grid->rowCount(), 4);
        typeIn(editor, "3.5", Qt::Key_Left);
        QCOMPARE(grid->item(3, 3)->text(), QString("4"));
        QTest::mouseClick(child<QPushButton>(editor, "cmdSave"), Qt::LeftButton);

        const QString path = dataFile("ST_STRATA.csv");
        QCOMPARE(readAll(path), QByteArray("1,1,100,30\r\n2,101,250,30\r\n2,101,250,4\r\n"));
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].text, "Strata file " + path + " Created");
        QCOMPARE(qpath(view_->session_.StrataFileName), path);
        QCOMPARE(view_->log, QStringList{"Strata File Created"});
    }

    void strataEditor_boxFollowsTheCurrentCellDownAGrowingGrid() {
        view_->session_.DataSetName = "ST";
        frmCreateStrataFile editor(*view_);
        open(editor);
        auto* grid = child<QTableWidget>(editor, "MSHFlexGrid1");
        auto* box = child<QLineEdit>(editor, "txtEdit");
        for (int i = 0; i < 40; ++i) typeIn(editor, QString::number(i + 1), Qt::Key_Down);
        QCOMPARE(grid->rowCount(), 42);
        QCOMPARE(grid->currentRow(), 41);
        QVERIFY(box->isVisible());
        // The box stands over the current cell, inside the visible part of the grid.
        const QRect cell = grid->visualItemRect(grid->item(41, 0));
        QCOMPARE(box->geometry().topLeft(), grid->viewport()->mapTo(&editor, cell.topLeft()));
        QVERIFY(grid->viewport()->rect().contains(cell));
        QCOMPARE(grid->item(40, 0)->text(), QString("40"));
    }

    void coeffEditor_clickCommitsAndOpensScrollingDropsTheEntry() {
        view_->session_.DataSetName = "C";
        view_->session_.params.MaxSpec = 10;
        frmCreateCoeffFile editor(*view_);
        open(editor);
        auto* grid = child<QTableWidget>(editor, "MSHFlexGrid1");
        auto* box = child<QLineEdit>(editor, "txtEdit");
        QTest::keyClicks(box, "7");
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(3, 3)).center());
        QCOMPARE(grid->item(2, 1)->text(), QString("7"));  // leaving the cell committed it
        QCOMPARE(grid->currentRow(), 3);
        QCOMPARE(grid->currentColumn(), 3);
        QVERIFY(box->isVisible());
        QTest::keyClicks(box, "8");
        grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->value() + 5);
        QVERIFY(!box->isVisible());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(12, 0)).center());
        QCOMPARE(grid->item(3, 3)->text(), QString(""));  // the scroll dropped the 8
        QVERIFY(!box->isVisible());                       // column 0 holds no coefficient
    }

    void strataEditor_valueOutsideSixteenBitsIsRefused() {
        view_->session_.DataSetName = "ST";
        frmCreateStrataFile editor(*view_);
        open(editor);
        typeIn(editor, "1", Qt::Key_Return);
        typeIn(editor, "40000", Qt::Key_Return);
        QTest::mouseClick(child<QPushButton>(editor, "cmdSave"), Qt::LeftButton);
        QCOMPARE(readAll(dataFile("ST_STRATA.csv")), QByteArray("<missing>"));
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].text, QString("Row 1, column 1: \"40000\" is outside -32768..32767"));
        QCOMPARE(child<QTableWidget>(editor, "MSHFlexGrid1")->currentColumn(), 1);
        QVERIFY(view_->session_.StrataFileName.empty());
    }

    void dbhEditor_saveWritesEveryClass() {
        view_->session_.DataSetName = "D";
        frmCreateDBHFile editor(*view_);
        open(editor);
        auto* grid = child<QTableWidget>(editor, "MSHFlexGrid1");
        QCOMPARE(grid->rowCount(), 7);
        QCOMPARE(grid->item(6, 0)->text(), QString("Species 2"));
        QCOMPARE(grid->item(6, 1)->text(), QString("Product 3"));
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(grid->currentColumn(), 2);
        typeIn(editor, "5", Qt::Key_Left);  // column 2: the same cell opens again
        QCOMPARE(grid->currentColumn(), 2);
        QCOMPARE(child<QLineEdit>(editor, "txtEdit")->text(), QString(""));
        typeIn(editor, "4.5", Qt::Key_Return);
        typeIn(editor, "9", Qt::Key_Return);
        QCOMPARE(grid->currentRow(), 2);
        QCOMPARE(grid->currentColumn(), 2);
        typeIn(editor, "", Qt::Key_Down);
        typeIn(editor, "", Qt::Key_Down);
        typeIn(editor, "", Qt::Key_Down);
        typeIn(editor, "", Qt::Key_Down);
        typeIn(editor, "", Qt::Key_Right);
        QCOMPARE(grid->currentRow(), 6);
        typeIn(editor, "30", Qt::Key_Return);
        QVERIFY(child<QPushButton>(editor, "cmdSave")->hasFocus());
        QTest::mouseClick(child<QPushButton>(editor, "cmdSave"), Qt::LeftButton);

        const QString path = dataFile("D_DBH.csv");
        QCOMPARE(readAll(path), QByteArray("1,1,\"4.5\",\"9\"\r\n1,2,0,0\r\n1,3,0,0\r\n"
                                           "2,1,0,0\r\n2,2,0,0\r\n2,3,0,\"30\"\r\n"));
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].text, "DBH file " + path + " Created");
        QCOMPARE(qpath(view_->session_.DBHFileName), path);
        QCOMPARE(view_->log, QStringList{"DBH File Created"});
    }

    void dbhEditor_nonNumericCellIsRefusedAndTheFileUntouched() {
        view_->session_.DataSetName = "D";
        const QString path = dataFile("D_DBH.csv");
        writeAll(path, "kept\r\n");
        frmCreateDBHFile editor(*view_);
        open(editor);
        typeIn(editor, "4", Qt::Key_Return);
        QTest::keyClicks(child<QLineEdit>(editor, "txtEdit"), "big");
        QTest::mouseClick(child<QPushButton>(editor, "cmdSave"), Qt::LeftButton);
        QCOMPARE(readAll(path), QByteArray("kept\r\n"));
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].text, QString("Row 1, column 3: \"big\" is not a number"));
        QVERIFY(editor.isVisible());
    }

    // --- frmEnterRegCoeff ---------------------------------------------------------------------

    void regCoeff_countWarningOpensParametersAndStillSelectsTheFile() {
        const QString path = dataFile("X_COEFFIC.csv");
        QByteArray fifteen;
        for (int i = 0; i < 15; ++i) fifteen += "1,2,3,4\r\n";
        writeAll(path, fifteen);
        openFileAnswers_ << path;
        frmEnterRegCoeff dialog(*view_);
        open(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdBrowse"), Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(dialog, "txtCoeffFileName")->text(), path);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);

        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].icon, QMessageBox::Critical);
        QCOMPARE(messages_[0].text, QString("Number of species entries in coefficient File= 3\n"
                                            "Max species in parameter setting= 2"));
        QCOMPARE(dialogsRun_, QStringList{"frmUserParameters"});
        QCOMPARE(qpath(view_->session_.CoeffFileName), path);
        QCOMPARE(view_->labels.value("LblCoeffFile"), QString("File - X_COEFFIC.csv"));
        QCOMPARE(view_->log, QStringList{"Regression Coefficient File chosen:" + path});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void regCoeff_matchingCountSelectsWithoutWarning() {
        const QString path = dataFile("Y_COEFFIC.csv");
        QByteArray eleven;
        for (int i = 0; i < 11; ++i) eleven += "1,2,3,4\r\n";  // 11 / 5 rounds to 2
        writeAll(path, eleven);
        openFileAnswers_ << path;
        frmEnterRegCoeff dialog(*view_);
        open(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdBrowse"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
        QVERIFY(messages_.isEmpty());
        QVERIFY(dialogsRun_.isEmpty());
        QCOMPARE(qpath(view_->session_.CoeffFileName), path);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void regCoeff_okWithoutBrowseAsksForTheFileAndCancelledBrowseKeepsIt() {
        view_->session_.CoeffFileName = "/somewhere/A_COEFFIC.csv";
        frmEnterRegCoeff dialog(*view_);
        open(dialog);
        QCOMPARE(child<QLineEdit>(dialog, "txtCoeffFileName")->text(),
                 QString("/somewhere/A_COEFFIC.csv"));
        QTest::mouseClick(child<QPushButton>(dialog, "cmdBrowse"), Qt::LeftButton);  // cancelled
        QCOMPARE(qpath(view_->session_.CoeffFileName), QString("/somewhere/A_COEFFIC.csv"));
        QTest::mouseClick(child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].text, QString("Please Enter Co-eff File"));
        QVERIFY(dialog.isVisible());
        QVERIFY(view_->labels.isEmpty());
    }

    void regCoeff_createWithoutNameAsksForItAndCancelLeavesTheEditorUnopened() {
        frmEnterRegCoeff dialog(*view_);
        open(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdCreateFile"), Qt::LeftButton);
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].text, QString("Please Enter the DataSet Name"));
        QCOMPARE(dialogsRun_, QStringList{"frmEnterDataSetName"});
        QVERIFY(dialog.isVisible());
    }

    void regCoeff_createWithNameOpensTheEditorInPlaceOfTheDialog() {
        view_->session_.DataSetName = "ABC";
        scripts_["frmCreateCoeffFile"] = [](QDialog& editor) {
            QTest::keyClicks(child<QLineEdit>(editor, "txtEdit"), "2");
            QTest::mouseClick(child<QPushButton>(editor, "cmdSave"), Qt::LeftButton);
        };
        frmEnterRegCoeff dialog(*view_);
        open(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdCreateFile"), Qt::LeftButton);
        QCOMPARE(dialogsRun_, QStringList{"frmCreateCoeffFile"});
        QVERIFY(!dialog.isVisible());
        QCOMPARE(readAll(dataFile("ABC_COEFFIC.csv")).left(11), QByteArray("2,0,0,0\r\n0,"));
        QCOMPARE(view_->labels.value("LblCoeffFile"), QString("File - ABC_COEFFIC.csv"));
    }

    void editorsWithNothingToEnterAreNotOpened() {
        view_->session_.DataSetName = "Z";
        view_->session_.params.MaxSpec = 0;  // as after an empty parameter file
        frmEnterRegCoeff coeff(*view_);
        open(coeff);
        QTest::mouseClick(child<QPushButton>(coeff, "cmdCreateFile"), Qt::LeftButton);
        view_->session_.params.MaxSpec = 2;
        view_->session_.params.MaxProd = 0;
        frmAssignPlotsDBH assign(*view_);
        open(assign);
        QTest::mouseClick(child<QPushButton>(assign, "cmdCreateDBHFile"), Qt::LeftButton);
        QVERIFY(dialogsRun_.isEmpty());
        QCOMPARE(messages_.size(), 2);
        QCOMPARE(messages_[0].text, QString("Max number of Species should be greater than 0"));
        QCOMPARE(messages_[1].text, QString("Max number of Products should be greater than 0"));
        QVERIFY(QDir(dataDir()).isEmpty());
    }

    void regCoeff_editOpensTheFileOrAsksForIt() {
        QStringList opened;
        setOpenUrlHandler([&opened](const QString& p) {
            opened << p;
            return true;
        });
        frmEnterRegCoeff dialog(*view_);
        open(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdEdit"), Qt::LeftButton);
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].text, QString("Please enter Co-eff File"));
        view_->session_.CoeffFileName = "/data/A_COEFFIC.csv";
        QTest::mouseClick(child<QPushButton>(dialog, "cmdEdit"), Qt::LeftButton);
        QCOMPARE(opened, QStringList{"/data/A_COEFFIC.csv"});
        QVERIFY(dialog.isVisible());
        setOpenUrlHandler({});
    }

    // --- frmAssignPlotsDBH --------------------------------------------------------------------

    void assign_productCountWarningOpensParametersAndStillSelects() {
        const QString strata = dataFile("S_STRATA.csv");
        const QString dbh = dataFile("S_DBH.csv");
        writeAll(strata, "1,1,100,30\r\n");
        writeAll(dbh, "1,1,0,0\r\n1,2,0,0\r\n1,3,0,0\r\n2,1,0,0\r\n2,2,0,0\r\n2,3,0,0\r\n");
        view_->session_.params.MaxProd = 2;
        openFileAnswers_ << strata << dbh;
        frmAssignPlotsDBH dialog(*view_);
        open(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdBrowseStrata"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdBrowseDBH"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdBrowseStrata"), Qt::LeftButton);  // cancel
        QCOMPARE(child<QLineEdit>(dialog, "txtStrataFileName")->text(), strata);
        QCOMPARE(child<QLineEdit>(dialog, "txtDBHFileName")->text(), dbh);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);

        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].icon, QMessageBox::Critical);
        QCOMPARE(messages_[0].text, QString("Number of product entries in DBH File= 3\n"
                                            "Max products in parameter setting= 2"));
        QCOMPARE(dialogsRun_, QStringList{"frmUserParameters"});
        QCOMPARE(qpath(view_->session_.StrataFileName), strata);
        QCOMPARE(qpath(view_->session_.DBHFileName), dbh);
        QCOMPARE(view_->labels.value("LblStratDBHfilename"),
                 QString("Strata File - S_STRATA.csv  DBH File - S_DBH.csv"));
        QCOMPARE(view_->log,
                 (QStringList{"Chosen Strata FileName:" + strata, "Chosen DBH FileName:" + dbh}));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void assign_matchingProductCountGivesNoWarning() {
        const QString dbh = dataFile("S_DBH.csv");
        writeAll(dbh, "1,1,0,0\r\n1,2,0,0\r\n1,3,0,0\r\n2,1,0,0\r\n2,2,0,0\r\n2,3,0,0\r\n");
        view_->session_.StrataFileName = "/elsewhere/S_STRATA.csv";  // chosen earlier
        openFileAnswers_ << dbh;
        frmAssignPlotsDBH dialog(*view_);
        open(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdBrowseDBH"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
        QVERIFY(messages_.isEmpty());
        QVERIFY(dialogsRun_.isEmpty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void assign_missingNamesAreAskedFor() {
        frmAssignPlotsDBH dialog(*view_);
        open(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
        view_->session_.StrataFileName = "/x/S.csv";
        QTest::mouseClick(child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
        QCOMPARE(messages_.size(), 2);
        QCOMPARE(messages_[0].text, QString("Please enter the Strata File"));
        QCOMPARE(messages_[1].text, QString("Please enter DBH File"));
        QVERIFY(dialog.isVisible());
        QVERIFY(view_->log.isEmpty());
    }

    void assign_createDbhWithoutNameAsksFirstAndCancelLeavesEditorUnopened() {
        frmAssignPlotsDBH dialog(*view_);
        open(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdCreateDBHFile"), Qt::LeftButton);
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].text, QString("Please Enter the DataSet Name"));
        QCOMPARE(dialogsRun_, QStringList{"frmEnterDataSetName"});
        QVERIFY(view_->session_.DBHFileName.empty());
        QVERIFY(dialog.isVisible());
    }

    void assign_createDbhAfterEnteringTheNameOpensTheEditor() {
        scripts_["frmEnterDataSetName"] = [](QDialog& d) {
            QTest::keyClicks(child<QLineEdit>(d, "txtDataSetName"), "NEW");
            QTest::mouseClick(child<QPushButton>(d, "cmdSave"), Qt::LeftButton);
        };
        scripts_["frmCreateDBHFile"] = [](QDialog& editor) {
            QTest::mouseClick(child<QPushButton>(editor, "cmdSave"), Qt::LeftButton);
        };
        frmAssignPlotsDBH dialog(*view_);
        open(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdCreateDBHFile"), Qt::LeftButton);
        QCOMPARE(dialogsRun_, (QStringList{"frmEnterDataSetName", "frmCreateDBHFile"}));
        const QString path = dataFile("NEW_DBH.csv");
        QCOMPARE(readAll(path),
                 QByteArray("1,1,0,0\r\n1,2,0,0\r\n1,3,0,0\r\n2,1,0,0\r\n2,2,0,0\r\n2,3,0,0\r\n"));
        QCOMPARE(child<QLineEdit>(dialog, "txtDBHFileName")->text(), path);
        QVERIFY(dialog.isVisible());
    }

    void assign_createStrataOpensTheEditorAndShowsTheNewFile() {
        view_->session_.DataSetName = "SS";
        scripts_["frmCreateStrataFile"] = [](QDialog& editor) {
            for (const char* v : {"1", "1", "50", "20"}) typeIn(editor, v, Qt::Key_Return);
            QTest::mouseClick(child<QPushButton>(editor, "cmdSave"), Qt::LeftButton);
        };
        frmAssignPlotsDBH dialog(*view_);
        open(dialog);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdCreateStrataFile"), Qt::LeftButton);
        const QString path = dataFile("SS_STRATA.csv");
        QCOMPARE(readAll(path), QByteArray("1,1,50,20\r\n1,1,50,20\r\n"));
        QCOMPARE(child<QLineEdit>(dialog, "txtStrataFileName")->text(), path);
    }
};

QTEST_MAIN(SetupEditorsGuiTest)
#include "SetupEditorsGuiTest.moc"
