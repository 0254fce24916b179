#include "gui/GridEditorDialog.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "gui/DialogServices.h"
#include "gui/GuiText.h"

namespace orr::gui {

namespace {
using editors::EditorKey;
using editors::KeyOutcome;

// 1000 twips at 15 twips to the pixel: the narrowest column.
constexpr int kColumnWidth = 67;
// The widest number a cell holds after its entry is committed.
const QString kWidestNumber = QStringLiteral("-0.1234568");
// Room beside a cell's text.
constexpr int kCellPadding = 14;

std::optional<EditorKey> editorKeyOf(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return EditorKey::Enter;
        case Qt::Key_Escape:
            return EditorKey::Escape;
        case Qt::Key_Left:
            return EditorKey::Left;
        case Qt::Key_Up:
            return EditorKey::Up;
        case Qt::Key_Right:
            return EditorKey::Right;
        case Qt::Key_Down:
            return EditorKey::Down;
        default:
            return std::nullopt;
    }
}
// A key that types a character into a cell (not a shortcut, not a moving key).
bool startsTyping(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).isPrint();
}
}  // namespace

GridEditorDialog::GridEditorDialog(MainView& view, std::unique_ptr<editors::GridEditorModel> model,
                                   const QString& caption, const QString& prompt, QWidget* parent)
    : QDialog(parent), view_(view), model_(std::move(model)) {
    setWindowTitle(caption);

    prompt_ = new QLabel(prompt, this);
    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("MSHFlexGrid1"));
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setWordWrap(false);  // "0.1234568" is one number, never "0." above "1234568"
    grid_->setColumnCount(model_->columnCount());

    // The editor box floats over the grid; it is a child of the window, not of the grid.
    editorBox_ = new QLineEdit(this);
    editorBox_->setObjectName(QStringLiteral("txtEdit"));
    editorBox_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    editorBox_->hide();

    saveButton_ = makeButton(QStringLiteral("&Save"), QStringLiteral("cmdSave"), this);
    cancelButton_ = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(saveButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);

    refreshAll();
    fitColumns();
    fitWindow();

    grid_->installEventFilter(this);
    editorBox_->installEventFilter(this);
    connect(grid_, &QTableWidget::cellClicked, this, &GridEditorDialog::gridClicked);
    connect(grid_, &QTableWidget::currentCellChanged, this,
            [this](int row, int column, int, int) { gridCellChanged(row, column); });
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &GridEditorDialog::gridScrolled);
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &GridEditorDialog::gridScrolled);
    connect(editorBox_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_->setEditorText(utf8(text)); });
    connect(saveButton_, &QPushButton::clicked, this, &GridEditorDialog::onSave);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

GridEditorDialog::~GridEditorDialog() = default;

int GridEditorDialog::textWidth(int row, int column) const {
    QFont font = grid_->font();
    font.setBold(model_->style(row, column).bold);
    return QFontMetrics(font).horizontalAdvance(qstr(model_->cell(row, column))) + kCellPadding;
}

void GridEditorDialog::fitColumns() {
    const int number = grid_->fontMetrics().horizontalAdvance(kWidestNumber) + kCellPadding;
    int total = 0;
    for (int c = 0; c < model_->columnCount(); ++c) {
        int width = std::max(kColumnWidth, model_->isEditableColumn(c) ? number : 0);
        for (int r = 0; r < model_->rowCount(); ++r)
            if (!model_->isMergedRow(r)) width = std::max(width, textWidth(r, c));
        grid_->setColumnWidth(c, width);
        total += width;
    }
    // A caption row across the grid shows whole: the last column takes what it lacks.
    int caption = 0;
    for (int r = 0; r < model_->rowCount(); ++r)
        if (model_->isMergedRow(r)) caption = std::max(caption, textWidth(r, 0));
    const int last = model_->columnCount() - 1;
    if (last >= 0 && caption > total)
        grid_->setColumnWidth(last, grid_->columnWidth(last) + caption - total);
}

