#include "gui/ReportViewer.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "gui/GuiText.h"

namespace orr::gui {

ReportViewer::ReportViewer(const QString& path, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReportViewer"));
    setWindowTitle(QFileInfo(path).fileName());
    txtReport_ = new QPlainTextEdit(this);
    txtReport_->setObjectName(QStringLiteral("txtReport"));
    txtReport_->setReadOnly(true);
    txtReport_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtReport_->setFont(fixedPitchFont());
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        QString text = QString::fromUtf8(file.readAll());
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        txtReport_->setPlainText(text);
    } else {
        txtReport_->setPlainText(QStringLiteral("Cannot open ") + path + QStringLiteral(": ") +
                                 file.errorString());
    }
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtReport_);
    layout->addWidget(close);
    resize(900, 600);
}

QString ReportViewer::text() const {
    return txtReport_->toPlainText();
}

}  // namespace orr::gui
