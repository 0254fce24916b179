// What the set-up dialogs may touch of the main window: the session (read, and changed only
// through the model, which tells which steps a change makes stale), the status log and the
// output labels beside the steps.
#pragma once

#include <QString>
#include <filesystem>
#include <string>

#include "model/session/Session.h"

namespace orr::gui {

class MainView {
  public:
    virtual const Session& session() const = 0;
    virtual void setDataSetName(std::string name) = 0;
    virtual void setInput(ChosenInput input, std::filesystem::path file) = 0;
    virtual void setParameters(const ParamRecord& params) = 0;
    // Appends one line to the status log (the line end is added).
    virtual void appendLog(const QString& line) = 0;
    // Sets the caption of the output label beside a step, named by its objectName, and shows it.
    virtual void showOutputLabel(const QString& objectName, const QString& caption) = 0;
    virtual ~MainView() = default;
};

}  // namespace orr::gui
