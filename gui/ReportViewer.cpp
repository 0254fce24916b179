#include "gui/ReportViewer.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/GuiText.h"

namespace orr::gui {

ReportViewer::ReportViewer(const QString& path, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReportViewer"));
    setWindowTitle(QFileInfo(path).fileName());
    reportText_ = new QPlainTextEdit(this);
    reportText_->setObjectName(QStringLiteral("txtReport"));
    reportText_->setReadOnly(true);
    reportText_->setLineWrapMode(QPlainTextEdit::NoWrap);
    reportText_->setFont(fixedPitchFont());
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        QString text = QString::fromUtf8(file.readAll());
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        reportText_->setPlainText(text);
    } else {
        reportText_->setPlainText(QStringLiteral("Cannot open ") + path + QStringLiteral(": ") +
                                  file.errorString());
    }
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(reportText_);
    layout->addWidget(close);
    // As large as a report wants, but never larger than the screen.
    const QRect screen = this->screen()->availableGeometry();
    resize(std::min(900, screen.width() * 9 / 10), std::min(600, screen.height() * 8 / 10));
}

QString ReportViewer::text() const {
    return reportText_->toPlainText();
}

}  // namespace orr::gui
