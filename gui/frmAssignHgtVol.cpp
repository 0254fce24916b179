#include "gui/frmAssignHgtVol.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainView.h"

namespace orr::gui {

frmAssignHgtVol::frmAssignHgtVol(MainView& view, QWidget* parent) : QDialog(parent), view_(view) {
    const QString caption = QStringLiteral("Assign Heights and Volume to Phase 2 trees");
    setObjectName(QStringLiteral("frmAssignHgtVol"));
    setWindowTitle(caption);

    auto* frame = new QGroupBox(caption, this);
    makeCaptionBold(frame);
    auto* prompt = new QLabel(QStringLiteral("Select the Input File"), frame);
    txtInputFileName_ = new QLineEdit(frame);
    txtInputFileName_->setObjectName(QStringLiteral("txtInputFileName"));
    txtInputFileName_->setReadOnly(true);  // only a file chosen with Browse is used
    txtInputFileName_->setMinimumWidth(360);
    txtInputFileName_->setText(qpath(view_.session().TreeInputFileName));
    auto* cmdBrowse = makeButton(QStringLiteral("&Browse"), QStringLiteral("cmdBrowse"), frame);
    auto* cmdEditFile =
        makeButton(QStringLiteral("&Edit File"), QStringLiteral("cmdEditFile"), frame);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(prompt, 0, 0, 1, 3);
    grid->addWidget(txtInputFileName_, 1, 0);
    grid->addWidget(cmdBrowse, 1, 1);
    grid->addWidget(cmdEditFile, 1, 2);

    cmdOK_ = makeButton(QStringLiteral("&OK"), QStringLiteral("cmdOK"), this);
    auto* cmdCancel = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), this);
    frameAndButtons(this, frame, {cmdOK_, cmdCancel});

    connect(cmdBrowse, &QPushButton::clicked, this, &frmAssignHgtVol::cmdBrowse_Click);
    connect(cmdEditFile, &QPushButton::clicked, this, &frmAssignHgtVol::cmdEditFile_Click);
    connect(cmdOK_, &QPushButton::clicked, this, &frmAssignHgtVol::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    view_.appendLog(QStringLiteral("Selecting Tree Input File..."));
}

void frmAssignHgtVol::cmdBrowse_Click() {
    Session& session = view_.session();
    const QString chosen = getOpenFileName(this, QStringLiteral("Select the Input File"),
                                           qpath(session.dataFilesDir()));
    if (!chosen.isEmpty()) {  // a cancelled dialog keeps the file chosen before
        session.TreeInputFileName = fspath(chosen);
        txtInputFileName_->setText(chosen);
    }
    cmdOK_->setFocus();
}

void frmAssignHgtVol::cmdEditFile_Click() {
    const auto& file = view_.session().TreeInputFileName;
    if (file.empty()) {
        showMessage(this, QMessageBox::Information, QStringLiteral("Please enter the Input File"));
        txtInputFileName_->setFocus();
        return;
    }
    if (!openWithDefaultProgram(qpath(file)))
        showMessage(this, QMessageBox::Information,
                    QStringLiteral("No program is set up to open ") + qpath(file));
}

void frmAssignHgtVol::cmdOK_Click() {
    const auto& file = view_.session().TreeInputFileName;
    if (file.empty()) {
        showMessage(this, QMessageBox::Information, QStringLiteral("Please Enter Input File"));
        txtInputFileName_->setFocus();
        return;
    }
    accept();
    view_.appendLog(QStringLiteral("Tree Input FileName:") + qpath(file));
}

}  // namespace orr::gui
