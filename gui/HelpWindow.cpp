#include "gui/HelpWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/GuiText.h"

namespace orr::gui {

HelpWindow::HelpWindow(const QString& indexPage, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Orravant - Instructions"));

    contents_ = new QListWidget(this);
    contents_->setObjectName(QStringLiteral("lstContents"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("txtHelp"));
    browser_->setOpenExternalLinks(true);
    auto* split = new QSplitter(this);
    split->addWidget(contents_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 3);

    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("txtSearch"));
    search_->setPlaceholderText(QStringLiteral("Search the help"));
    auto* findButton = makeButton(QStringLiteral("&Find"), QStringLiteral("cmdFind"), this);
    searchResult_ = new QLabel(this);
    auto* top = new QHBoxLayout;
    top->addWidget(search_, 1);
    top->addWidget(findButton);
    top->addWidget(searchResult_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    sizeWithinScreenAndCloseOnEscape(this, 1000, 700);

    auto find = [this] {
        searchResult_->setText(findNext(search_->text()) ? QString() : QStringLiteral("Not found"));
    };
    connect(findButton, &QPushButton::clicked, this, find);
    connect(search_, &QLineEdit::returnPressed, this, find);
    connect(contents_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        browser_->scrollToAnchor(item->data(Qt::UserRole).toString());
    });
    connect(contents_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        browser_->scrollToAnchor(item->data(Qt::UserRole).toString());
    });

    QFile page(indexPage);
    if (indexPage.isEmpty() || !page.open(QIODevice::ReadOnly)) return;
    const QString html = QString::fromUtf8(page.readAll());
    browser_->setSearchPaths({QFileInfo(indexPage).absolutePath()});
    browser_->setSource(QUrl::fromLocalFile(QFileInfo(indexPage).absoluteFilePath()));
    fillContents(html);
    hasPage_ = true;
}

QString HelpWindow::findHelp(const std::filesystem::path& appDir) {
    const QDir programDir(QCoreApplication::applicationDirPath());
    // Installed (bin/ and share/orravant/ under one prefix), and in the build tree, which has
    // the same layout.
    QString installed =
        QDir::cleanPath(programDir.filePath(QStringLiteral("../share/orravant/help/index.html")));
    if (QFileInfo::exists(installed)) return installed;
    QString besideProgram = programDir.filePath(QStringLiteral("help/index.html"));
    if (QFileInfo::exists(besideProgram)) return besideProgram;
    QString inAppDir = QDir(qpath(appDir)).filePath(QStringLiteral("help/index.html"));
    if (QFileInfo::exists(inAppDir)) return inAppDir;
    return {};
}

void HelpWindow::fillContents(const QString& html) {
    // Every heading with an id is an entry; second-level headings are indented.
    static const QRegularExpression heading(
        QStringLiteral("<h([23])[^>]*\\bid=\"([^\"]+)\"[^>]*>(.*?)</h\\1>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    for (auto it = heading.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        QString title = m.captured(3);
        title.remove(tags);
        QTextDocument plain;
        plain.setHtml(title);
        auto* item = new QListWidgetItem(
            (m.captured(1) == QStringLiteral("3") ? QStringLiteral("    ") : QString()) +
                plain.toPlainText().simplified(),
            contents_);
        item->setData(Qt::UserRole, m.captured(2));
    }
}

bool HelpWindow::findNext(const QString& text) {
    if (text.isEmpty()) return false;
    if (browser_->find(text)) return true;
    browser_->moveCursor(QTextCursor::Start);
    return browser_->find(text);
}

}  // namespace orr::gui
