#include "gui/DialogServices.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace orr::gui {

namespace {
std::function<QMessageBox::StandardButton(const MessageRequest&)>& messageHandler() {
    static std::function<QMessageBox::StandardButton(const MessageRequest&)> handler;
    return handler;
}
std::function<QString(QWidget*, const QString&, const QString&)>& openFileHandler() {
    static std::function<QString(QWidget*, const QString&, const QString&)> handler;
    return handler;
}
std::function<bool(const QString&)>& openUrlHandler() {
    static std::function<bool(const QString&)> handler;
    return handler;
}
}  // namespace

QString applicationTitle() {
    return QStringLiteral("Orravant");
}

QMessageBox::StandardButton showMessage(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& text, QMessageBox::StandardButtons buttons) {
    if (messageHandler()) return messageHandler()({parent, icon, text, buttons});
    QMessageBox box(icon, applicationTitle(), text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void setMessageHandler(std::function<QMessageBox::StandardButton(const MessageRequest&)> handler) {
    messageHandler() = std::move(handler);
}

QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir) {
    if (openFileHandler()) return openFileHandler()(parent, caption, dir);
    QFileDialog dialog(parent, caption, dir);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(
        {QStringLiteral("Comma Delimited csv files(*.csv)"), QStringLiteral("All files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

void setOpenFileHandler(std::function<QString(QWidget*, const QString&, const QString&)> handler) {
    openFileHandler() = std::move(handler);
}

bool openWithDefaultProgram(const QString& path) {
    if (openUrlHandler()) return openUrlHandler()(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void setOpenUrlHandler(std::function<bool(const QString&)> handler) {
    openUrlHandler() = std::move(handler);
}

}  // namespace orr::gui
