#include "gui/TreeFilePicker.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/DialogServices.h"
#include "gui/FileOpening.h"
#include "gui/GuiText.h"
#include "gui/InputFileEditor.h"
#include "gui/MainView.h"

namespace orr::gui {

TreeFilePicker::TreeFilePicker(MainView& view, QWidget* parent) : QDialog(parent), view_(view) {
    const QString caption = QStringLiteral("Assign Heights and Volume to Phase 2 trees");
    setObjectName(QStringLiteral("frmAssignHgtVol"));
    setWindowTitle(caption);

    auto* frame = new QGroupBox(caption, this);
    makeCaptionBold(frame);
    auto* prompt = new QLabel(QStringLiteral("Select the Input File"), frame);
    fileBox_ = new QLineEdit(frame);
    fileBox_->setObjectName(QStringLiteral("txtInputFileName"));
    fileBox_->setReadOnly(true);  // only a file chosen with Browse is used
    fileBox_->setMinimumWidth(360);
    fileBox_->setText(qpath(view_.session().inputs.trees));
    auto* browse = makeButton(QStringLiteral("&Browse"), QStringLiteral("cmdBrowse"), frame);
    auto* editFile = makeButton(QStringLiteral("&Edit File"), QStringLiteral("cmdEditFile"), frame);
    auto* editHere =
        makeButton(QStringLiteral("Edit in &Grid"), QStringLiteral("cmdEditFileHere"), frame);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(prompt, 0, 0, 1, 4);
    grid->addWidget(fileBox_, 1, 0);
    grid->addWidget(browse, 1, 1);
    grid->addWidget(editFile, 1, 2);
    grid->addWidget(editHere, 1, 3);

    okButton_ = makeButton(QStringLiteral("&OK"), QStringLiteral("cmdOK"), this);
    auto* cancel = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), this);
    frameAndButtons(this, frame, {okButton_, cancel});

    connect(browse, &QPushButton::clicked, this, &TreeFilePicker::onBrowse);
    connect(editFile, &QPushButton::clicked, this, [this] { onEditFile(false); });
    connect(editHere, &QPushButton::clicked, this, [this] { onEditFile(true); });
    connect(okButton_, &QPushButton::clicked, this, &TreeFilePicker::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    view_.appendLog(QStringLiteral("Selecting Tree Input File..."));
}

void TreeFilePicker::onBrowse() {
    const Session& session = view_.session();
    const QString chosen = getOpenFileName(this, QStringLiteral("Select the Input File"),
                                           qpath(session.dataFilesDir()));
    if (!chosen.isEmpty()) {  // a cancelled dialog keeps the file chosen before
        view_.setInput(ChosenInput::Trees, fspath(chosen));
        fileBox_->setText(chosen);
    }
    okButton_->setFocus();
}

void TreeFilePicker::onEditFile(bool here) {
    const auto& file = view_.session().inputs.trees;
    if (file.empty()) {
        showError(this, QStringLiteral("Please enter the Input File"));
        fileBox_->setFocus();
        return;
    }
    if (here)
        editInputFileHere(this, file, treeFileHeadings());
    else
        editInputFile(this, file, treeFileHeadings());
}

void TreeFilePicker::onOk() {
    const auto& file = view_.session().inputs.trees;
    if (file.empty()) {
        showError(this, QStringLiteral("Please Enter Input File"));
        fileBox_->setFocus();
        return;
    }
    accept();
    view_.appendLog(QStringLiteral("Tree Input FileName:") + qpath(file));
}

}  // namespace orr::gui
