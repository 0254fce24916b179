// One parallel-for for every step that computes plots side by side. Work is handed out in chunks
// from a shared counter; each index is done exactly once, by one thread, which writes only its
// own result slot, so what a step makes of the results never depends on the number of threads.
#pragma once

#include <atomic>
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

// Calls first() on this thread and second(stop) on a thread of its own at the same time (first()
// then second() on this thread when `threads` allows one thread only), and returns when both have
// ended, as though second() had run after first(): the warnings of first(), then those of second();
// when first() throws, its exception, once second() has ended (`stop` turns true as first() fails:
// second() may end early by it, and its warnings and failure are dropped); otherwise the exception
// of second(), if it threw. Two files that a step reads one after the other, read at once.
void sideBySide(unsigned threads, const std::function<void()>& first,
                const std::function<void(const std::atomic<bool>& stop)>& second);

}  // namespace orr
