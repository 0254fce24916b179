// What the output labels beside steps 5 to 9 show once the step has completed.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/Session.h"
#include "model/workflow/Controls.h"

namespace orr::workflow {

// The labels that a completed step shows, with their captions, in the order the step sets
// them. Steps 7 and 9 look at the files they wrote; step 9 deletes an empty report it lists.
std::vector<std::pair<Label, std::string>> captionsAfterStep(int step, const Session& session);

// The part of a path after its last separator ("/" or "\"); the whole text when it has none.
std::string bareFileName(const std::string& path);

}  // namespace orr::workflow
