// The seams through which every window asks the user or the platform something: message boxes,
// the file-open dialog and opening a file in its associated program. Tests replace the handlers
// so that no test waits on a modal dialog.
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace orr::gui {

struct MessageRequest {
    QWidget* parent;
    QMessageBox::Icon icon;
    QString text;
    QMessageBox::StandardButtons buttons;
};

// The application's title, shown on every message box.
QString applicationTitle();

// Shows a modal message box with the application's title; returns the button pressed.
QMessageBox::StandardButton showMessage(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);
// The two kinds of message every window shows, so that one message always has one icon: an
// error (a missing or unusable entry, a step that cannot go on) has the critical icon, a note
// (a file was created) the information icon.
void showError(QWidget* parent, const QString& text);
void showNote(QWidget* parent, const QString& text);
// Replaces the message box (tests); an empty function restores the real one.
void setMessageHandler(std::function<QMessageBox::StandardButton(const MessageRequest&)> handler);

// The file-open dialog: offers only existing files, starts in `dir`, with the filter
// "Comma Delimited csv files(*.csv)" and "All files (*)". Returns the full path or an empty text.
QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir);
void setOpenFileHandler(std::function<QString(QWidget*, const QString&, const QString&)> handler);

// The folder dialog: an existing directory, starting in `dir`; an empty text when cancelled.
QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir);
void setDirectoryHandler(std::function<QString(QWidget*, const QString&, const QString&)> handler);

// Opens a file with the platform's default program. False when it failed, and also when it
// cannot be confirmed that the desktop has a program for that kind of file (a desktop whose
// file opener has no handler would otherwise open nothing, silently); the caller then shows the
// file in its own window.
bool openWithDefaultProgram(const QString& path);
void setOpenUrlHandler(std::function<bool(const QString&)> handler);

}  // namespace orr::gui
