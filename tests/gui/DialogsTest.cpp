// Every set-up dialog, file picker, grid editor and the product-code prompt refuses an entry it
// cannot take, with its message, taking nothing and leaving the earlier file as it was; those of
// steps 3 and 4 then take the entry corrected. Edit and View fall back to the program's own
// editor and viewer. What Save makes of each cell is checked on the grid models
// (tests/model/editors/); here the windows around them.
#include <QComboBox>
#include <QLabel>

#include "gui/CoefficientEditor.h"
#include "gui/CoefficientFileDialog.h"
#include "gui/CommaTableModel.h"
#include "gui/DataSetNameDialog.h"
#include "gui/DbhEditor.h"
#include "gui/InputFileEditor.h"
#include "gui/LidarFilePicker.h"
#include "gui/OutputViewerDialog.h"
#include "gui/ParametersDialog.h"
#include "gui/ProductCodeDialog.h"
#include "gui/StrataDbhFilesDialog.h"
#include "gui/StrataEditor.h"
#include "gui/TreeFilePicker.h"
#include "tests/gui/GuiTestSupport.h"

using namespace orr;
using namespace orr::guitest;

namespace {

// The main window as a dialog sees it, on a fresh application directory with its data folder and
// parameter file, with every message box, modal dialog and file dialog answered.
struct Bench : gui::MainView {
    QTemporaryDir dir;
    Session s;
    QStringList log;
    QMap<QString, QString> labels;
    MessageRecorder messages;
    DialogScript dialogs;
    FileDialogScript files;
    Bench() {
        s.appDir = gui::fspath(dir.path());
        s.params = ParamRecord::defaults();  // MaxSpec 2, MaxProd 3
        std::filesystem::create_directories(s.dataFilesDir());
        saveParameters(s.appDir, s.params);
    }
    QString dataFile(const QString& name) const {
        return gui::qpath(s.dataFilesDir()) + "/" + name;
    }
    const Session& session() const override { return s; }
    void setDataSetName(std::string name) override { s.dataSetName = std::move(name); }
    void setInput(ChosenInput input, std::filesystem::path file) override {
        chosenPath(s.inputs, input) = std::move(file);
    }
    void setParameters(const ParamRecord& params) override { s.params = params; }
    void appendLog(const QString& line) override { log << line; }
    void showOutputLabel(const QString& name, const QString& caption) override {
        labels[name] = caption;
    }
};

// The one message a refused entry shows, as an error; the dialog stays open.
void expectRefused(Bench& b, QWidget& dialog, const QString& message) {
    QCOMPARE(b.messages.texts, QStringList{message});
    QCOMPARE(b.messages.icons[0], QMessageBox::Critical);
    QVERIFY(dialog.isVisible());
    b.messages.clear();
}

// A grid editor of step 3 or 4: the values typed cell after cell (Enter between them) cannot be
// saved; the box stays open on the cell named. Corrected there, the file is saved and chosen.
template <class Editor>
std::function<void(Bench&)> refusedInGrid(QStringList typed, const char* file, QString message,
                                          int column, std::filesystem::path InputPaths::*chosen,
                                          QString fix = "2") {
    return [=](Bench& b) {
        b.s.dataSetName = "E";
        const QString path = b.dataFile(file);
        writeAll(path, "earlier file\r\n");
        Editor editor(b);
        showActive(editor);
        auto* box = child<QLineEdit>(editor, "txtEdit");
        QTest::keyClicks(box, typed.join('\r'));  // '\r' is the Return key
        QTest::mouseClick(child<QPushButton>(editor, "cmdSave"), Qt::LeftButton);
        expectRefused(b, editor, message);
        QCOMPARE(readAll(path), QByteArray("earlier file\r\n"));
        QVERIFY(box->isVisible());
        QCOMPARE(child<QTableWidget>(editor, "MSHFlexGrid1")->currentColumn(), column);
        box->setText(fix);
        QTest::mouseClick(child<QPushButton>(editor, "cmdSave"), Qt::LeftButton);
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QCOMPARE(b.messages.texts.size(), 1);  // the note naming the file made
        QVERIFY(b.messages.texts[0].endsWith(path + " Created"));
        b.messages.clear();
        QVERIFY(readAll(path).startsWith("1,"));
        QCOMPARE(gui::qpath(b.s.inputs.*chosen), path);
    };
}

// A row on a dialog that the main window opens: made on the bench, shown, then `act`.
template <class Dialog>
std::function<void(Bench&)> on(std::function<void(Bench&, QDialog&)> act) {
    return [act](Bench& b) {
        Dialog d(b);
        showActive(d);
        act(b, d);
    };
}

const QString kIllegalName =
    "The dataset name cannot hold any of the characters \\ / : * ? \" < > | or a control character";

const std::vector<std::pair<const char*, std::function<void(Bench&)>>> kRefusals = {
    {"data-set name", on<gui::DataSetNameDialog>([](Bench& b, QDialog& d) {
         writeAll(b.dataFile("ABC_VolSum.txt"), "report\r\n");
         auto* box = child<QLineEdit>(d, "txtDataSetName");
         for (const auto& [name, message] : std::vector<std::pair<QString, QString>>{
                  {"   ", "Please Enter the DataSet Name"},
                  {"ABCDEFG", "The dataset name can have upto 6 characters"},
                  {"A/B", kIllegalName},
                  {"a\tb", kIllegalName}}) {
             box->setText(name);
             click(&d, "cmdSave");
             expectRefused(b, d, message);
             QVERIFY(b.s.dataSetName.empty() && b.log.isEmpty());
         }
         // The reports of an earlier data set of that name are overwritten only if the user says
         // so.
         box->setText("ABC");
         click(&d, "cmdSave");  // answered No
         QCOMPARE(b.messages.texts,
                  QStringList{"Previous dataset with name ABC exists, do you want to overwrite ?"});
         QVERIFY(b.s.dataSetName.empty() && d.isVisible());
         b.messages.clear();
     })},
    {"parameters", on<gui::ParametersDialog>([](Bench& b, QDialog& d) {
         const QString file = gui::qpath(paramFilePath(b.s.appDir));
         const QByteArray before = readAll(file);
         auto* box = child<QLineEdit>(d, "txtMaxSpec");
         QCOMPARE(box->text(), QString("2"));
         box->setText("x2");
         click(&d, "cmdSave");
         expectRefused(b, d, "Max number of Species should be greater than 0");
         // A count that is not a whole number is refused, not rounded; the box keeps the focus.
         box->setText("0.4");
         click(&d, "cmdSave");
         expectRefused(b, d, "Max number of Species should be a whole number, not \"0.4\"");
         box->setText(" 3");
         auto* pacf = child<QLineEdit>(d, "txtPACF");
         pacf->setText("2.5");
         click(&d, "cmdSave");
         expectRefused(b, d, "PACF should be a whole number, not \"2.5\"");
         QCOMPARE(QApplication::focusWidget(), pacf);
         QCOMPARE(readAll(file), before);
         QCOMPARE(b.s.params.MaxSpec, std::int16_t(2));
         QVERIFY(b.log.isEmpty());
     })},
    {"parameters: plan of the next inventory", on<gui::ParametersDialog>([](Bench& b, QDialog& d) {
         const QString file = gui::qpath(paramFilePath(b.s.appDir));
         const QByteArray before = readAll(file);
         auto* ground = child<QLineEdit>(d, "txtGroundPlotCost");
         auto* lidar = child<QLineEdit>(d, "txtLidarPlotCost");
         auto* target = child<QLineEdit>(d, "txtTargetError");
         QCOMPARE((QStringList{ground->text(), lidar->text(), target->text()}),
                  (QStringList{"10", "1", "10"}));
         for (const auto& [box, text, message] :
              std::vector<std::tuple<QLineEdit*, QString, QString>>{
                  {ground, "0", "Ground plot cost (GroundPlotCost) should be greater than 0"},
                  {lidar, "-1", "LiDAR plot cost (LidarPlotCost) should be greater than 0"},
                  {lidar, "cheap",
                   "LiDAR plot cost (LidarPlotCost) should be a number, not \"cheap\""},
                  {target, "0", "Target error (TargetError) should be greater than 0"},
                  {target, "101", "Target error (TargetError) should be at most 100"}}) {
             ground->setText("10");
             lidar->setText("1");
             target->setText("10");
             box->setText(text);
             click(&d, "cmdSave");
             expectRefused(b, d, message);
             QCOMPARE(QApplication::focusWidget(), box);
             QCOMPARE(readAll(file), before);
             QCOMPARE(b.s.params, ParamRecord::defaults());
             QVERIFY(b.log.isEmpty());
         }
         ground->setText("12.5");
         lidar->setText("0.5");
         target->setText(" 7.5 ");
         click(&d, "cmdSave");
         QCOMPARE(d.result(), int(QDialog::Accepted));
         QCOMPARE(b.log, QStringList{"User Parameters Set"});
         const ParamRecord saved = *decodeParamRecord(readAll(file).toStdString());
         QCOMPARE(saved, b.s.params);
         QCOMPARE(saved.GroundPlotCost, 12.5);
         QCOMPARE(saved.LidarPlotCost, 0.5);
         QCOMPARE(saved.TargetError, 7.5);
     })},
    {"tree file picker", on<gui::TreeFilePicker>([](Bench& b, QDialog& d) {
         click(&d, "cmdOK");
         expectRefused(b, d, "Please Enter Input File");
         QVERIFY(b.s.inputs.trees.empty());
     })},
    {"LiDAR file picker", on<gui::LidarFilePicker>([](Bench& b, QDialog& d) {
         b.files.files = {"/lidar/low.csv"};
         click(&d, "cmdBrowseLowFile");
         click(&d, "cmdOK");
         expectRefused(b, d, "Please select Phase 1 Lidar Height");
         QVERIFY(b.s.inputs.lidarHigh.empty());
     })},
    {"product-code prompt",
     [](Bench& b) {
         // A tree of species 2 at 13.07 inches, between product 2 (up to 11.9) and 3 (from 14).
         gui::ProductCodeDialog d({2, 13.067273017858188, 13.1, 3, 3, 11.9, 14.0}, true);
         showActive(d);
         for (const char* code : {"two", "0", "4"}) {
             child<QLineEdit>(d, "txtProdCode")->setText(code);
             click(&d, "cmdOK");
             expectRefused(b, d, "Please enter a valid product code");
             QCOMPARE(d.productCode(), std::nullopt);
         }
         // The question names the valid codes and the plot whose tree asks.
         QCOMPARE(child<QLabel>(d, "lblValidCodes")->text(), QString(" Valid product codes: 1 to 3"));
         QVERIFY(!d.findChild<QLabel*>("lblPlot"));
         gui::ProductCodeDialog named({2, 13.07, 13.1, 3, 3, 11.9, 14.0, 12}, true);
         QCOMPARE(child<QLabel>(named, "lblPlot")->text(), QString(" PLOT = 12"));
     }},
    {"coefficient file dialog", on<gui::CoefficientFileDialog>([](Bench& b, QDialog& d) {
         const QString file = b.dataFile("X_COEFFIC.csv");
         writeAll(file, QByteArray("1,2,3,4\r\n").repeated(10));  // two species, as MaxSpec says
         QTest::keyClicks(child<QLineEdit>(d, "txtCoeffFileName"), file);
         QVERIFY(child<QLineEdit>(d, "txtCoeffFileName")->text().isEmpty());
         click(&d, "cmdOK");
         expectRefused(b, d, "Please Enter Co-eff File");
         b.files.files = {file};
         click(&d, "cmdBrowse");
         click(&d, "cmdOK");
         QCOMPARE(d.result(), int(QDialog::Accepted));
         QCOMPARE(gui::qpath(b.s.inputs.coefficients), file);
         QCOMPARE(b.log, QStringList{"Regression Coefficient File chosen:" + file});
     })},
    {"strata and DBH file dialog", on<gui::StrataDbhFilesDialog>([](Bench& b, QDialog& d) {
         const QString strata = b.dataFile("S_STRATA.csv"), dbh = b.dataFile("S_DBH.csv");
         writeAll(strata, "1,1,100,30\r\n");
         writeAll(dbh, "1,1,0,0\r\n1,2,0,0\r\n1,3,0,0\r\n2,1,0,0\r\n2,2,0,0\r\n2,3,0,0\r\n");
         // The boxes take no typing: a path typed there is neither shown nor ignored.
         for (const char* name : {"txtStrataFileName", "txtDBHFileName"}) {
             auto* box = child<QLineEdit>(d, name);
             QTest::keyClicks(box, strata);
             QVERIFY(box->text().isEmpty() && box->isReadOnly() && !box->toolTip().isEmpty());
         }
         click(&d, "cmdOK");
         expectRefused(b, d, "Please enter the Strata File");
         b.files.files = {strata, dbh};
         click(&d, "cmdBrowseStrata");
         click(&d, "cmdBrowseDBH");
         click(&d, "cmdOK");
         QCOMPARE(d.result(), int(QDialog::Accepted));
         QCOMPARE(b.labels.value("LblStratDBHfilename"),
                  QString("Strata File - S_STRATA.csv  DBH File - S_DBH.csv"));
     })},
    // The 40 cells of two species, cell after cell.
    {"coefficient editor",
     refusedInGrid<gui::CoefficientEditor>(QStringList{"1", "1.2.3"} + QStringList(38, "4"),
                                           "E_COEFFIC.csv",
                                           "Species 1, b1 (equation 1): \"1.2.3\" is not a number",
                                           2, &InputPaths::coefficients)},
    // A cell left blank is not written as 0 (b3 of the height equation, species 1: cell 12).
    {"coefficient editor, a blank cell",
     refusedInGrid<gui::CoefficientEditor>(QStringList(11, "1") + QStringList{""} +
                                               QStringList(28, "4"),
                                           "E_COEFFIC.csv",
                                           "Species 1, b3 (equation 2) is blank: enter the "
                                           "coefficient (0 where it is zero)",
                                           4, &InputPaths::coefficients)},
    {"strata editor",
     refusedInGrid<gui::StrataEditor>({"1", "one", "10", "20"}, "E_STRATA.csv",
                                      "Row 1, Begin Plot: \"one\" is not a number", 1,
                                      &InputPaths::strata)},
    {"strata editor, overlapping ranges",
     refusedInGrid<gui::StrataEditor>(
         {"1", "1", "10", "20", "1", "5", "30", "20"}, "E_STRATA.csv",
         "Row 2, Begin Plot: plots 5 to 30 overlap plots 1 to 10 of row 1, in the same stratum 1",
         1, &InputPaths::strata, "11")},
    {"DBH editor",
     refusedInGrid<gui::DbhEditor>({"4", "big"}, "E_DBH.csv",
                                   "Species 1, Product 1, Max DBH: \"big\" is not a number", 3,
                                   &InputPaths::dbh)},
    {"grid editor of a chosen file",
     [](Bench& b) {
         const QString file = b.dataFile("ABC_DBH.csv");
         const QByteArray before = "1,1,\"5\",\"8.9\"\r\n1,2,\"9\",\"11.9\"\r\n2,1,5,10.9\r\n";
         writeAll(file, before);
         gui::InputFileEditor editor(gui::fspath(file), gui::dbhFileHeadings());
         QVERIFY(editor.loaded());
         showActive(editor);
         auto& table = editor.table();
         QVERIFY(table.setData(table.index(2, 2), " 5.5 ", Qt::EditRole));
         QVERIFY(table.setData(table.index(1, 3), "12,5", Qt::EditRole));
         click(&editor, "cmdSave");
         expectRefused(b, editor,
                       "Line 2, Max DBH: \"12,5\" cannot hold a comma or a double quote. Nothing "
                       "was written to " +
                           file + ".");
         QCOMPARE(readAll(file), before);
         QVERIFY(table.setData(table.index(1, 3), "12.5", Qt::EditRole));
         click(&editor, "cmdSave");
         QCOMPARE(editor.result(), int(QDialog::Accepted));
         QCOMPARE(readAll(file),
                  QByteArray("1,1,\"5\",\"8.9\"\r\n1,2,\"9\",\"12.5\"\r\n2,1,5.5,10.9\r\n"));
     }},
};

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void eachRefusesAnEntryItCannotTake_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(kRefusals.size()); ++i) QTest::newRow(kRefusals[i].first) << i;
    }
    void eachRefusesAnEntryItCannotTake() {
        QFETCH(int, row);
        Bench b;
        kRefusals[row].second(b);
        if (QTest::currentTestFailed()) return;
        QCOMPARE(b.messages.texts, QStringList());
        QCOMPARE(b.dialogs.shown, QStringList());
        for (const QString& folder : b.files.startFolders)  // every file dialog
            QCOMPARE(folder, gui::qpath(b.s.dataFilesDir()));
    }

    // Tab goes on to the next cell and typing starts editing it: in a grid editor (also with its
    // editor box closed by Esc) and in the grid of a chosen file.
    void tabMovesOnAndTypingStartsEditing() {
        Bench b;
        b.s.dataSetName = "E";
        gui::StrataEditor editor(b);
        showActive(editor);
        auto* box = child<QLineEdit>(editor, "txtEdit");
        auto* grid = child<QTableWidget>(editor, "MSHFlexGrid1");
        const auto cell = [&](int row, int column) {
            return QString::fromStdString(editor.model().cell(row, column));
        };
        QTRY_COMPARE(QApplication::focusWidget(), box);
        QTest::keyClicks(box, "1");
        QTest::keyClick(box, Qt::Key_Tab);
        QTest::keyClicks(box, "5");
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(cell(1, 0), QString("1"));
        QCOMPARE(cell(1, 1), QString("5"));
        QCOMPARE(grid->currentColumn(), 2);
        QVERIFY(box->isVisible());
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!box->isVisible());
        QTest::keyClicks(grid, "9");
        QVERIFY(box->isVisible());
        QCOMPARE(box->text(), QString("9"));
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(cell(1, 2), QString("9"));
        QCOMPARE(grid->currentColumn(), 3);
        QTest::keyClick(box, Qt::Key_Backtab);
        QCOMPARE(grid->currentColumn(), 2);

        const QString file = b.dataFile("E_STRATA.csv");
        writeAll(file, "1,1,100,30\r\n");
        gui::InputFileEditor chosen(gui::fspath(file), gui::strataFileHeadings());
        showActive(chosen);
        auto* table = child<QTableView>(chosen, "grdInputFile");
        table->setFocus();
        table->setCurrentIndex(table->model()->index(0, 0));
        QTest::keyClicks(table, "2");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), "7");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(table->currentIndex().column(), 2);
        const auto field = [&](int column) {
            return chosen.table().data(chosen.table().index(0, column), Qt::DisplayRole).toString();
        };
        QCOMPARE(field(0), QString("2"));
        QCOMPARE(field(1), QString("7"));
        QCOMPARE(field(2), QString("100"));
    }

    // Edit in Grid labels the lines of a coefficient file by species and equation, as the
    // editor that creates it labels its rows; a line past the five blocks is not read.
    void editInGridLabelsCoefficientRowsByEquationAndSpecies() {
        Bench b;  // MaxSpec 2
        const QString file = b.dataFile("ABC_COEFFIC.csv");
        writeAll(file, QByteArray("1,2,3,4\r\n").repeated(11));
        b.s.inputs.coefficients = gui::fspath(file);
        QStringList labels;
        QString tip;
        b.dialogs.scripts << [&](QDialog& d) {
            const QAbstractItemModel* grid = child<QTableView>(d, "grdInputFile")->model();
            for (int row : {0, 1, 2, 9, 10})
                labels << grid->headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
            tip = grid->headerData(2, Qt::Vertical, Qt::ToolTipRole).toString();
            return int(QDialog::Rejected);
        };
        gui::CoefficientFileDialog d(b);
        d.show();
        click(&d, "cmdEditHere");
        QCOMPARE(labels, (QStringList{"1  Species 1 (equation 1)", "2  Species 2 (equation 1)",
                                      "3  Species 1 (equation 2)", "10  Species 2 (equation 5)",
                                      "11  not read"}));
        QCOMPARE(tip, QString("From Phase 2 Hgt = b0 + b1(DBH)^ b2(age)^ b3"));
    }

    // Without a program of the platform for the file, or with the "here" buttons, the file
    // opens in the program's own grid editor or report viewer.
    void editAndViewFallBackToTheProgramsOwnWindowAndAlwaysOfferIt_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("platformOpens");
        QTest::addColumn<QString>("ownWindow");  // empty: none shown
        const auto row = [](const char* name, const char* dialog, const char* button, bool opens,
                            const char* own) {
            QTest::newRow(name) << QString(dialog) << QString(button) << opens << QString(own);
        };
        row("tree file, a program", "tree", "cmdEditFile", true, "");
        row("tree file, none", "tree", "cmdEditFile", false, "InputFileEditor");
        row("coefficients, here", "coeff", "cmdEditHere", true, "InputFileEditor");
        row("strata, none", "strata", "cmdEditStrataFile", false, "InputFileEditor");
        row("report, none", "report", "cmdView", false, "ReportViewer");
        row("report, here", "report", "cmdViewHere", true, "ReportViewer");
    }
    // Step 11 offers the report for the browser and the CSV files beside the three reports,
    // only those that are there and not empty, and View opens the report through the desktop.
    void viewOutputOffersTheReportForTheBrowserAndTheCsvFiles() {
        Bench b;
        b.s.dataSetName = "ABC";
        writeAll(b.dataFile("ABC_Regress.txt"), "St\r\n");
        writeAll(b.dataFile("ABC_Report.html"), "<!DOCTYPE html>\n");
        writeAll(b.dataFile("ABC_Estimates.csv"), "stratum\r\n");
        writeAll(b.dataFile("ABC_Allocation.csv"), "");
        b.files.platformOpens = true;
        gui::OutputViewerDialog d(b.s);
        d.show();
        QStringList offered;
        for (int i = 1; i <= 6; ++i) {
            auto* option = child<QRadioButton>(d, qPrintable(QString("Option%1").arg(i)));
            if (!option->isHidden()) offered << option->text();
        }
        QCOMPARE(offered, (QStringList{"ABC_Regress.txt", "ABC_Report.html", "ABC_Estimates.csv"}));
        child<QRadioButton>(d, "Option4")->setChecked(true);
        click(&d, "cmdView");
        QCOMPARE(b.files.opened, QStringList{b.dataFile("ABC_Report.html")});
    }

    void editAndViewFallBackToTheProgramsOwnWindowAndAlwaysOfferIt() {
        QFETCH(QString, dialog);
        QFETCH(QString, button);
        QFETCH(bool, platformOpens);
        QFETCH(QString, ownWindow);
        Bench b;
        b.s.dataSetName = "ABC";
        const QString file = b.dataFile("ABC_FILE.csv"), report = b.dataFile("ABC_VolSum.txt");
        writeAll(file, "1,1,\"5\",\"8.9\"\r\n");
        writeAll(report, "Phase 2, Ground\r\n  1  2  3.00\r\n");
        b.s.inputs.trees = b.s.inputs.coefficients = b.s.inputs.strata = b.s.inputs.dbh =
            gui::fspath(file);
        b.files.platformOpens = platformOpens;
        QString shown;  // the rows of the grid, or the report's text in a fixed-pitch font
        b.dialogs.scripts << [&](QDialog& d) {
            if (auto* grid = d.findChild<QTableView*>("grdInputFile"))
                shown = QString::number(grid->model()->rowCount()) + " rows";
            if (auto* text = d.findChild<QPlainTextEdit*>("txtReport"))
                if (QFontInfo(text->font()).fixedPitch()) shown = text->toPlainText();
            return int(QDialog::Rejected);
        };
        std::unique_ptr<QDialog> d;
        if (dialog == "tree") d = std::make_unique<gui::TreeFilePicker>(b);
        if (dialog == "coeff") d = std::make_unique<gui::CoefficientFileDialog>(b);
        if (dialog == "strata") d = std::make_unique<gui::StrataDbhFilesDialog>(b);
        if (dialog == "report") d = std::make_unique<gui::OutputViewerDialog>(b.s);
        d->show();
        if (dialog == "report") child<QRadioButton>(*d, "Option1")->setChecked(true);
        click(d.get(), qPrintable(button));
        const QString opened = dialog == "report" ? report : file;
        QCOMPARE(b.files.opened, button.endsWith("Here") ? QStringList{} : QStringList{opened});
        QCOMPARE(b.dialogs.shown, ownWindow.isEmpty() ? QStringList{} : QStringList{ownWindow});
        if (ownWindow == "InputFileEditor") QCOMPARE(shown, QString("1 rows"));
        if (ownWindow == "ReportViewer")
            QCOMPARE(shown, QString("Phase 2, Ground\n  1  2  3.00\n"));
    }

    // The choice of steps 6 and 7 with its line of meaning: saved after the record only when it
    // is expected shares, and shown back from the file when the dialog opens again.
    void lidarClassesChoiceIsSavedAndShownBack() {
        Bench b;
        const QString file = gui::qpath(paramFilePath(b.s.appDir));
        {
            gui::ParametersDialog d(b);
            showActive(d);
            auto* choice = child<QComboBox>(d, "cboLidarClasses");
            auto* meaning = child<QLabel>(d, "lblLidarClassesMeaning");
            QCOMPARE(choice->currentIndex(), 0);
            QVERIFY(meaning->text().contains("at random"));
            choice->setCurrentIndex(1);
            QVERIFY(meaning->text().contains("with its share"));
            click(&d, "cmdSave");
            QCOMPARE(d.result(), int(QDialog::Accepted));
        }
        QCOMPARE(b.s.params.LidarClasses, std::int16_t(1));
        QVERIFY(readAll(file).size() > 22);
        gui::ParametersDialog again(b);
        showActive(again);
        auto* choice = child<QComboBox>(again, "cboLidarClasses");
        QCOMPARE(choice->currentIndex(), 1);
        choice->setCurrentIndex(0);
        click(&again, "cmdSave");
        QCOMPARE(b.s.params.LidarClasses, std::int16_t(0));
        QCOMPARE(readAll(file).size(), 22);
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
