// What the computation steps see of the desktop program: the status log and caption of the main
// window, message boxes with the application's title, the product-code prompt, the two file
// pickers, the parameters dialog and the progress bar.
#pragma once

#include "core/StepHost.h"

namespace orr::gui {

class frmMain;

class GuiStepHost : public StepHost {
  public:
    explicit GuiStepHost(frmMain& window) : window_(window) {}

    void appendLog(std::string_view line) override;
    void setLog(std::string_view text) override;
    std::size_t logLength() const override;
    void setStatus(std::string_view caption) override;
    void message(std::string_view text, Icon icon) override;
    std::optional<int> askProductCode(int species, double dbh) override;
    void progress(std::size_t done, std::size_t total) override;
    void pickTreeFile(Session& session) override;
    void pickLidarFiles(Session& session) override;
    bool editParameters(Session& session) override;

  private:
    frmMain& window_;
};

}  // namespace orr::gui
