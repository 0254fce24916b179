// A scripted StepHost for tests: records what the step said and answers from queues.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Session.h"
#include "core/StepHost.h"

namespace orr::test {

struct FakeHost : StepHost {
    std::string log;                    // the whole log, CR LF after every line
    std::vector<std::string> statuses;  // every FrameStatus caption, in order
    struct Message {
        std::string text;
        Icon icon;
    };
    std::vector<Message> messages;
    std::deque<std::optional<int>> productCodes;  // answers; empty queue = drop the tree
    std::vector<std::pair<int, double>> productQuestions;
    std::function<void(Session&)> onPickTreeFile, onPickLidarFiles;
    std::function<bool(Session&)> onEditParameters;
    int parameterDialogs = 0;
    std::size_t progressCalls = 0;
    std::function<void(std::size_t, std::size_t)> onProgress;

    void appendLog(std::string_view line) override;
    void setLog(std::string_view text) override;
    std::size_t logLength() const override { return log.size(); }
    void setStatus(std::string_view caption) override;
    void message(std::string_view text, Icon icon) override;
    std::optional<int> askProductCode(int species, double dbh) override;
    void progress(std::size_t done, std::size_t total) override;
    void pickTreeFile(Session& session) override;
    void pickLidarFiles(Session& session) override;
    bool editParameters(Session& session) override;

    // Lines of the log without their CR LF.
    std::vector<std::string> logLines() const;
};

}  // namespace orr::test
