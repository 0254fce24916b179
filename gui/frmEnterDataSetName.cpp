#include "gui/frmEnterDataSetName.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainView.h"

namespace orr::gui {

namespace {
constexpr int kMaxNameLength = 6;
const char* const kReportSuffixes[] = {"_Regress.txt", "_VolSum.txt", "_StratVol.txt"};

bool isIllegalInFileName(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7f || QStringLiteral("\\/:*?\"<>|").contains(c);
}
}  // namespace

frmEnterDataSetName::frmEnterDataSetName(MainView& view, QWidget* parent)
    : QDialog(parent), view_(view) {
    setObjectName(QStringLiteral("frmEnterDataSetName"));
    setWindowTitle(QStringLiteral("Enter DataSet Name"));

    auto* frame = new QGroupBox(QStringLiteral("Enter DataSet Name"), this);
    makeCaptionBold(frame);
    auto* prompt = new QLabel(QStringLiteral(" Enter DataSet Name"), frame);
    txtDataSetName_ = new QLineEdit(frame);
    txtDataSetName_->setObjectName(QStringLiteral("txtDataSetName"));
    prompt->setBuddy(txtDataSetName_);
    auto* hint = new QLabel(QStringLiteral("(Upto six characters)"), frame);
    auto* row = new QHBoxLayout(frame);
    row->addWidget(prompt);
    row->addWidget(txtDataSetName_, 1);
    row->addWidget(hint);

    cmdSave_ = makeButton(QStringLiteral("&Save"), QStringLiteral("cmdSave"), this);
    cmdCancel_ = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), this);
    frameAndButtons(this, frame, {cmdSave_, cmdCancel_});

    txtDataSetName_->installEventFilter(this);
    connect(cmdSave_, &QPushButton::clicked, this, &frmEnterDataSetName::cmdSave_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void frmEnterDataSetName::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    txtDataSetName_->setFocus();
}

bool frmEnterDataSetName::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the name box only moves on to Save; it does not save.
    if (watched == txtDataSetName_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdSave_->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString frmEnterDataSetName::nameProblem(const QString& name) {
    if (name.isEmpty()) return QStringLiteral("Please Enter the DataSet Name");
    if (name.size() > kMaxNameLength)
        return QStringLiteral("The dataset name can have upto 6 characters");
    for (QChar c : name)
        if (isIllegalInFileName(c))
            return QStringLiteral(
                "The dataset name cannot hold any of the characters \\ / : * ? \" < > | "
                "or a control character");
    return {};
}

void frmEnterDataSetName::refuse(const QString& message, bool emptyBox) {
    if (!message.isEmpty()) showMessage(this, QMessageBox::Information, message);
    if (emptyBox) txtDataSetName_->clear();
    txtDataSetName_->setFocus();
    txtDataSetName_->selectAll();
}

void frmEnterDataSetName::cmdSave_Click() {
    const QString name = txtDataSetName_->text().trimmed();
    if (const QString problem = nameProblem(name); !problem.isEmpty()) {
        // A name that is too long is emptied; an empty or ill-formed one is left to correct.
        refuse(problem, name.size() > kMaxNameLength);
        return;
    }
    Session& session = view_.session();
    const std::string stem = utf8(name);
    bool reportsExist = false;
    for (const char* suffix : kReportSuffixes) {
        std::error_code ec;
        if (std::filesystem::exists(session.dataFilesDir() / (stem + suffix), ec))
            reportsExist = true;
    }
    if (reportsExist) {
        const auto answer = showMessage(this, QMessageBox::Question,
                                        QStringLiteral("Previous dataset with name ") + name +
                                            QStringLiteral(" exists, do you want to overwrite ?"),
                                        QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            refuse({}, true);
            return;
        }
    }
    session.DataSetName = stem;
    view_.appendLog(QStringLiteral("DataSet Name is: ") + name);
    view_.showOutputLabel(QStringLiteral("lbldatasetname"),
                          QStringLiteral("DataSetName - ") + name);
    accept();
}

}  // namespace orr::gui
