#include "tests/support/FakeHost.h"

namespace orr::test {

void FakeHost::appendLog(std::string_view line) {
    log += line;
    log += "\r\n";
}

void FakeHost::setLog(std::string_view text) {
    log = std::string(text);
}

void FakeHost::setStatus(std::string_view caption) {
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

void FakeHost::pickTreeFile(Session& session) {
    if (onPickTreeFile) onPickTreeFile(session);
}

void FakeHost::pickLidarFiles(Session& session) {
    if (onPickLidarFiles) onPickLidarFiles(session);
}

bool FakeHost::editParameters(Session& session) {
    ++parameterDialogs;
    return onEditParameters ? onEditParameters(session) : false;
}

std::vector<std::string> FakeHost::logLines() const {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(log.substr(start));
            break;
        }
        lines.push_back(log.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace orr::test
