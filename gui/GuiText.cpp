#include "gui/GuiText.h"

#include <QChildEvent>
#include <QDialog>
#include <QEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace orr::gui {

namespace {

// Gives what a bold frame holds the normal font back as each child is readied for showing; a
// frame inside the frame keeps a bold caption of its own.
class NormalFontForContents : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ChildPolished) return false;
        auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child());
        auto* frame = qobject_cast<QWidget*>(watched);
        if (!child || !frame) return false;
        const bool innerFrame = qobject_cast<QGroupBox*>(child) != nullptr;
        QFont font = innerFrame ? frame->font() : child->font();
        font.setBold(innerFrame);
        child->setFont(font);
        return false;
    }
};

}  // namespace

QFont fixedPitchFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

void makeCaptionBold(QGroupBox* frame) {
    QFont bold = frame->font();
    bold.setBold(true);
    frame->setFont(bold);
    frame->installEventFilter(new NormalFontForContents(frame));
}

QPushButton* makeButton(const QString& caption, const QString& objectName, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    return button;
}

void frameAndButtons(QDialog* dialog, QWidget* frame, std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons) row->addWidget(button);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(frame);
    layout->addLayout(row);
}

void sizeWithinScreenAndCloseOnEscape(QWidget* window, int width, int height) {
    QSize size(width, height);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 80));
    window->resize(size);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}

}  // namespace orr::gui
