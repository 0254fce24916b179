#include "gui/ProductCodeDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/NumberText.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"

namespace orr::gui {

ProductCodeDialog::ProductCodeDialog(int species, double dbh, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmProductCodeError"));
    setWindowTitle(QStringLiteral("Product Code Error..."));

    auto* frame = new QGroupBox(QStringLiteral("Error - No Product Code Assigned"), this);
    makeCaptionBold(frame);
    auto makeLabel = [frame](const char* name, const QString& text) {
        auto* label = new QLabel(text, frame);
        label->setObjectName(QString::fromLatin1(name));
        return label;
    };
    auto* column = new QVBoxLayout(frame);
    column->addWidget(
        makeLabel("Label1", QStringLiteral(" SPECIES = ") + QString::number(species)));
    column->addWidget(makeLabel("Label2", QStringLiteral(" DBH = ") + qstr(shortest(dbh))));
    column->addWidget(makeLabel("Label3", QStringLiteral(" ENTER PRODUCT CODE...")));
    codeBox_ = new QLineEdit(frame);
    codeBox_->setObjectName(QStringLiteral("txtProdCode"));
    column->addWidget(codeBox_);

    auto* ok = makeButton(QStringLiteral("&OK"), QStringLiteral("cmdOK"), this);
    auto* cancel = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), this);
    cancel->setAutoDefault(false);
    frameAndButtons(this, frame, {ok, cancel});

    connect(ok, &QPushButton::clicked, this, &ProductCodeDialog::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ProductCodeDialog::onOk() {
    const std::string text = utf8(codeBox_->text());
    if (codeBox_->text().isEmpty())
        showMessage(this, QMessageBox::Information, QStringLiteral("Please enter a product code"));
    const std::optional<double> number = parseNumber(text);
    const std::optional<std::int16_t> code = number ? toInt16(*number) : std::nullopt;
    if (!code) {
        showMessage(this, QMessageBox::Information,
                    QStringLiteral("Please enter a valid product code"));
        codeBox_->setFocus();
        return;  // the prompt stays open
    }
    code_ = *code;
    accept();
}

}  // namespace orr::gui
