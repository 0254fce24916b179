#include "gui/DialogServices.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMimeDatabase>
#include <QProcess>
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
std::function<QString(QWidget*, const QString&, const QString&)>& directoryHandler() {
    static std::function<QString(QWidget*, const QString&, const QString&)> handler;
    return handler;
}

// Whether the desktop names a program for files of this kind. Where the platform's own open call
// reports a missing program itself (Windows, macOS) it is trusted; on other desktops the file
// opener starts whether or not anything can show the file, so its MIME database is asked first.
bool desktopHasProgramFor(const QString& path) {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    Q_UNUSED(path);
    return true;
#else
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished();
        return false;
    }
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 &&
           !query.readAllStandardOutput().trimmed().isEmpty();
#endif
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

void showError(QWidget* parent, const QString& text) {
    showMessage(parent, QMessageBox::Critical, text);
}

void showNote(QWidget* parent, const QString& text) {
    showMessage(parent, QMessageBox::Information, text);
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

QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir) {
    if (directoryHandler()) return directoryHandler()(parent, caption, dir);
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

void setDirectoryHandler(std::function<QString(QWidget*, const QString&, const QString&)> handler) {
    directoryHandler() = std::move(handler);
}

bool openWithDefaultProgram(const QString& path) {
    if (openUrlHandler()) return openUrlHandler()(path);
    return desktopHasProgramFor(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void setOpenUrlHandler(std::function<bool(const QString&)> handler) {
    openUrlHandler() = std::move(handler);
}

}  // namespace orr::gui
