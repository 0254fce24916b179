// One parallel-for for every step that computes plots side by side. Work is handed out in chunks
// from a shared counter; each index is done exactly once, by one thread, which writes only its
// own result slot, so what a step makes of the results never depends on the number of threads.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

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

// The same, with the calling thread running callerFirst() before it takes its share of the
// calls, while the helper threads start on theirs: the work that must be done on this thread
// between two parallel-fors (in order, on what the last one made) overlaps the next one. The
// warnings of callerFirst() come before those of the body; when it throws, no further chunk is
// started and, once all threads have stopped, its exception is the one thrown.
void parallelForAfter(const std::function<void()>& callerFirst, std::size_t count, unsigned threads,
                      const std::function<void(std::size_t index, unsigned worker)>& body,
                      const StepHost* host = nullptr);

// Runs the tasks on up to threadCount(threads) threads, each started as soon as a thread is free
// (in their order), and ends as though they had run one after the other on this thread: the
// warnings of each in the tasks' order, and the failure of the first task that failed thrown once
// all have ended (the warnings of the tasks after it dropped). Files that a step reads one after
// the other into places of their own, read at once.
void runInOrder(unsigned threads, const std::vector<std::function<void()>>& tasks);

// Calls first() on this thread and second(every) on a thread of its own at the same time (first()
// then second() on this thread when `threads` allows one thread only), and returns when both have
// ended, as though second() had run after first(): the warnings of first(), then those of second();
// when first() throws, its exception (second() is stopped and waited for, its warnings and failure
// dropped); otherwise the exception of second(), if it threw. second() calls every() now and then
// while it works: on a thread of its own every() throws StepCancelled once first() has failed; on
// this thread it calls report(). report() (when given) is also called on this thread about every
// 20 ms while second() goes on after first() has ended, so that a step can show the progress of
// both. Two files that a step reads one after the other, read at once.
void sideBySide(unsigned threads, const std::function<void()>& first,
                const std::function<void(const std::function<void()>& every)>& second,
                const std::function<void()>& report = {});

}  // namespace orr
