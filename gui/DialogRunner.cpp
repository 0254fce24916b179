#include "gui/DialogRunner.h"

#include <QDialog>

namespace orr::gui {

namespace {
std::function<int(QDialog&)>& runner() {
    static std::function<int(QDialog&)> r;
    return r;
}
}  // namespace

int execDialog(QDialog& dialog) {
    if (runner()) return runner()(dialog);
    return dialog.exec();
}

void setDialogRunner(std::function<int(QDialog&)> r) {
    runner() = std::move(r);
}

}  // namespace orr::gui
