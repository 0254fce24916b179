#include "tests/support/FakeHost.h"

#include <map>

namespace orr::test {

void FakeHost::log(std::string_view line) {
    logText += line;
    logText += "\r\n";
}

void FakeHost::replaceLog(std::string_view text) {
    logText = std::string(text);
}

void FakeHost::status(std::string_view caption) {
    statuses.emplace_back(caption);
}

void FakeHost::message(std::string_view text, Icon icon) {
    messages.push_back({std::string(text), icon});
}

std::optional<int> FakeHost::askProductCode(int species, double dbh) {
    productQuestions.emplace_back(species, dbh);
    if (productCodes.empty()) return std::nullopt;
    auto answer = productCodes.front();
    productCodes.pop_front();
    return answer;
}

void FakeHost::progress(std::size_t done, std::size_t total) {
    ++progressCalls;
    if (onProgress) onProgress(done, total);
}

std::vector<std::string> FakeHost::logLines() const {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < logText.size()) {
        std::size_t end = logText.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(logText.substr(start));
            break;
        }
        lines.push_back(logText.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

workflow::StepEntry standIn(int number, workflow::StepFunction run, bool readsNothing) {
    static std::map<int, files::StepFiles> relaxed;
    workflow::StepEntry entry = *workflow::findStep(workflow::stepTable(), number);
    entry.run = run;
    if (readsNothing) {
        if (!relaxed.count(number)) {
            files::StepFiles files = *entry.files;
            for (files::FileRead& read : files.reads) read.optional = read.optional || !read.chosen;
            relaxed.emplace(number, std::move(files));
        }
        entry.files = &relaxed.at(number);
    }
    return entry;
}

StepResult runStep(int number, workflow::StepFunction step, const Session& session, FakeHost& host,
                   ProductCodePolicy productCodes) {
    return workflow::runStep(standIn(number, step), workflow::stepInputs(session, productCodes),
                             session.run.seed, host);
}

}  // namespace orr::test