void GridEditorDialog::fitWindow() {
    int width = 2 * grid_->frameWidth() + grid_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < grid_->columnCount(); ++c) width += grid_->columnWidth(c);
    const int rows = std::max(model_->rowCount(), 8);
    const int height =
        2 * grid_->frameWidth() + rows * grid_->verticalHeader()->defaultSectionSize();
    const QMargins margins = layout()->contentsMargins();
    const int chrome = prompt_->sizeHint().height() + saveButton_->sizeHint().height() +
                       2 * layout()->spacing() + margins.top() + margins.bottom();
    const QRect screen = this->screen()->availableGeometry();
    resize(std::min(width + margins.left() + margins.right(), screen.width() * 9 / 10),
           std::min(height + chrome, screen.height() * 8 / 10));
}

QString GridEditorDialog::cellName(int row, int column) const {
    QStringList parts;
    for (int c = 0; c < model_->columnCount(); ++c) {
        const std::string& label = model_->cell(row, c);
        if (!model_->isEditableColumn(c) && !label.empty() && label != "-") parts << qstr(label);
    }
    if (parts.isEmpty()) parts << QStringLiteral("Row %1").arg(row);
    parts << qstr(model_->cell(0, column));
    return parts.join(QStringLiteral(", "));
}

void GridEditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activated_) return;
    activated_ = true;
    model_->activate();
    showEditor();
    // The window takes the focus for itself once it is shown; give it back to the editor box.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (editorBox_->isVisible()) {
                editorBox_->setFocus();
                editorBox_->selectAll();
            }
        },
        Qt::QueuedConnection);
}

