// What a step running on a worker thread sees of the main window. The log lines, the whole log
// and the status caption are queued to the window and shown there in the order the step sent
// them; a message box and the product-code question keep the worker waiting until the user has
// answered on the window's thread; progress is kept for the window to show when it next looks;
// a cancel is a flag the step reads. Called on the window's own thread, every call goes
// straight to the window.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "model/workflow/StepRunner.h"

namespace orr::gui {

class MainWindow;

class CrossThreadStepView : public workflow::StepView {
  public:
    explicit CrossThreadStepView(MainWindow& window) : window_(window) {}

    // Any thread.
    void log(std::string_view line) override;
    void replaceLog(std::string_view text) override;
    void status(std::string_view caption) override;
    void message(std::string_view text, workflow::Icon icon) override;
    std::optional<int> askProductCode(int species, double dbh) override;
    ProductCodeAnswer answerProductQuestion(const ProductCodeQuestion& question) override;
    void progress(std::size_t done, std::size_t total) override;
    bool cancelled() const override { return cancel_; }

    // The window's thread: a step is about to start (no cancel, no progress yet).
    void prepare();
    void requestCancel() { cancel_ = true; }
    // The share of the work done so far (0 to 1); nullopt when the step reported none.
    std::optional<double> progressShare() const;
    // The window goes away: a question still waiting is answered at once, with no code.
    void abandon();

  private:
    struct Update {
        enum class Kind { Line, WholeLog, Caption } kind;
        std::string text;
    };
    bool onWindowThread() const;
    void post(Update::Kind kind, std::string_view text);
    // The window's thread: shows every update queued so far.
    void deliver();
    // Runs `ask` on the window's thread and waits for its answer; `fallback` once abandoned.
    template <typename T>
    T askWindow(std::function<T()> ask, T fallback);

    MainWindow& window_;
    std::mutex mutex_;
    std::vector<Update> pending_;
    std::condition_variable answered_;
    bool abandoned_ = false;
    std::atomic<bool> cancel_{false};
    std::atomic<std::size_t> done_{0};
    std::atomic<std::size_t> total_{0};
};

}  // namespace orr::gui
