#include "tests/model/workflow/ScriptedSteps.h"

#include <array>

namespace orr::test {

std::function<StepResult(const StepInputs&, StepHost&)> ScriptedSteps::behaviour[5];
std::vector<int> ScriptedSteps::calls;

namespace {
template <int Step>
StepResult scripted(const StepInputs& inputs, StepHost& host) {
    ScriptedSteps::calls.push_back(Step);
    auto& run = ScriptedSteps::behaviour[Step - 5];
    return run ? run(inputs, host) : StepResult{};
}
}  // namespace

void ScriptedSteps::clear() {
    for (auto& b : behaviour) b = nullptr;
    calls.clear();
}

std::span<const workflow::StepEntry> ScriptedSteps::steps() {
    using workflow::describeStep;
    static const std::array<workflow::StepEntry, 5> table = {{
        {describeStep(5), &scripted<5>},
        {describeStep(6), &scripted<6>},
        {describeStep(7), &scripted<7>},
        {describeStep(8), &scripted<8>},
        {describeStep(9), &scripted<9>},
    }};
    return table;
}

}  // namespace orr::test
