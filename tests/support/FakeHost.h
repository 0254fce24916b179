// A scripted host for tests: records what a step and its runner said and answers from queues.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/session/Session.h"
#include "model/workflow/StepRunner.h"
#include "model/workflow/StepTable.h"

namespace orr::test {

using workflow::Icon;

struct FakeHost : workflow::StepView {
    std::string logText;                // the whole log, CR LF after every line
    std::vector<std::string> statuses;  // every FrameStatus caption, in order
    struct Message {
        std::string text;
        Icon icon;
    };
    std::vector<Message> messages;
    std::deque<std::optional<int>> productCodes;  // answers; empty queue = drop the tree
    std::vector<std::pair<int, double>> productQuestions;
    std::size_t progressCalls = 0;
    std::function<void(std::size_t, std::size_t)> onProgress;
    std::function<bool()> onCancelled;  // asked by cancelled(); not cancelled when unset

    void log(std::string_view line) override;
    void replaceLog(std::string_view text) override;
    void status(std::string_view caption) override;
    void message(std::string_view text, Icon icon) override;
    std::optional<int> askProductCode(int species, double dbh) override;
    void progress(std::size_t done, std::size_t total) override;
    bool cancelled() const override { return onCancelled && onCancelled(); }

    // Lines of the log without their CR LF.
    std::vector<std::string> logLines() const;
};

// Step `number` of the table with `run` in place of its computation. `readsNothing`: a stand-in
// that reads no file, whose declared data-set files are all optional, so that the runner's check
// of the inputs lets it run before the steps it follows have written anything.
workflow::StepEntry standIn(int number, workflow::StepFunction run, bool readsNothing = false);

// Runs computation step `number` (5..9), computed by `step`, on the session as the window does:
// captions, the start of the log, the check of its inputs, the session's seed, the step, its
// closing log or its message, and its run record.
StepResult runStep(int number, workflow::StepFunction step, const Session& session, FakeHost& host,
                   ProductCodePolicy productCodes = ProductCodePolicy::Ask);

}  // namespace orr::test