bool GridEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        const int key = keyEvent->key();
        if (watched == editorBox_) {
            if (const auto editorKey = editorKeyOf(key)) {
                handleEditorKey(*editorKey);
                return true;
            }
            // Tab goes on to the next cell as Enter does, Shift+Tab back as Left does.
            if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
                handleEditorKey(key == Qt::Key_Tab ? EditorKey::Right : EditorKey::Left);
                return true;
            }
        } else if (watched == grid_ && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            // Enter in the grid starts editing the current cell.
            model_->startEdit();
            showEditor();
            return true;
        } else if (watched == grid_ && (key == Qt::Key_Tab || key == Qt::Key_Backtab)) {
            // With the box closed (after Esc), Tab still moves on from the current cell.
            if (model_->startEdit()) {
                editorBox_->setText(qstr(model_->editorText()));
                handleEditorKey(key == Qt::Key_Tab ? EditorKey::Right : EditorKey::Left);
                return true;
            }
        } else if (watched == grid_ && startsTyping(*keyEvent)) {
            // Typing in the grid starts editing the current cell with what was typed.
            if (model_->startEdit()) {
                showEditor();
                editorBox_->setText(keyEvent->text());
                model_->setEditorText(utf8(keyEvent->text()));
                return true;
            }
        }
    } else if (watched == editorBox_ && event->type() == QEvent::FocusIn) {
        editorBox_->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

void GridEditorDialog::handleEditorKey(EditorKey key) {
    const int row = model_->currentRow();
    const int column = model_->currentColumn();
    model_->setEditorText(utf8(editorBox_->text()));
    const KeyOutcome outcome = model_->handleKey(key);
    refreshRows();
    refreshCell(row, column);
    showEditor();
    if (outcome == KeyOutcome::SaveFocused) saveButton_->setFocus();
    if (outcome == KeyOutcome::Closed) grid_->setFocus();
}

void GridEditorDialog::gridClicked(int row, int column) {
    if (syncing_) return;
    const int oldRow = model_->currentRow();
    const int oldColumn = model_->currentColumn();
    model_->click(row, column);
    refreshCell(oldRow, oldColumn);
    showEditor();
}

void GridEditorDialog::gridCellChanged(int row, int column) {
    if (syncing_ || row < 0 || column < 0) return;
    // Leaving a cell commits the pending entry to it.
    const int oldRow = model_->currentRow();
    const int oldColumn = model_->currentColumn();
    model_->setCurrentCell(row, column);
    refreshCell(oldRow, oldColumn);
    if (!model_->editing()) editorBox_->hide();
}

void GridEditorDialog::gridScrolled() {
    if (syncing_) return;
    model_->scrolled();
    editorBox_->hide();
}

void GridEditorDialog::onSave() {
    const int row = model_->currentRow();
    const int column = model_->currentColumn();
    if (model_->editing()) model_->setEditorText(utf8(editorBox_->text()));
    const std::filesystem::path file = targetFile();
    const editors::SaveResult result = model_->save(file);
    refreshCell(row, column);
    if (!result.saved) {
        // The cell that cannot be saved is shown with the editor box open on it, and the message
        // names it as the grid does ("Species 1, b1") rather than by its row and column numbers.
        QString message = qstr(result.message);
        static const QRegularExpression gridCell(QStringLiteral("^Row \\d+, column \\d+"));
        if (model_->editing())
            message.replace(gridCell, cellName(model_->currentRow(), model_->currentColumn()));
        showError(this, message);
        showEditor();
        return;
    }
    editorBox_->hide();
    fileSaved(file);
    accept();
}

void GridEditorDialog::refreshAll() {
    grid_->setRowCount(model_->rowCount());
    for (int r = 0; r < model_->rowCount(); ++r)
        for (int c = 0; c < model_->columnCount(); ++c) refreshCell(r, c);
}

void GridEditorDialog::refreshRows() {
    const int shown = grid_->rowCount();
    if (shown == model_->rowCount()) return;
    grid_->setRowCount(model_->rowCount());
    for (int r = shown; r < model_->rowCount(); ++r)
        for (int c = 0; c < model_->columnCount(); ++c) refreshCell(r, c);
}

void GridEditorDialog::refreshCell(int row, int column) {
    if (row < 0 || row >= grid_->rowCount() || column < 0 || column >= grid_->columnCount()) return;
    QTableWidgetItem* item = grid_->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid_->setItem(row, column, item);
    }
    item->setText(qstr(model_->cell(row, column)));
    // A value wider than its column widens it; nothing is cut or wrapped.
    if (!model_->isMergedRow(row) && textWidth(row, column) > grid_->columnWidth(column))
        grid_->setColumnWidth(column, textWidth(row, column));
    const editors::CellStyle style = model_->style(row, column);
    QFont font = item->font();
    font.setBold(style.bold);
    item->setFont(font);
    if (style.centred)
        item->setTextAlignment(Qt::AlignCenter);
    else if (model_->isEditableColumn(column) && row > 0)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    else
        item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A caption row is one cell across the grid while its cells read the same.
    const bool merged = model_->isMergedRow(row);
    if (merged != (grid_->columnSpan(row, 0) > 1))
        grid_->setSpan(row, 0, 1, merged ? model_->columnCount() : 1);
}

void GridEditorDialog::showEditor() {
    const int row = model_->currentRow();
    const int column = model_->currentColumn();
    syncing_ = true;
    // Rows just appended must be laid out before the grid can scroll to them.
    grid_->doItemsLayout();
    if (grid_->currentRow() != row || grid_->currentColumn() != column)
        grid_->setCurrentCell(row, column);
    if (model_->editing()) grid_->scrollToItem(grid_->item(row, column));
    syncing_ = false;
    if (!model_->editing()) {
        editorBox_->hide();
        editorBox_->clear();
        return;
    }
    placeEditor();
    editorBox_->setText(qstr(model_->editorText()));
    editorBox_->show();
    editorBox_->raise();
    editorBox_->setFocus();
    editorBox_->selectAll();
}

void GridEditorDialog::placeEditor() {
    const QRect cell =
        grid_->visualItemRect(grid_->item(model_->currentRow(), model_->currentColumn()));
    editorBox_->setGeometry(QRect(grid_->viewport()->mapTo(this, cell.topLeft()), cell.size()));
}

void GridEditorDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (editorBox_->isVisible()) {
        layout()->activate();
        placeEditor();
    }
}

}  // namespace orr::gui
