#include "gui/StrataDbhFilesDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "core/InputError.h"
#include "files/DbhFile.h"
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
    strataBox_ = strata.box;
    dbhBox_ = dbh.box;

    auto* ok = button(QStringLiteral("&OK"), "cmdOK", this);
    auto* cancel = button(QStringLiteral("&Cancel"), "cmdCancel", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(strata.frame);
    layout->addWidget(dbh.frame);
    layout->addLayout(buttons);

    const Session& session = view_.session();
    strataBox_->setText(qpath(session.inputs.strata));
    dbhBox_->setText(qpath(session.inputs.dbh));

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
