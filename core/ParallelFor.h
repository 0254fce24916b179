// One parallel-for for every step that computes plots side by side. Work is handed out in chunks
// from a shared counter; each index is done exactly once, by one thread, which writes only its
// own result slot, so what a step makes of the results never depends on the number of threads.
#pragma once

#include <cstddef>
#include <functional>

namespace orr {

struct StepHost;

// The number of threads to use: `requested`, or every core when it is 0 (at least 1).
unsigned threadCount(unsigned requested);

// Calls body(i, worker) for every i in [0, count) on up to `threads` threads (the calling thread
// is one of them, worker 0) and returns when every call has ended; `worker` (0 .. threads - 1)
// lets each thread keep state of its own. The one rule for failures and cancelling: once a body
// throws, or `host` (when given) reports a cancel, no further chunk is started; when all threads
// have stopped, the first exception is thrown again, or StepCancelled for a cancel. Warnings
// raised by the body on any thread reach the calling thread's collector once every call has
// ended, in the order of the indexes that raised them.
void parallelFor(std::size_t count, unsigned threads,
                 const std::function<void(std::size_t index, unsigned worker)>& body,
                 const StepHost* host = nullptr, std::size_t chunk = 1);

}  // namespace orr
