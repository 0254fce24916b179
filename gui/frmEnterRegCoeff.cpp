#include "gui/frmEnterRegCoeff.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/InputError.h"
#include "files/InputFiles.h"
#include "gui/BasicDialogs.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainView.h"
#include "gui/frmCreateCoeffFile.h"

namespace orr::gui {

namespace {
QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}
}  // namespace

frmEnterRegCoeff::frmEnterRegCoeff(MainView& view, QWidget* parent) : QDialog(parent), view_(view) {
    setObjectName(QStringLiteral("frmEnterRegCoeff"));
    setWindowTitle(QStringLiteral("Enter Phase 2 Regression Coefficient"));

    auto* frame = new QGroupBox(QStringLiteral("Enter/Edit Phase2 Regression Coefficient"), this);
    makeCaptionBold(frame);
    txtCoeffFileName_ = new QLineEdit(frame);
    txtCoeffFileName_->setObjectName(QStringLiteral("txtCoeffFileName"));
    txtCoeffFileName_->setMinimumWidth(320);
    auto* cmdBrowse = button(QStringLiteral("Browse"), "cmdBrowse", frame);
    auto* cmdCreateFile = button(QStringLiteral("&Create File"), "cmdCreateFile", frame);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("Select existing Co-efficient File"), frame), 0, 0, 1,
                    2);
    grid->addWidget(txtCoeffFileName_, 1, 0);
    grid->addWidget(cmdBrowse, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Click here to Create the Co-efficient File"), frame),
                    2, 0);
    grid->addWidget(cmdCreateFile, 2, 1);

    auto* cmdEdit = button(QStringLiteral("&Edit File"), "cmdEdit", this);
    auto* cmdOK = button(QStringLiteral("&OK"), "cmdOK", this);
    auto* cmdCancel = button(QStringLiteral("&Cancel"), "cmdCancel", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdEdit);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    txtCoeffFileName_->setText(qpath(view_.session().CoeffFileName));

    connect(cmdBrowse, &QPushButton::clicked, this, &frmEnterRegCoeff::cmdBrowse_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmEnterRegCoeff::cmdOK_Click);
    connect(cmdCreateFile, &QPushButton::clicked, this, &frmEnterRegCoeff::cmdCreateFile_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmEnterRegCoeff::cmdEdit_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmEnterRegCoeff::cmdBrowse_Click() {
    const QString file = getOpenFileName(this, QStringLiteral("Select existing Co-efficient File"),
                                         qpath(view_.session().dataFilesDir()));
    // A cancelled file dialog changes nothing.
    if (file.isEmpty()) return;
    chosen_ = file;
    view_.session().CoeffFileName = fspath(file);
    txtCoeffFileName_->setText(file);
}

void frmEnterRegCoeff::cmdOK_Click() {
    if (chosen_.isEmpty()) {
        showMessage(this, QMessageBox::Critical, QStringLiteral("Please Enter Co-eff File"));
        txtCoeffFileName_->setFocus();
        return;
    }
    Session& session = view_.session();
    const std::filesystem::path file = fspath(chosen_);
    long species = 0;
    try {
        species = countCoefficientSpecies(file);
    } catch (const InputError& e) {
        showMessage(this, QMessageBox::Critical, qstr(e.what()));
        return;
    }
    session.CoeffFileName = file;
    if (species != session.params.MaxSpec) {
        // A warning only: the file is used, and the parameters dialog lets MaxSpec be corrected.
        showMessage(this, QMessageBox::Critical,
                    QStringLiteral("Number of species entries in coefficient File= ") +
                        QString::number(species) +
                        QStringLiteral("\nMax species in parameter setting= ") +
                        QString::number(session.params.MaxSpec));
        showParametersDialog(this, view_);
    }
    accept();
    view_.showOutputLabel(QStringLiteral("LblCoeffFile"),
                          QStringLiteral("File - ") + qpath(file.filename()));
    view_.appendLog(QStringLiteral("Regression Coefficient File chosen:") + qpath(file));
}

void frmEnterRegCoeff::cmdCreateFile_Click() {
    Session& session = view_.session();
    if (!session.DataSetName.empty()) {
        // This dialog closes; the editor takes its place over the main window.
        hide();
        frmCreateCoeffFile::run(view_, parentWidget());
        reject();
        return;
    }
    showMessage(this, QMessageBox::Critical, QStringLiteral("Please Enter the DataSet Name"));
    showDataSetNameDialog(this, view_);
    if (session.DataSetName.empty()) return;
    // This dialog stays open beneath the editor.
    frmCreateCoeffFile::run(view_, this);
}

void frmEnterRegCoeff::cmdEdit_Click() {
    const std::filesystem::path& file = view_.session().CoeffFileName;
    if (file.empty()) {
        showMessage(this, QMessageBox::Critical, QStringLiteral("Please enter Co-eff File"));
        txtCoeffFileName_->setFocus();
        return;
    }
    if (!openWithDefaultProgram(qpath(file)))
        showMessage(this, QMessageBox::Critical,
                    QStringLiteral("No program could open the file ") + qpath(file));
}

}  // namespace orr::gui
