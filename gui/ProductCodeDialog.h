// The product-code prompt of step 6: a LiDAR tree whose DBH fits no product class of its species.
// It shows the plot, the species, the DBH to 0.1 inch, the valid product codes (1 to MaxProd)
// and the gap of the DBH file the DBH falls in, and offers to use the answer for every tree of
// the species in that gap (ticked at first), so that one answer per gap is enough. OK hands back
// the code typed in (1 to MaxProd); Cancel (or closing the window) drops the tree.
#pragma once

#include <QDialog>
#include <optional>

#include "core/Step.h"

class QCheckBox;
class QLineEdit;

namespace orr::gui {

class ProductCodeDialog : public QDialog {
    Q_OBJECT
  public:
    // `offerGap`: the question comes with its gap, and one answer may serve the whole gap.
    // Codes outside 1..question.maxProduct are refused (any 16-bit code when it is 0).
    explicit ProductCodeDialog(const ProductCodeQuestion& question, bool offerGap,
                               QWidget* parent = nullptr);

    // The code accepted by OK; nullopt when the tree is to be dropped.
    std::optional<int> productCode() const { return code_; }
    // The answer, OK or Cancel, holds for every tree of the species in the gap.
    bool wholeGap() const;
    ProductCodeAnswer answer() const { return {code_, wholeGap()}; }

  private:
    void onOk();

    ProductCodeQuestion question_;
    QLineEdit* codeBox_;
    QCheckBox* wholeGapBox_ = nullptr;
    std::optional<int> code_;
};

}  // namespace orr::gui
