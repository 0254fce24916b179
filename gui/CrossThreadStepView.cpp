#include "gui/CrossThreadStepView.h"

#include <QThread>
#include <algorithm>
#include <memory>

#include "gui/DialogRunner.h"
#include "gui/DialogServices.h"
#include "gui/GuiText.h"
#include "gui/MainWindow.h"
#include "gui/ProductCodeDialog.h"

namespace orr::gui {

bool CrossThreadStepView::onWindowThread() const {
    return QThread::currentThread() == window_.thread();
}

void CrossThreadStepView::post(Update::Kind kind, std::string_view text) {
    bool first = false;
    {
        std::lock_guard lock(mutex_);
        first = pending_.empty();
        pending_.push_back({kind, std::string(text)});
    }
    if (onWindowThread())
        deliver();
    else if (first)  // one delivery for everything queued until the window gets to it
        QMetaObject::invokeMethod(
            &window_, [this] { deliver(); }, Qt::QueuedConnection);
}

void CrossThreadStepView::deliver() {
    std::vector<Update> updates;
    {
        std::lock_guard lock(mutex_);
        updates.swap(pending_);
    }
    std::vector<std::string> lines;
    for (Update& update : updates) {
        if (update.kind == Update::Kind::Line) {
            lines.push_back(std::move(update.text));
            continue;
        }
        window_.appendLogLines(lines);
        lines.clear();
        if (update.kind == Update::Kind::WholeLog)
            window_.setLogText(update.text);
        else
            window_.setStatusCaption(qstr(update.text));
    }
    window_.appendLogLines(lines);
}

void CrossThreadStepView::log(std::string_view line) {
    post(Update::Kind::Line, line);
}

void CrossThreadStepView::replaceLog(std::string_view text) {
    post(Update::Kind::WholeLog, text);
}

void CrossThreadStepView::status(std::string_view caption) {
    post(Update::Kind::Caption, caption);
}

template <typename T>
T CrossThreadStepView::askWindow(std::function<T()> ask, T fallback) {
    if (onWindowThread()) {
        deliver();
        return ask();
    }
    auto answer = std::make_shared<std::optional<T>>();
    // Queued behind the updates sent before, so the user sees the log as it was when asked.
    QMetaObject::invokeMethod(
        &window_,
        [this, ask, answer] {
            deliver();
            T value = ask();
            std::lock_guard lock(mutex_);
            *answer = std::move(value);
            answered_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [&] { return answer->has_value() || abandoned_; });
    return answer->has_value() ? std::move(**answer) : std::move(fallback);
}

void CrossThreadStepView::message(std::string_view text, workflow::Icon icon) {
    const QString shown = qstr(text);
    const auto kind =
        icon == workflow::Icon::Critical ? QMessageBox::Critical : QMessageBox::Information;
    askWindow<bool>(
        [this, shown, kind] {
            showMessage(&window_, kind, shown);
            return true;
        },
        false);
}

std::optional<int> CrossThreadStepView::askProductCode(int species, double dbh) {
    ProductCodeQuestion question;
    question.species = species;
    question.dbh = dbh;
    return askWindow<std::optional<int>>(
        [this, question] {
            ProductCodeDialog prompt(question, false, &window_);
            execDialog(prompt);
            return prompt.productCode();
        },
        std::nullopt);
}

ProductCodeAnswer CrossThreadStepView::answerProductQuestion(const ProductCodeQuestion& question) {
    return askWindow<ProductCodeAnswer>(
        [this, question] {
            ProductCodeDialog prompt(question, true, &window_);
            execDialog(prompt);
            return prompt.answer();
        },
        ProductCodeAnswer{});
}

void CrossThreadStepView::progress(std::size_t done, std::size_t total) {
    total_ = total;
    done_ = done;
}

void CrossThreadStepView::prepare() {
    cancel_ = false;
    done_ = 0;
    total_ = 0;
}

std::optional<double> CrossThreadStepView::progressShare() const {
    const std::size_t total = total_;
    if (total == 0) return std::nullopt;
    return static_cast<double>(std::min<std::size_t>(done_, total)) / static_cast<double>(total);
}

void CrossThreadStepView::abandon() {
    std::lock_guard lock(mutex_);
    abandoned_ = true;
    answered_.notify_all();
}

}  // namespace orr::gui
