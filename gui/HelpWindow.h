// Step 12: the program's HTML help in a window with its contents and a search box.
#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace orr::gui {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    // `indexPage` is help/index.html; an empty or missing page leaves the window without one.
    explicit HelpWindow(const QString& indexPage, QWidget* parent = nullptr);

    // help/index.html in ../share/orravant/ from the executable's directory (installed, and in
    // the build tree), else beside the executable, else in the application directory; empty if
    // none.
    static QString findHelp(const std::filesystem::path& appDir);

    bool hasPage() const { return hasPage_; }
    // Finds the next place that holds the text, from the top again after the end; false when
    // the page does not hold it at all.
    bool findNext(const QString& text);
    QTextBrowser* browser() const { return browser_; }
    QListWidget* contents() const { return contents_; }

  private:
    void fillContents(const QString& html);

    QTextBrowser* browser_;
    QListWidget* contents_;
    QLineEdit* search_;
    QLabel* searchResult_;
    bool hasPage_ = false;
};

}  // namespace orr::gui
