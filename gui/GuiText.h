// Small conversions between the program's texts and paths and Qt's, shared by the dialogs.
#pragma once

#include <QFont>
#include <QString>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

class QDialog;
class QGroupBox;
class QPushButton;
class QWidget;

namespace orr::gui {

inline QString qstr(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string utf8(const QString& s) {
    return s.toUtf8().toStdString();
}
inline QString qpath(const std::filesystem::path& p) {
    return qstr(p.string());
}
inline std::filesystem::path fspath(const QString& s) {
    return std::filesystem::path(utf8(s));
}

// The fixed-pitch font of the status log and the report viewer.
QFont fixedPitchFont();
// Frame captions are bold; what the frame holds keeps the normal font.
void makeCaptionBold(QGroupBox* frame);

// A push button with its caption (an ampersand marks the accelerator) and its objectName.
QPushButton* makeButton(const QString& caption, const QString& objectName, QWidget* parent);
// A dialog's layout: its frame above a row of buttons aligned to the right.
void frameAndButtons(QDialog* dialog, QWidget* frame, std::initializer_list<QPushButton*> buttons);
// A window of its own (results, help): sized to `width` x `height` but kept within the screen
// (a laptop's 1366x768, frame and task bar included), and closed by Escape as a dialog is.
void sizeWithinScreenAndCloseOnEscape(QWidget* window, int width, int height);

}  // namespace orr::gui
