// The product-code prompt of step 6: a Phase 2 tree whose DBH fits no product class of its
// species. OK hands back the code typed in; Cancel (or closing the window) drops the tree.
#pragma once

#include <QDialog>
#include <optional>

class QLineEdit;

namespace orr::gui {

class ProductCodeDialog : public QDialog {
    Q_OBJECT
  public:
    ProductCodeDialog(int species, double dbh, QWidget* parent = nullptr);

    // The code accepted by OK; nullopt when the tree is to be dropped.
    std::optional<int> productCode() const { return code_; }

  private:
    void onOk();

    QLineEdit* codeBox_;
    std::optional<int> code_;
};

}  // namespace orr::gui
