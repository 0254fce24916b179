// What the set-up dialogs may touch of the main window: the session, the status log and the
// output labels beside the steps.
#pragma once

#include <QString>

#include "model/session/Session.h"

namespace orr::gui {

class MainView {
  public:
    virtual Session& session() = 0;
    // Appends one line to the status log (the line end is added).
    virtual void appendLog(const QString& line) = 0;
    // Sets the caption of the output label beside a step, named by its objectName, and shows it.
    virtual void showOutputLabel(const QString& objectName, const QString& caption) = 0;
    virtual ~MainView() = default;
};

}  // namespace orr::gui
