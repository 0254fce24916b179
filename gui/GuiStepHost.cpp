#include "gui/GuiStepHost.h"

#include "gui/BasicDialogs.h"
#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/frmAssignHgtVol.h"
#include "gui/frmEnterPhase1Height.h"
#include "gui/frmProductCodeError.h"
#include "gui/frmMain.h"

namespace orr::gui {

void GuiStepHost::appendLog(std::string_view line) {
    window_.appendLogLine(line);
}

void GuiStepHost::setLog(std::string_view text) {
    window_.setLogText(text);
}

std::size_t GuiStepHost::logLength() const {
    return window_.statusLog().length();
}

void GuiStepHost::setStatus(std::string_view caption) {
    window_.setStatusCaption(qstr(caption));
    window_.repaintNow();
}

void GuiStepHost::message(std::string_view text, Icon icon) {
    showMessage(&window_, icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::Information,
                qstr(text));
}

std::optional<int> GuiStepHost::askProductCode(int species, double dbh) {
    frmProductCodeError prompt(species, dbh, &window_);
    if (execDialog(prompt) != QDialog::Accepted) return std::nullopt;
    return prompt.productCode();
}

void GuiStepHost::progress(std::size_t done, std::size_t total) {
    window_.showProgress(done, total);
}

void GuiStepHost::pickTreeFile(Session&) {
    frmAssignHgtVol picker(window_, &window_);
    execDialog(picker);
    window_.repaintNow();
}

void GuiStepHost::pickLidarFiles(Session&) {
    frmEnterPhase1Height picker(window_, &window_);
    execDialog(picker);
    window_.repaintNow();
}

bool GuiStepHost::editParameters(Session&) {
    const bool saved = showParametersDialog(&window_, window_);
    window_.repaintNow();
    return saved;
}

}  // namespace orr::gui
