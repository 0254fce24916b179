#include "gui/frmProductCodeError.h"

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

frmProductCodeError::frmProductCodeError(int species, double dbh, QWidget* parent)
    : QDialog(parent) {
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
    txtProdCode_ = new QLineEdit(frame);
    txtProdCode_->setObjectName(QStringLiteral("txtProdCode"));
    column->addWidget(txtProdCode_);

    auto* cmdOK = makeButton(QStringLiteral("&OK"), QStringLiteral("cmdOK"), this);
    auto* cmdCancel = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), this);
    cmdCancel->setAutoDefault(false);
    frameAndButtons(this, frame, {cmdOK, cmdCancel});

    connect(cmdOK, &QPushButton::clicked, this, &frmProductCodeError::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmProductCodeError::cmdOK_Click() {
    const std::string text = utf8(txtProdCode_->text());
    if (txtProdCode_->text().isEmpty())
        showMessage(this, QMessageBox::Information, QStringLiteral("Please enter a product code"));
    const std::optional<double> number = parseNumber(text);
    const std::optional<std::int16_t> code = number ? toInt16(*number) : std::nullopt;
    if (!code) {
        showMessage(this, QMessageBox::Information,
                    QStringLiteral("Please enter a valid product code"));
        txtProdCode_->setFocus();
        return;  // the prompt stays open
    }
    code_ = *code;
    accept();
}

}  // namespace orr::gui
