// Small conversions between the program's texts and paths and Qt's, shared by the dialogs.
#pragma once

#include <QFont>
#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

class QGroupBox;
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

}  // namespace orr::gui
