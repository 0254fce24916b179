#include "gui/InputFileEditor.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/CommaTableModel.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "model/editors/CoeffEditorModel.h"

namespace orr::gui {

InputFileEditor::InputFileEditor(const std::filesystem::path& file, const QStringList& headings,
                                 QWidget* parent, const RowHeadings& rows)
    : QDialog(parent), file_(file), model_(new CommaTableModel(headings, this)) {
    if (rows.labels) model_->setRowLabels(rows.labels, rows.toolTips);
    setObjectName(QStringLiteral("InputFileEditor"));
    setWindowTitle(QStringLiteral("Edit ") + qpath(file.filename()));

    auto* where = new QLabel(qpath(file), this);
    where->setObjectName(QStringLiteral("lblEditedFile"));
    where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("grdInputFile"));
    grid_->setModel(model_);
    grid_->setWordWrap(false);  // a number is never broken over two lines
    // Typing starts editing the current cell; Tab goes on to the next one.
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    grid_->setTabKeyNavigation(true);

    auto* save = makeButton(QStringLiteral("&Save"), QStringLiteral("cmdSave"), this);
    auto* cancel = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(where);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);

    connect(save, &QPushButton::clicked, this, &InputFileEditor::onSave);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    if (const std::optional<QString> problem = model_->load(file)) {
        showError(parent, *problem);
        return;
    }
    loaded_ = true;
    fitToContents();
}

void InputFileEditor::fitToContents() {
    grid_->resizeColumnsToContents();
    // Every column is wide enough for a number of the files written in full, "-0.1234568".
    const int number = grid_->fontMetrics().horizontalAdvance(QStringLiteral("-0.1234568")) + 16;
    int width = grid_->verticalHeader()->sizeHint().width() +
                grid_->verticalScrollBar()->sizeHint().width() + 4 * grid_->frameWidth();
    for (int c = 0; c < model_->columnCount(); ++c) {
        grid_->setColumnWidth(c, std::max(grid_->columnWidth(c), number));
        width += grid_->columnWidth(c);
    }
    const QRect screen =
        (parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
            ->availableGeometry();
    resize(std::min(width + 2 * layout()->contentsMargins().left(), screen.width() * 9 / 10),
           std::min(640, screen.height() * 8 / 10));
}

void InputFileEditor::onSave() {
    // The value still being typed in a cell is part of what is saved: taking the focus from the
    // cell's editor commits it.
    if (QWidget* cell = QApplication::focusWidget();
        cell && grid_->isAncestorOf(cell) && cell != grid_->viewport())
        grid_->setFocus();
    if (!model_->modified()) {
        accept();
        return;
    }
    if (const std::optional<QString> problem = model_->save(file_)) {
        showError(this, *problem);
        return;
    }
    accept();
}

void InputFileEditor::done(int result) {
    // Closing with changes not saved asks first, so that nothing typed is lost unnoticed.
    if (result != QDialog::Accepted && model_->modified()) {
        const auto answer = showMessage(this, QMessageBox::Question,
                                        QStringLiteral("Discard the changes to ") +
                                            qpath(file_.filename()) + QStringLiteral("?"),
                                        QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) return;
    }
    QDialog::done(result);
}

QStringList treeFileHeadings() {
    return {QStringLiteral("Plot"),    QStringLiteral("Species"), QStringLiteral("Product"),
            QStringLiteral("DBH"),     QStringLiteral("Height"),  QStringLiteral("Age"),
            QStringLiteral("Extra 1"), QStringLiteral("Extra 2")};
}

QStringList coefficientFileHeadings() {
    return {QStringLiteral("b0"), QStringLiteral("b1"), QStringLiteral("b2"), QStringLiteral("b3")};
}

RowHeadings coefficientFileRows(int maxSpec) {
    if (maxSpec <= 0) return {};
    constexpr long kFields = 4;
    const auto equationOf = [maxSpec](long field) {
        return field % kFields == 0 ? field / kFields / maxSpec + 1 : 0;
    };
    RowHeadings rows;
    rows.labels = [maxSpec, equationOf](long field) {
        const long equation = equationOf(field);
        if (equation == 0) return QString();  // the line continues a record
        if (equation > editors::CoeffEditorModel::kEquations) return QStringLiteral("not read");
        return QStringLiteral("Species %1 (equation %2)")
            .arg(field / kFields % maxSpec + 1)
            .arg(equation);
    };
    rows.toolTips = [equationOf](long field) {
        const long equation = equationOf(field);
        if (equation == 0 || equation > editors::CoeffEditorModel::kEquations) return QString();
        return qstr(editors::CoeffEditorModel::captions()[static_cast<std::size_t>(equation - 1)]);
    };
    return rows;
}

QStringList strataFileHeadings() {
    return {QStringLiteral("Strata"), QStringLiteral("Begin Plot"), QStringLiteral("End Plot"),
            QStringLiteral("Avg age")};
}

QStringList areasFileHeadings() {
    return {QStringLiteral("Stratum"), QStringLiteral("Acres")};
}

QStringList dbhFileHeadings() {
    return {QStringLiteral("Species"), QStringLiteral("Product"), QStringLiteral("Min DBH"),
            QStringLiteral("Max DBH")};
}

}  // namespace orr::gui
