#include "gui/CoefficientFileDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/InputError.h"
#include "files/CoefficientFile.h"
#include "gui/BasicDialogs.h"
#include "gui/CoefficientEditor.h"
#include "gui/DialogServices.h"
#include "gui/FileOpening.h"
#include "gui/GuiText.h"
#include "gui/InputFileEditor.h"
#include "gui/MainView.h"

namespace orr::gui {

namespace {
QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}
}  // namespace

CoefficientFileDialog::CoefficientFileDialog(MainView& view, QWidget* parent)
    : QDialog(parent), view_(view) {
    setObjectName(QStringLiteral("frmEnterRegCoeff"));
    setWindowTitle(QStringLiteral("Enter Phase 2 Regression Coefficient"));

    auto* frame = new QGroupBox(QStringLiteral("Enter/Edit Phase2 Regression Coefficient"), this);
    makeCaptionBold(frame);
    fileBox_ = new QLineEdit(frame);
    fileBox_->setObjectName(QStringLiteral("txtCoeffFileName"));
    fileBox_->setMinimumWidth(320);
    // Only a file chosen with Browse is used: the box shows it and takes no typing.
    fileBox_->setReadOnly(true);
    fileBox_->setPlaceholderText(QStringLiteral("Choose the file with Browse"));
    fileBox_->setToolTip(
        QStringLiteral("The file chosen with Browse; a path cannot be typed here"));
    auto* browse = button(QStringLiteral("Browse"), "cmdBrowse", frame);
    auto* createFile = button(QStringLiteral("&Create File"), "cmdCreateFile", frame);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("Select existing Co-efficient File"), frame), 0, 0, 1,
                    2);
    grid->addWidget(fileBox_, 1, 0);
    grid->addWidget(browse, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Click here to Create the Co-efficient File"), frame),
                    2, 0);
    grid->addWidget(createFile, 2, 1);

    auto* edit = button(QStringLiteral("&Edit File"), "cmdEdit", this);
    auto* editHere = button(QStringLiteral("Edit in &Grid"), "cmdEditHere", this);
    auto* ok = button(QStringLiteral("&OK"), "cmdOK", this);
    auto* cancel = button(QStringLiteral("&Cancel"), "cmdCancel", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(edit);
    buttons->addWidget(editHere);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    fileBox_->setText(qpath(view_.session().inputs.coefficients));

    connect(browse, &QPushButton::clicked, this, &CoefficientFileDialog::onBrowse);
    connect(ok, &QPushButton::clicked, this, &CoefficientFileDialog::onOk);
    connect(createFile, &QPushButton::clicked, this, &CoefficientFileDialog::onCreateFile);
    connect(edit, &QPushButton::clicked, this, [this] { onEdit(false); });
    connect(editHere, &QPushButton::clicked, this, [this] { onEdit(true); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CoefficientFileDialog::onBrowse() {
    const QString file = getOpenFileName(this, QStringLiteral("Select existing Co-efficient File"),
                                         qpath(view_.session().dataFilesDir()));
    // A cancelled file dialog changes nothing.
    if (file.isEmpty()) return;
    chosen_ = file;
    view_.setInput(ChosenInput::Coefficients, fspath(file));
    fileBox_->setText(file);
}

void CoefficientFileDialog::onOk() {
    if (chosen_.isEmpty()) {
        showError(this, QStringLiteral("Please Enter Co-eff File"));
        fileBox_->setFocus();
        return;
    }
    const Session& session = view_.session();
    const std::filesystem::path file = fspath(chosen_);
    long species = 0;
    try {
        species = countCoefficientSpecies(file);
    } catch (const InputError& e) {
        showError(this, qstr(e.what()));
        return;
    }
    view_.setInput(ChosenInput::Coefficients, file);
    if (species != session.params.MaxSpec) {
        // A warning only: the file is used, and the parameters dialog lets MaxSpec be corrected.
        showError(this, QStringLiteral("Number of species entries in coefficient File= ") +
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

void CoefficientFileDialog::onCreateFile() {
    const Session& session = view_.session();
    if (!session.dataSetName.empty()) {
        // This dialog closes; the editor takes its place over the main window.
        hide();
        CoefficientEditor::run(view_, parentWidget());
        reject();
        return;
    }
    showError(this, QStringLiteral("Please Enter the DataSet Name"));
    showDataSetNameDialog(this, view_);
    if (session.dataSetName.empty()) return;
    // This dialog stays open beneath the editor.
    CoefficientEditor::run(view_, this);
}

void CoefficientFileDialog::onEdit(bool here) {
    const std::filesystem::path& file = view_.session().inputs.coefficients;
    if (file.empty()) {
        showError(this, QStringLiteral("Please enter Co-eff File"));
        fileBox_->setFocus();
        return;
    }
    // The rows are labelled by equation and species, as in the editor that creates the file.
    const RowHeadings rows = coefficientFileRows(view_.session().params.MaxSpec);
    if (here)
        editInputFileHere(this, file, coefficientFileHeadings(), rows);
    else
        editInputFile(this, file, coefficientFileHeadings(), rows);
}

}  // namespace orr::gui
