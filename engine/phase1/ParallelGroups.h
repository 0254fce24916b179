// Plot groups computed side by side. Every group has its own generator and writes only its own
// result slot, so what the step makes of the results does not depend on the number of threads.
#pragma once

#include <cstddef>
#include <functional>

namespace orr::phase1 {

// The number of threads to use: `requested`, or every core when it is 0 (at least 1).
unsigned threadCount(unsigned requested);

// Calls body(i, worker) for every i in [0, count) on up to `threads` threads (the calling thread
// is one of them) and returns when all calls have ended; `worker` (0 .. threads - 1) tells the
// threads apart, so each can keep state of its own. `body` must not throw.
void forEachGroup(std::size_t count, unsigned threads,
                  const std::function<void(std::size_t, unsigned)>& body);

}  // namespace orr::phase1
