// The tree and LiDAR file pickers, the product-code prompt, the output viewer, and Edit File and
// View with the program's own grid editor and report viewer.
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "files/DataSetFiles.h"
#include "gui/CoefficientFileDialog.h"
#include "gui/CommaTableModel.h"
#include "gui/GuiText.h"
#include "gui/InputFileEditor.h"
#include "gui/LidarFilePicker.h"
#include "gui/OutputViewerDialog.h"
#include "gui/ProductCodeDialog.h"
#include "gui/StrataDbhFilesDialog.h"
#include "gui/TreeFilePicker.h"
#include "tests/gui/GuiTestSupport.h"

using namespace orr;
using namespace orr::guitest;

class PickersTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<FakeView> view_;

    Session& session() { return view_->s; }
    void report(const char* suffix, const QByteArray& content) {
        writeAll(view_->dataFile(QString("ABC") + suffix), content);
    }
    static QRadioButton* option(QWidget& d, int i) {
        return d.findChild<QRadioButton*>(QString("Option%1").arg(i));
    }
    // A tree of species 2 at 13.07 inches, between product 2 (up to 11.9) and product 3 (from 14).
    static ProductCodeQuestion gapQuestion() {
        ProductCodeQuestion q;
        q.species = 2;
        q.dbh = 13.067273017858188;
        q.dbh1 = 13.1;
        q.startProduct = 3;
        q.maxProduct = 3;
        q.gapFrom = 11.9;
        q.gapTo = 14.0;
        return q;
    }

  private slots:
    void init() {
        view_ = std::make_unique<FakeView>();
        session().dataSetName = "ABC";
    }

    void treePickerLogsItsStartAndTheChosenFileAndWantsOneBeforeOkOrEdit() {
        FileDialogScript files;
        MessageRecorder messages;
        gui::TreeFilePicker picker(*view_);
        picker.show();
        QCOMPARE(picker.windowTitle(), QString("Assign Heights and Volume to Phase 2 trees"));
        QCOMPARE(view_->log, QStringList{"Selecting Tree Input File..."});
        click(&picker, "cmdOK");
        click(&picker, "cmdEditFile");
        QCOMPARE(messages.texts(),
                 QStringList({"Please Enter Input File", "Please enter the Input File"}));
        QVERIFY(picker.result() != QDialog::Accepted);
        files.files = {"/field/trees.csv", ""};
        click(&picker, "cmdBrowse");
        click(&picker, "cmdBrowse");  // cancelled: the file chosen before stays
        QCOMPARE(files.startFolders.first(), gui::qpath(session().dataFilesDir()));
        QCOMPARE(child<QLineEdit>(picker, "txtInputFileName")->text(), QString("/field/trees.csv"));
        click(&picker, "cmdEditFile");
        QCOMPARE(files.opened, QStringList{"/field/trees.csv"});
        click(&picker, "cmdOK");
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        QCOMPARE(view_->log.last(), QString("Tree Input FileName:/field/trees.csv"));
        QCOMPARE(session().treeFile.string(), std::string("/field/trees.csv"));
    }

    void lidarPickerNeedsTheDataSetOneFile() {
        FileDialogScript files;
        MessageRecorder messages;
        gui::LidarFilePicker picker(*view_);
        picker.show();
        files.files = {"/lidar/low.csv", "/lidar/high.csv"};
        click(&picker, "cmdBrowseLowFile");
        click(&picker, "cmdOK");
        QCOMPARE(messages.texts(), QStringList{"Please select Phase 1 Lidar Height"});
        QVERIFY(picker.isVisible());
        click(&picker, "cmdBrowseHighFile");
        click(&picker, "cmdOK");
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        QCOMPARE(session().lidarHighFile.string(), std::string("/lidar/high.csv"));
        QCOMPARE(session().lidarLowFile.string(), std::string("/lidar/low.csv"));
    }

    void lidarPickerCancelledEmptiesTheDataSetOneFileAndABrowseNeverTakesTheOther() {
        FileDialogScript files;
        files.files = {"/lidar/high.csv", ""};
        gui::LidarFilePicker picker(*view_);
        picker.show();
        click(&picker, "cmdBrowseHighFile");
        click(&picker, "cmdBrowseLowFile");  // cancelled
        QVERIFY(session().lidarLowFile.empty());
        QCOMPARE(child<QLineEdit>(picker, "txtLowLidarHeight")->text(), QString());
        files.files = {"/lidar/low.csv"};
        click(&picker, "cmdBrowseLowFile");
        click(&picker, "cmdCancel");
        QVERIFY(session().lidarHighFile.empty());
        QCOMPARE(session().lidarLowFile.string(), std::string("/lidar/low.csv"));
    }

    void productPromptShowsTheTreeAndItsGapAndRefusesACodeThatIsNoProduct() {
        MessageRecorder messages;
        gui::ProductCodeDialog prompt(gapQuestion(), true);
        prompt.show();
        QCOMPARE(prompt.windowTitle(), QString("Product Code Error..."));
        QCOMPARE(child<QLabel>(prompt, "Label1")->text(), QString(" SPECIES = 2"));
        QCOMPARE(child<QLabel>(prompt, "Label2")->text(), QString(" DBH = 13.1"));
        QCOMPARE(child<QLabel>(prompt, "lblDbhGap")->text(),
                 QString("No product class of species 2 takes this DBH: it lies in the gap "
                         "between 11.9 and 14.0 inches of the DBH file."));
        QCOMPARE(child<QLabel>(prompt, "Label3")->text(), QString(" ENTER PRODUCT CODE..."));
        QVERIFY(
            child<QLabel>(prompt, "lblCancelDrops")->text().startsWith("Cancel drops the tree"));
        QVERIFY(child<QCheckBox>(prompt, "chkWholeGap")->isChecked());
        click(&prompt, "cmdOK");  // an empty box: two messages
        QCOMPARE(messages.texts(),
                 QStringList({"Please enter a product code", "Please enter a valid product code"}));
        for (const char* text : {"two", "2x", "99999", "4", "0"}) {
            child<QLineEdit>(prompt, "txtProdCode")->setText(text);
            click(&prompt, "cmdOK");
        }
        QCOMPARE(messages.texts().mid(2), QStringList(5, "Please enter a valid product code"));
        for (const Message& m : messages.messages) QCOMPARE(m.icon, QMessageBox::Critical);
        QVERIFY(prompt.isVisible());
        QVERIFY(prompt.result() != QDialog::Accepted);
        QCOMPARE(prompt.productCode(), std::nullopt);
    }

    void productPromptAnswersForTheTreeOrItsWholeGap_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<int>("code");  // 0: the tree is dropped
        QTest::newRow("OK, whole gap") << "cmdOK" << true << 3;
        QTest::newRow("OK, this DBH") << "cmdOK" << false << 3;
        QTest::newRow("Cancel, whole gap") << "cmdCancel" << true << 0;
    }
    void productPromptAnswersForTheTreeOrItsWholeGap() {
        QFETCH(QString, button);
        QFETCH(bool, ticked);
        QFETCH(int, code);
        MessageRecorder messages;
        gui::ProductCodeDialog prompt(gapQuestion(), true);
        prompt.show();
        child<QLineEdit>(prompt, "txtProdCode")->setText(" 3 ");
        child<QCheckBox>(prompt, "chkWholeGap")->setChecked(ticked);
        click(&prompt, qPrintable(button));
        QVERIFY(messages.messages.empty());
        QCOMPARE(prompt.answer().code, code ? std::optional<int>(code) : std::nullopt);
        QCOMPARE(prompt.answer().wholeGap, ticked);
        QVERIFY(prompt.isHidden());
    }

    void viewerOffersOnlyTheReportsThatHoldSomething() {
        report("_Regress.txt", "St    Depend\r\n");
        {
            gui::OutputViewerDialog viewer(session());
            viewer.show();
            QCOMPARE(viewer.windowTitle(), QString("View Output Files...."));
            QVERIFY(option(viewer, 1)->isHidden());
            QVERIFY(!option(viewer, 2)->isHidden());
            QVERIFY(option(viewer, 3)->isHidden());
            QCOMPARE(option(viewer, 2)->text(), QString("ABC_Regress.txt"));
        }
        report("_VolSum.txt", "");
        report("_StratVol.txt", "s\r\n");
        gui::OutputViewerDialog viewer(session());
        viewer.show();
        QVERIFY(option(viewer, 1)->isHidden());
        QVERIFY(!option(viewer, 3)->isHidden());
        QCOMPARE(option(viewer, 3)->text(), QString("ABC_StratVol.txt"));
        FileDialogScript files;
        click(&viewer, "cmdView");  // nothing chosen: nothing opens
        QVERIFY(files.opened.isEmpty());
        option(viewer, 3)->setChecked(true);
        click(&viewer, "cmdView");
        QCOMPARE(files.opened,
                 QStringList{gui::qpath(files::path(session().dataFilesDir(), session().dataSetName,
                                                    files::DataSetFile::StratumVolume))});
        QVERIFY(viewer.isVisible());
    }

    void withoutAPlatformViewerTheReportShowsInAFixedPitchWindow() {
        report("_VolSum.txt", "Phase 2, Ground\r\n  1  2  3.00\r\n");
        FileDialogScript files;
        files.platformOpens = false;
        DialogScript dialogs;
        QString shownText;
        bool fixedPitch = false;
        dialogs.scripts.push_back([&](QDialog& d) {
            auto* text = child<QPlainTextEdit>(d, "txtReport");
            shownText = text->toPlainText();
            fixedPitch = QFontInfo(text->font()).fixedPitch();
            return int(QDialog::Rejected);
        });
        gui::OutputViewerDialog viewer(session());
        viewer.show();
        option(viewer, 1)->setChecked(true);
        click(&viewer, "cmdView");
        QCOMPARE(dialogs.shown, QStringList{"ReportViewer"});
        QCOMPARE(shownText, QString("Phase 2, Ground\n  1  2  3.00\n"));
        QVERIFY(fixedPitch);
    }

    void editAndViewFallBackToTheProgramsOwnWindowAndAlwaysOfferIt_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("platformOpens");
        QTest::addColumn<bool>("platformAsked");
        QTest::addColumn<QString>("ownWindow");  // empty: none shown
        const QString editor = "InputFileEditor", viewer = "ReportViewer";
        QTest::newRow("tree file, a program") << "tree"
                                              << "cmdEditFile" << true << true << "";
        QTest::newRow("tree file, none") << "tree"
                                         << "cmdEditFile" << false << true << editor;
        QTest::newRow("tree file, grid") << "tree"
                                         << "cmdEditFileHere" << true << false << editor;
        QTest::newRow("coefficients, none") << "coeff"
                                            << "cmdEdit" << false << true << editor;
        QTest::newRow("coefficients, grid") << "coeff"
                                            << "cmdEditHere" << true << false << editor;
        QTest::newRow("strata, none") << "strata"
                                      << "cmdEditStrataFile" << false << true << editor;
        QTest::newRow("DBH, grid") << "strata"
                                   << "cmdEditDBHFileHere" << true << false << editor;
        QTest::newRow("report, none") << "report"
                                      << "cmdView" << false << true << viewer;
        QTest::newRow("report, here") << "report"
                                      << "cmdViewHere" << true << false << viewer;
    }
    void editAndViewFallBackToTheProgramsOwnWindowAndAlwaysOfferIt() {
        QFETCH(QString, dialog);
        QFETCH(QString, button);
        QFETCH(bool, platformOpens);
        QFETCH(bool, platformAsked);
        QFETCH(QString, ownWindow);
        const QString file = view_->dataFile("ABC_FILE.csv");
        writeAll(file, "1,1,\"5\",\"8.9\"\r\n");
        report("_VolSum.txt", "Phase 2\r\n");
        session().treeFile = session().coefficientFile = session().strataFile = session().dbhFile =
            gui::fspath(file);
        FileDialogScript files;
        files.platformOpens = platformOpens;
        DialogScript dialogs;
        int rows = 0;
        dialogs.scripts.push_back([&](QDialog& d) {
            if (auto* grid = d.findChild<QTableView*>("grdInputFile"))
                rows = grid->model()->rowCount();
            return int(QDialog::Rejected);
        });
        std::unique_ptr<QDialog> shown;
        if (dialog == "tree") shown = std::make_unique<gui::TreeFilePicker>(*view_);
        if (dialog == "coeff") shown = std::make_unique<gui::CoefficientFileDialog>(*view_);
        if (dialog == "strata") shown = std::make_unique<gui::StrataDbhFilesDialog>(*view_);
        if (dialog == "report") shown = std::make_unique<gui::OutputViewerDialog>(session());
        shown->show();
        if (dialog == "report") option(*shown, 1)->setChecked(true);
        click(shown.get(), qPrintable(button));
        const QString opened = dialog == "report" ? view_->dataFile("ABC_VolSum.txt") : file;
        QCOMPARE(files.opened, platformAsked ? QStringList{opened} : QStringList{});
        QCOMPARE(dialogs.shown, ownWindow.isEmpty() ? QStringList{} : QStringList{ownWindow});
        if (ownWindow == "InputFileEditor") QCOMPARE(rows, 1);
    }

    void theGridEditorChangesOnlyTheLinesEditedAndSavesAllOrNothing() {
        const QString file = view_->dataFile("ABC_DBH.csv");
        const QByteArray before = "1,1,\"5\",\"8.9\"\r\n1,2,\"9\",\"11.9\"\r\n2,1,5,10.9\r\n";
        writeAll(file, before);
        MessageRecorder messages;
        gui::InputFileEditor editor(gui::fspath(file), gui::dbhFileHeadings());
        QVERIFY(editor.loaded());
        editor.show();
        auto* grid = child<QTableView>(editor, "grdInputFile");
        QVERIFY(!grid->wordWrap());
        QCOMPARE(grid->model()->headerData(3, Qt::Horizontal).toString(), QString("Max DBH"));
        QCOMPARE(grid->model()->index(1, 3).data().toString(), QString("11.9"));
        auto& table = editor.table();
        QVERIFY(table.setData(table.index(2, 2), " 5.5 ", Qt::EditRole));
        QVERIFY(table.setData(table.index(1, 3), "12,5", Qt::EditRole));
        click(&editor, "cmdSave");
        QCOMPARE(messages.texts(), QStringList{"Line 2, Max DBH: \"12,5\" cannot hold a comma or a "
                                               "double quote. Nothing was written to " +
                                               file + "."});
        QCOMPARE(readAll(file), before);
        QVERIFY(table.setData(table.index(1, 3), "12.5", Qt::EditRole));
        click(&editor, "cmdSave");
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QCOMPARE(readAll(file),
                 QByteArray("1,1,\"5\",\"8.9\"\r\n1,2,\"9\",\"12.5\"\r\n2,1,5.5,10.9\r\n"));
    }
};

QTEST_MAIN(PickersTest)
#include "PickersTest.moc"
