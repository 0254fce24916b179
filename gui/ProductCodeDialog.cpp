#include "gui/ProductCodeDialog.h"

#include <QCheckBox>
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

namespace {

// A DBH to 0.1 inch, rounded as the product search rounds it.
QString inches(double dbh) {
    return qstr(fixedDecimalsHalfAway(roundHalfEven(dbh, 1), "0.0"));
}

// Where the DBH lies among the DBH limits of its species.
QString gapText(const ProductCodeQuestion& q) {
    QString where;
    if (q.gapFrom && q.gapTo)
        where =
            QStringLiteral("between %1 and %2 inches").arg(inches(*q.gapFrom), inches(*q.gapTo));
    else if (q.gapFrom)
        where = QStringLiteral("above %1 inches").arg(inches(*q.gapFrom));
    else if (q.gapTo)
        where = QStringLiteral("below %1 inches").arg(inches(*q.gapTo));
    else
        return QStringLiteral("Species %1 has no DBH limits in the DBH file.").arg(q.species);
    return QStringLiteral(
               "No product class of species %1 takes this DBH: it lies in the gap %2 "
               "of the DBH file.")
        .arg(q.species)
        .arg(where);
}

// The codes the prompt takes: the product classes of the DBH file, 1 to MaxProd.
QString validProductCodes(int maxProduct) {
    return maxProduct == 1 ? QStringLiteral(" Valid product code: 1")
                           : QStringLiteral(" Valid product codes: 1 to %1").arg(maxProduct);
}

}  // namespace

ProductCodeDialog::ProductCodeDialog(const ProductCodeQuestion& question, bool offerGap,
                                     QWidget* parent)
    : QDialog(parent), question_(question) {
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
    if (question.plot != 0)
        column->addWidget(
            makeLabel("lblPlot", QStringLiteral(" PLOT = ") + QString::number(question.plot)));
    column->addWidget(
        makeLabel("Label1", QStringLiteral(" SPECIES = ") + QString::number(question.species)));
    column->addWidget(makeLabel("Label2", QStringLiteral(" DBH = ") + inches(question.dbh)));
    if (offerGap) {
        auto* gap = makeLabel("lblDbhGap", gapText(question));
        gap->setWordWrap(true);
        column->addWidget(gap);
    }
    column->addWidget(makeLabel("Label3", QStringLiteral(" ENTER PRODUCT CODE...")));
    if (question.maxProduct > 0)
        column->addWidget(makeLabel("lblValidCodes", validProductCodes(question.maxProduct)));
    codeBox_ = new QLineEdit(frame);
    codeBox_->setObjectName(QStringLiteral("txtProdCode"));
    column->addWidget(codeBox_);
    if (offerGap) {
        wholeGapBox_ = new QCheckBox(
            QStringLiteral("&Use this answer for every tree of this species in this DBH gap"),
            frame);
        wholeGapBox_->setObjectName(QStringLiteral("chkWholeGap"));
        wholeGapBox_->setChecked(true);
        column->addWidget(wholeGapBox_);
    }
    auto* cancelNote = makeLabel(
        "lblCancelDrops", offerGap ? QStringLiteral("Cancel drops the tree (with the box ticked, "
                                                    "every tree of this species in this gap): "
                                                    "it is counted in no class.")
                                   : QStringLiteral("Cancel drops the tree: it is counted in no "
                                                    "class."));
    cancelNote->setWordWrap(true);
    column->addWidget(cancelNote);

    auto* ok = makeButton(QStringLiteral("&OK"), QStringLiteral("cmdOK"), this);
    auto* cancel = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), this);
    cancel->setAutoDefault(false);
    frameAndButtons(this, frame, {ok, cancel});

    connect(ok, &QPushButton::clicked, this, &ProductCodeDialog::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool ProductCodeDialog::wholeGap() const {
    return wholeGapBox_ && wholeGapBox_->isChecked();
}

void ProductCodeDialog::onOk() {
    const std::string text = utf8(codeBox_->text());
    if (codeBox_->text().isEmpty()) showError(this, QStringLiteral("Please enter a product code"));
    const std::optional<double> number = parseNumber(text);
    const std::optional<std::int16_t> code = number ? toInt16(*number) : std::nullopt;
    // With MaxProd known, only an existing product class is a valid code.
    const bool inRange =
        code && (question_.maxProduct <= 0 || (*code >= 1 && *code <= question_.maxProduct));
    if (!inRange) {
        showError(this, QStringLiteral("Please enter a valid product code"));
        codeBox_->setFocus();
        return;  // the prompt stays open
    }
    code_ = *code;
    accept();
}

}  // namespace orr::gui
