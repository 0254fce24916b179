// The one place where modal dialogs are run. Tests replace the runner so that they can fill in
// and press a dialog's controls instead of waiting on it.
#pragma once

#include <functional>

class QDialog;

namespace orr::gui {

// Runs the dialog modally (QDialog::exec) and returns its result code.
int execDialog(QDialog& dialog);
// Replaces the runner (tests); an empty function restores exec().
void setDialogRunner(std::function<int(QDialog&)> runner);

}  // namespace orr::gui
