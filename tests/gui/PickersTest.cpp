// The tree and LiDAR file pickers, the product-code prompt and the output viewer.
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "setup/gui/GuiText.h"
#include "setup/gui/ReportViewer.h"
#include "setup/gui/frmAssignHgtVol.h"
#include "setup/gui/frmEnterPhase1Height.h"
#include "setup/gui/frmProductCodeError.h"
#include "setup/gui/frmViewOutput.h"
#include "tests/gui/GuiTestSupport.h"

using namespace orr;
using namespace orr::guitest;

class PickersTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    FakeView view_;

    void report(const char* name, const std::string& content) {
        std::ofstream(view_.s.dataFilesDir() / name, std::ios::binary) << content;
    }
    QRadioButton* option(QWidget* d, int i) {
        return d->findChild<QRadioButton*>(QString("Option%1").arg(i));
    }

  private slots:
    void init() {
        view_ = FakeView{};
        view_.s.appDir = gui::fspath(dir_.path());
        view_.s.DataSetName = "ABC";
        std::filesystem::remove_all(view_.s.dataFilesDir());
        std::filesystem::create_directories(view_.s.dataFilesDir());
    }

    // --- frmAssignHgtVol ---

    void treePickerLogsItsStartAndTheChosenFile() {
        FileDialogScript files;
        files.files = {"/field/trees.csv"};
        gui::frmAssignHgtVol picker(view_);
        picker.show();
        QCOMPARE(picker.windowTitle(), QString("Assign Heights and Volume to Phase 2 trees"));
        QCOMPARE(view_.log, QStringList{"Selecting Tree Input File..."});
        click(&picker, "cmdBrowse");
        QCOMPARE(files.startFolders, QStringList{gui::qpath(view_.s.dataFilesDir())});
        QCOMPARE(picker.findChild<QLineEdit*>("txtInputFileName")->text(),
                 QString("/field/trees.csv"));
        click(&picker, "cmdOK");
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        QCOMPARE(view_.log.last(), QString("Tree Input FileName:/field/trees.csv"));
        QCOMPARE(view_.s.TreeInputFileName.string(), std::string("/field/trees.csv"));
    }

    void treePickerWantsAFileBeforeOkOrEdit() {
        FileDialogScript files;
        MessageRecorder messages;
        gui::frmAssignHgtVol picker(view_);
        picker.show();
        click(&picker, "cmdOK");
        click(&picker, "cmdEditFile");
        QCOMPARE(messages.texts(),
                 QStringList({"Please Enter Input File", "Please enter the Input File"}));
        QVERIFY(picker.result() != QDialog::Accepted);
        QVERIFY(files.opened.isEmpty());
        files.files = {"/field/t.csv", ""};
        click(&picker, "cmdBrowse");
        click(&picker, "cmdBrowse");  // cancelled: the file chosen before stays
        QCOMPARE(view_.s.TreeInputFileName.string(), std::string("/field/t.csv"));
        click(&picker, "cmdEditFile");
        QCOMPARE(files.opened, QStringList{"/field/t.csv"});
    }

    // --- frmEnterPhase1Height ---

    void lidarPickerNeedsTheDataSetOneFile() {
        FileDialogScript files;
        MessageRecorder messages;
        gui::frmEnterPhase1Height picker(view_);
        picker.show();
        files.files = {"/lidar/low.csv"};
        click(&picker, "cmdBrowseLowFile");
        click(&picker, "cmdOK");
        QCOMPARE(messages.texts(), QStringList{"Please select Phase 1 Lidar Height"});
        QVERIFY(picker.isVisible());
        files.files = {"/lidar/high.csv"};
        click(&picker, "cmdBrowseHighFile");
        click(&picker, "cmdOK");
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        QCOMPARE(view_.s.HighLidarFileName.string(), std::string("/lidar/high.csv"));
        QCOMPARE(view_.s.LowLidarFileName.string(), std::string("/lidar/low.csv"));
    }

    void cancellingTheLidarPickerEmptiesTheDataSetOneFileOnly() {
        FileDialogScript files;
        files.files = {"/lidar/high.csv", "/lidar/low.csv"};
        gui::frmEnterPhase1Height picker(view_);
        picker.show();
        click(&picker, "cmdBrowseHighFile");
        click(&picker, "cmdBrowseLowFile");
        click(&picker, "cmdCancel");
        QVERIFY(view_.s.HighLidarFileName.empty());
        QCOMPARE(view_.s.LowLidarFileName.string(), std::string("/lidar/low.csv"));
    }

    void aCancelledBrowseNeverTakesTheOtherDataSetsFile() {
        FileDialogScript files;
        files.files = {"/lidar/high.csv", ""};
        gui::frmEnterPhase1Height picker(view_);
        picker.show();
        click(&picker, "cmdBrowseHighFile");
        click(&picker, "cmdBrowseLowFile");
        QVERIFY(view_.s.LowLidarFileName.empty());
        QCOMPARE(picker.findChild<QLineEdit*>("txtLowLidarHeight")->text(), QString());
    }

    // --- frmProductCodeError ---

    void productPromptShowsTheTree() {
        gui::frmProductCodeError prompt(2, 7.25);
        QCOMPARE(prompt.windowTitle(), QString("Product Code Error..."));
        QCOMPARE(prompt.findChild<QLabel*>("Label1")->text(), QString(" SPECIES = 2"));
        QCOMPARE(prompt.findChild<QLabel*>("Label2")->text(), QString(" DBH = 7.25"));
        QCOMPARE(prompt.findChild<QLabel*>("Label3")->text(), QString(" ENTER PRODUCT CODE..."));
    }

    void productPromptOkWithAnEmptyBoxGivesTwoMessagesAndStaysOpen() {
        MessageRecorder messages;
        gui::frmProductCodeError prompt(1, 3.5);
        prompt.show();
        click(&prompt, "cmdOK");
        QCOMPARE(messages.texts(),
                 QStringList({"Please enter a product code", "Please enter a valid product code"}));
        QVERIFY(prompt.isVisible());
        QVERIFY(prompt.result() != QDialog::Accepted);
        QCOMPARE(prompt.productCode(), std::nullopt);
    }

    void productPromptRefusesTextThatIsNotANumber() {
        MessageRecorder messages;
        gui::frmProductCodeError prompt(1, 3.5);
        prompt.show();
        for (const char* text : {"two", "2x", "99999"}) {
            prompt.findChild<QLineEdit*>("txtProdCode")->setText(text);
            click(&prompt, "cmdOK");
        }
        QCOMPARE(messages.texts(), QStringList({"Please enter a valid product code",
                                                "Please enter a valid product code",
                                                "Please enter a valid product code"}));
        QVERIFY(prompt.isVisible());
    }

    void productPromptOkReturnsTheCodeAndCancelDropsTheTree() {
        MessageRecorder messages;
        gui::frmProductCodeError prompt(1, 3.5);
        prompt.show();
        prompt.findChild<QLineEdit*>("txtProdCode")->setText(" 2 ");
        click(&prompt, "cmdOK");
        QVERIFY(messages.messages.empty());
        QCOMPARE(prompt.result(), int(QDialog::Accepted));
        QCOMPARE(prompt.productCode(), std::optional<int>(2));

        gui::frmProductCodeError dropped(1, 3.5);
        dropped.show();
        click(&dropped, "cmdCancel");
        QCOMPARE(dropped.result(), int(QDialog::Rejected));
        QCOMPARE(dropped.productCode(), std::nullopt);
    }

    // --- frmViewOutput ---

    void viewerOffersOnlyTheMiddleReportWhenOnlyItExists() {
        report("ABC_Regress.txt", "St    Depend\r\n");
        gui::frmViewOutput viewer(view_.s);
        viewer.show();
        QCOMPARE(viewer.windowTitle(), QString("View Output Files...."));
        QVERIFY(option(&viewer, 1)->isHidden());
        QVERIFY(!option(&viewer, 2)->isHidden());
        QVERIFY(option(&viewer, 3)->isHidden());
        QCOMPARE(option(&viewer, 2)->text(), QString("ABC_Regress.txt"));
    }

    void viewerHidesAnEmptyReport() {
        report("ABC_VolSum.txt", "");
        report("ABC_Regress.txt", "r\r\n");
        report("ABC_StratVol.txt", "s\r\n");
        gui::frmViewOutput viewer(view_.s);
        viewer.show();
        QVERIFY(option(&viewer, 1)->isHidden());
        QCOMPARE(option(&viewer, 2)->text(), QString("ABC_Regress.txt"));
        QCOMPARE(option(&viewer, 3)->text(), QString("ABC_StratVol.txt"));
        QVERIFY(!option(&viewer, 3)->isHidden());
    }

    void viewOpensTheChosenReportAndStaysOpen() {
        report("ABC_VolSum.txt", "v\r\n");
        report("ABC_StratVol.txt", "s\r\n");
        FileDialogScript files;
        gui::frmViewOutput viewer(view_.s);
        viewer.show();
        click(&viewer, "cmdView");  // nothing chosen: nothing opens
        QVERIFY(files.opened.isEmpty());
        option(&viewer, 3)->setChecked(true);
        click(&viewer, "cmdView");
        QCOMPARE(files.opened, QStringList{gui::qpath(view_.s.dataSetFile("_StratVol.txt"))});
        QVERIFY(viewer.isVisible());
    }

    void withoutAPlatformViewerTheReportShowsInAFixedPitchWindow() {
        report("ABC_VolSum.txt", "Phase 2, Ground\r\n  1  2  3.00\r\n");
        FileDialogScript files;
        files.platformOpens = false;
        DialogScript dialogs;
        QString shownText;
        bool fixedPitch = false;
        dialogs.scripts.push_back([&](QDialog& d) {
            auto* text = d.findChild<QPlainTextEdit*>("txtReport");
            shownText = text->toPlainText();
            fixedPitch = QFontInfo(text->font()).fixedPitch();
            return int(QDialog::Rejected);
        });
        gui::frmViewOutput viewer(view_.s);
        viewer.show();
        option(&viewer, 1)->setChecked(true);
        click(&viewer, "cmdView");
        QCOMPARE(dialogs.shown, QStringList{"ReportViewer"});
        QCOMPARE(shownText, QString("Phase 2, Ground\n  1  2  3.00\n"));
        QVERIFY(fixedPitch);
    }
};

QTEST_MAIN(PickersTest)
#include "PickersTest.moc"
