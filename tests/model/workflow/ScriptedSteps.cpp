#include "tests/model/workflow/ScriptedSteps.h"

namespace orr::test {

std::function<bool(Session&, StepHost&)> ScriptedSteps::behaviour[5];
std::vector<int> ScriptedSteps::calls;

namespace {
template <int Step>
bool scripted(Session& session, StepHost& host) {
    ScriptedSteps::calls.push_back(Step);
    auto& run = ScriptedSteps::behaviour[Step - 5];
    return run ? run(session, host) : true;
}
}  // namespace

void ScriptedSteps::clear() {
    for (auto& b : behaviour) b = nullptr;
    calls.clear();
}

workflow::StepSet ScriptedSteps::steps(int missing) {
    workflow::StepSet set;
    set.run = {&scripted<5>, &scripted<6>, &scripted<7>, &scripted<8>, &scripted<9>};
    if (missing >= 5 && missing <= 9) set.run[static_cast<std::size_t>(missing - 5)] = nullptr;
    return set;
}

}  // namespace orr::test
