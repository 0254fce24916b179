#include "gui/StrataDbhFilesDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "core/InputError.h"
#include "files/DbhFile.h"
#include "files/StratumAreasFile.h"
#include "gui/BasicDialogs.h"
#include "gui/DbhEditor.h"
#include "gui/DialogServices.h"
#include "gui/FileOpening.h"
#include "gui/GuiText.h"
#include "gui/InputFileEditor.h"
#include "gui/MainView.h"
#include "gui/StrataEditor.h"

namespace orr::gui {

namespace {
const QString kMissingStrata = QStringLiteral("Please enter the Strata File");
const QString kMissingDbh = QStringLiteral("Please enter DBH File");
const QString kMissingAreas = QStringLiteral("Please enter the Stratum Areas File");

QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

// One frame: its label, the file name box and the Browse, Create, Edit and Edit in Grid buttons.
struct FileFrame {
    QGroupBox* frame;
    QLineEdit* box;
    QPushButton *browse, *create, *edit, *editHere;
};

FileFrame fileFrame(QWidget* parent, const QString& caption, const QString& label,
                    const char* boxName, const char* browseName, const QString& createCaption,
                    const char* createName, const QString& editCaption, const char* editName,
                    const QString& editHereCaption, const char* editHereName) {
    FileFrame f;
    f.frame = new QGroupBox(caption, parent);
    makeCaptionBold(f.frame);
    f.box = new QLineEdit(f.frame);
    f.box->setObjectName(QLatin1String(boxName));
    f.box->setMinimumWidth(320);
    // Only a file chosen with Browse or made with Create is used: the box shows it and takes no
    // typing, so that no path typed here is shown as chosen and then ignored.
    f.box->setReadOnly(true);
    f.box->setPlaceholderText(QStringLiteral("Choose the file with Browse or Create"));
    f.box->setToolTip(
        QStringLiteral("The file chosen with Browse or made with Create; a path "
                       "cannot be typed here"));
    f.browse = button(QStringLiteral("Browse"), browseName, f.frame);
    f.create = button(createCaption, createName, f.frame);
    f.edit = button(editCaption, editName, f.frame);
    f.editHere = button(editHereCaption, editHereName, f.frame);
    auto* grid = new QGridLayout(f.frame);
    grid->addWidget(new QLabel(label, f.frame), 0, 0, 1, 4);
    grid->addWidget(f.box, 1, 0, 1, 3);
    grid->addWidget(f.browse, 1, 3);
    grid->addWidget(f.create, 2, 1);
    grid->addWidget(f.edit, 2, 2);
    grid->addWidget(f.editHere, 2, 3);
    return f;
}
}  // namespace

StrataDbhFilesDialog::StrataDbhFilesDialog(MainView& view, QWidget* parent)
    : QDialog(parent), view_(view) {
    setObjectName(QStringLiteral("frmAssignPlotsDBH"));
    setWindowTitle(QStringLiteral("Assign Plots and DBH"));

    const FileFrame strata = fileFrame(
        this, QStringLiteral("Assign Plots to Strata"), QStringLiteral("Select the Strata File"),
        "txtStrataFileName", "cmdBrowseStrata", QStringLiteral("Create S&Trata File"),
        "cmdCreateStrataFile", QStringLiteral("Edit &Strata File"), "cmdEditStrataFile",
        QStringLiteral("Edit in &Grid"), "cmdEditStrataFileHere");
    const FileFrame dbh = fileFrame(
        this, QStringLiteral("Assign min-max DBH to species-product classes"),
        QStringLiteral("Select the DBH File"), "txtDBHFileName", "cmdBrowseDBH",
        QStringLiteral("Create D&BH File"), "cmdCreateDBHFile", QStringLiteral("Edit &DBH File"),
        "cmdEditDBHFile", QStringLiteral("Edit in G&rid"), "cmdEditDBHFileHere");
    const FileFrame areas = fileFrame(
        this, QStringLiteral("Stratum areas (optional)"),
        QStringLiteral("Select the Stratum Areas File (stratum, acres): with it step 9 gives "
                       "totals and combines the strata by area"),
        "txtAreasFileName", "cmdBrowseAreas", QStringLiteral("Create &Areas File"),
        "cmdCreateAreasFile", QStringLiteral("Edit Areas &File"), "cmdEditAreasFile",
        QStringLiteral("Edit in Gr&id"), "cmdEditAreasFileHere");
    auto* clearAreas = button(QStringLiteral("C&lear"), "cmdClearAreas", areas.frame);
    static_cast<QGridLayout*>(areas.frame->layout())->addWidget(clearAreas, 2, 0);
    strataBox_ = strata.box;
    dbhBox_ = dbh.box;
    areasBox_ = areas.box;

    auto* ok = button(QStringLiteral("&OK"), "cmdOK", this);
    auto* cancel = button(QStringLiteral("&Cancel"), "cmdCancel", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(strata.frame);
    layout->addWidget(dbh.frame);
    layout->addWidget(areas.frame);
    layout->addLayout(buttons);

    const Session& session = view_.session();
    strataBox_->setText(qpath(session.inputs.strata));
    dbhBox_->setText(qpath(session.inputs.dbh));
    areasBox_->setText(qpath(session.inputs.areas));
    connect(areas.browse, &QPushButton::clicked, this, [this] {
        browse(ChosenInput::Areas, areasBox_, QStringLiteral("Select the Stratum Areas File"));
    });
    connect(areas.create, &QPushButton::clicked, this, &StrataDbhFilesDialog::onCreateAreasFile);
    connect(areas.edit, &QPushButton::clicked, this, [this] {
        edit(view_.session().inputs.areas, areasBox_, kMissingAreas, areasFileHeadings(), false);
    });
    connect(areas.editHere, &QPushButton::clicked, this, [this] {
        edit(view_.session().inputs.areas, areasBox_, kMissingAreas, areasFileHeadings(), true);
    });
    connect(clearAreas, &QPushButton::clicked, this, &StrataDbhFilesDialog::onClearAreas);

    connect(strata.browse, &QPushButton::clicked, this, [this] {
        browse(ChosenInput::Strata, strataBox_, QStringLiteral("Select the Strata File"));
    });
    connect(dbh.browse, &QPushButton::clicked, this,
            [this] { browse(ChosenInput::Dbh, dbhBox_, QStringLiteral("Select the DBH File")); });
    connect(strata.create, &QPushButton::clicked, this, &StrataDbhFilesDialog::onCreateStrataFile);
    connect(dbh.create, &QPushButton::clicked, this, &StrataDbhFilesDialog::onCreateDbhFile);
    connect(strata.edit, &QPushButton::clicked, this, [this] {
        edit(view_.session().inputs.strata, strataBox_, kMissingStrata, strataFileHeadings(),
             false);
    });
    connect(strata.editHere, &QPushButton::clicked, this, [this] {
        edit(view_.session().inputs.strata, strataBox_, kMissingStrata, strataFileHeadings(), true);
    });
    connect(dbh.edit, &QPushButton::clicked, this, [this] {
        edit(view_.session().inputs.dbh, dbhBox_, kMissingDbh, dbhFileHeadings(), false);
    });
    connect(dbh.editHere, &QPushButton::clicked, this, [this] {
        edit(view_.session().inputs.dbh, dbhBox_, kMissingDbh, dbhFileHeadings(), true);
    });
    connect(ok, &QPushButton::clicked, this, &StrataDbhFilesDialog::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void StrataDbhFilesDialog::browse(ChosenInput input, QLineEdit* box, const QString& caption) {
    const QString file = getOpenFileName(this, caption, qpath(view_.session().dataFilesDir()));
    if (file.isEmpty()) return;
    view_.setInput(input, fspath(file));
    box->setText(file);
}

void StrataDbhFilesDialog::edit(const std::filesystem::path& name, QLineEdit* box,
                                const QString& missing, const QStringList& headings, bool here) {
    if (name.empty()) {
        showError(this, missing);
        box->setFocus();
        return;
    }
    if (here)
        editInputFileHere(this, name, headings);
    else
        editInputFile(this, name, headings);
}

bool StrataDbhFilesDialog::haveDataSetName() {
    if (!view_.session().dataSetName.empty()) return true;
    showError(this, QStringLiteral("Please Enter the DataSet Name"));
    showDataSetNameDialog(this, view_);
    return !view_.session().dataSetName.empty();
}

void StrataDbhFilesDialog::onCreateStrataFile() {
    if (haveDataSetName()) StrataEditor::run(view_, this);
    strataBox_->setText(qpath(view_.session().inputs.strata));
}

void StrataDbhFilesDialog::onCreateDbhFile() {
    if (haveDataSetName()) DbhEditor::run(view_, this);
    dbhBox_->setText(qpath(view_.session().inputs.dbh));
}

void StrataDbhFilesDialog::onCreateAreasFile() {
    const Session& session = view_.session();
    if (!haveDataSetName()) return;
    if (session.inputs.strata.empty()) {
        showError(this, kMissingStrata);
        strataBox_->setFocus();
        return;
    }
    const std::filesystem::path file =
        session.dataFilesDir() / stratumAreasFileName(session.dataSetName);
    try {
        // An existing file is kept (nothing lost); a new one lists the strata, acres to enter.
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) {
            std::vector<std::array<std::string, 2>> rows;
            for (const int h : strataNamedIn(session.inputs.strata))
                rows.push_back({std::to_string(h), ""});
            writeStratumAreasTemplate(file, rows);
        }
    } catch (const std::exception& e) {
        showError(this, qstr(e.what()));
        return;
    }
    view_.setInput(ChosenInput::Areas, file);
    areasBox_->setText(qpath(file));
    editInputFileHere(this, file, areasFileHeadings());
}

void StrataDbhFilesDialog::onClearAreas() {
    view_.setInput(ChosenInput::Areas, {});
    areasBox_->clear();
}

bool StrataDbhFilesDialog::areasAccepted() {
    const Session& session = view_.session();
    if (session.inputs.areas.empty()) return true;
    try {
        readStratumAreasFile(session.inputs.areas, strataNamedIn(session.inputs.strata));
    } catch (const std::exception& e) {
        showError(this, qstr(e.what()));
        areasBox_->setFocus();
        return false;
    }
    return true;
}

void StrataDbhFilesDialog::onOk() {
    const Session& session = view_.session();
    if (session.inputs.strata.empty()) {
        showError(this, kMissingStrata);
        strataBox_->setFocus();
        return;
    }
    if (session.inputs.dbh.empty()) {
        showError(this, kMissingDbh);
        dbhBox_->setFocus();
        return;
    }
    if (!areasAccepted()) return;
    std::optional<long> products;
    try {
        products = countDbhProducts(session.inputs.dbh, session.params.MaxSpec);
    } catch (const InputError& e) {
        showError(this, qstr(e.what()));
        dbhBox_->setFocus();
        return;
    }

    const QString strataName = qpath(session.inputs.strata.filename());
    view_.appendLog(QStringLiteral("Chosen Strata FileName:") + qpath(session.inputs.strata));
    view_.appendLog(QStringLiteral("Chosen DBH FileName:") + qpath(session.inputs.dbh));
    if (!session.inputs.areas.empty())
        view_.appendLog(QStringLiteral("Chosen Stratum Areas FileName:") +
                        qpath(session.inputs.areas));
    view_.showOutputLabel(QStringLiteral("LblStratDBHfilename"),
                          QStringLiteral("Strata File - ") + strataName +
                              QStringLiteral("  DBH File - ") +
                              qpath(session.inputs.dbh.filename()));

    // A count that differs is a warning only (with MaxSpec 0 there is no count: always one).
    if (!products || *products != session.params.MaxProd) {
        showError(this, QStringLiteral("Number of product entries in DBH File= ") +
                            QString::number(products.value_or(0)) +
                            QStringLiteral("\nMax products in parameter setting= ") +
                            QString::number(session.params.MaxProd));
        showParametersDialog(this, view_);
    }
    accept();
}

}  // namespace orr::gui
