#include "gui/DataSetNameDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "core/InputError.h"
#include "files/DataSetFiles.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainView.h"

namespace orr::gui {

namespace {
constexpr int kMaxNameLength = 6;
// The reports whose presence makes a name one that is already in use.
constexpr files::DataSetFile kReports[] = {files::DataSetFile::Regression,
                                           files::DataSetFile::VolumeSummary,
                                           files::DataSetFile::StratumVolume};

bool isIllegalInFileName(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7f || QStringLiteral("\\/:*?\"<>|").contains(c);
}
}  // namespace

DataSetNameDialog::DataSetNameDialog(MainView& view, QWidget* parent)
    : QDialog(parent), view_(view) {
    setObjectName(QStringLiteral("frmEnterDataSetName"));
    setWindowTitle(QStringLiteral("Enter DataSet Name"));

    auto* frame = new QGroupBox(QStringLiteral("Enter DataSet Name"), this);
    makeCaptionBold(frame);
    auto* prompt = new QLabel(QStringLiteral(" Enter DataSet Name"), frame);
    nameBox_ = new QLineEdit(frame);
    nameBox_->setObjectName(QStringLiteral("txtDataSetName"));
    prompt->setBuddy(nameBox_);
    auto* hint = new QLabel(QStringLiteral("(Upto six characters)"), frame);
    auto* row = new QHBoxLayout(frame);
    row->addWidget(prompt);
    row->addWidget(nameBox_, 1);
    row->addWidget(hint);

    saveButton_ = makeButton(QStringLiteral("&Save"), QStringLiteral("cmdSave"), this);
    cancelButton_ = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), this);
    frameAndButtons(this, frame, {saveButton_, cancelButton_});

    nameBox_->installEventFilter(this);
    connect(saveButton_, &QPushButton::clicked, this, &DataSetNameDialog::onSave);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void DataSetNameDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    nameBox_->setFocus();
}

bool DataSetNameDialog::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the name box only moves on to Save; it does not save.
    if (watched == nameBox_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            saveButton_->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString DataSetNameDialog::nameProblem(const QString& name) {
    if (name.isEmpty()) return QStringLiteral("Please Enter the DataSet Name");
    if (name.size() > kMaxNameLength)
        return QStringLiteral("The dataset name can have upto 6 characters");
    for (QChar c : name)
        if (isIllegalInFileName(c))
            return QStringLiteral(
                "The dataset name cannot hold any of the characters \\ / : * ? \" < > | "
                "or a control character");
    // A name that reads one way and is another: every file, log line and report would show it.
    const std::string text = utf8(name);
    if (const std::string_view hidden = firstFormatCharacter(text); !hidden.empty())
        return QString::fromStdString("The dataset name \"" + shownText(text) + "\" holds " +
                                      shownText(hidden) +
                                      ", a character that changes the direction or visibility "
                                      "of text");
    return {};
}

void DataSetNameDialog::refuse(const QString& message, bool emptyBox) {
    if (!message.isEmpty()) showError(this, message);
    if (emptyBox) nameBox_->clear();
    nameBox_->setFocus();
    nameBox_->selectAll();
}

void DataSetNameDialog::onSave() {
    const QString name = nameBox_->text().trimmed();
    if (const QString problem = nameProblem(name); !problem.isEmpty()) {
        // A name that is too long is emptied; an empty or ill-formed one is left to correct.
        refuse(problem, name.size() > kMaxNameLength);
        return;
    }
    const Session& session = view_.session();
    const std::string stem = utf8(name);
    bool reportsExist = false;
    for (files::DataSetFile report : kReports) {
        std::error_code ec;
        if (std::filesystem::exists(files::path(session.dataFilesDir(), stem, report), ec))
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
    view_.setDataSetName(stem);
    view_.appendLog(QStringLiteral("DataSet Name is: ") + name);
    view_.showOutputLabel(QStringLiteral("lbldatasetname"),
                          QStringLiteral("DataSetName - ") + name);
    accept();
}

}  // namespace orr::gui
