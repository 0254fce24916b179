// A read-only window that shows a report in a fixed-pitch font, so that its columns line up;
// used when the platform has no program to open the file with, and when the user asks for it.
#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace orr::gui {

class ReportViewer : public QDialog {
    Q_OBJECT
  public:
    ReportViewer(const QString& path, QWidget* parent = nullptr);
    QString text() const;

  private:
    QPlainTextEdit* reportText_;
};

}  // namespace orr::gui
