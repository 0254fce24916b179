#include "core/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "core/Step.h"
#include "core/Warnings.h"

namespace orr {

namespace {

// The helper threads of every parallel-for, kept for the next one once it has returned. A step
// runs a parallel-for for every batch of plots, and a batch of trees met before can take less
// time than starting a thread: with threads started anew for each, the calling thread did most
// of the work while they started.
// A parallel-for hands each helper's share out as a task. A task that no thread has started by
// the time the calling thread has done its own share is taken back: every chunk has been handed
// out by then, so it would find nothing to do. So a parallel-for never waits for a thread that is
// busy elsewhere (in another parallel-for, or in the one whose body called this one).
class HelperThreads {
  public:
    struct Task {
        const std::function<void(unsigned)>* work = nullptr;
        unsigned worker = 0;
        bool started = false;
        bool finished = false;
    };

    static HelperThreads& shared() {
        static HelperThreads helpers;
        return helpers;
    }

    // Puts the tasks up for the helper threads, starting threads while fewer are idle than there
    // are tasks waiting. A thread the system refuses only means that fewer tasks are started.
    void start(std::vector<Task>& tasks) {
        if (tasks.empty()) return;
        const std::lock_guard<std::mutex> hold(lock_);
        for (Task& task : tasks) waiting_.push_back(&task);
        while (idle_ < waiting_.size()) {
            try {
                threads_.emplace_back([this] { serve(); });
            } catch (const std::system_error&) {
                break;
            }
            ++idle_;
        }
        taskPut_.notify_all();
    }

    // Takes back the tasks not started and waits for those that were.
    void finish(std::vector<Task>& tasks) {
        if (tasks.empty()) return;
        std::unique_lock<std::mutex> hold(lock_);
        for (Task& task : tasks) {
            if (task.started) continue;
            waiting_.erase(std::find(waiting_.begin(), waiting_.end(), &task));
            task.finished = true;
        }
        taskDone_.wait(hold, [&] {
            return std::all_of(tasks.begin(), tasks.end(),
                               [](const Task& t) { return t.finished; });
        });
    }

    HelperThreads() = default;
    HelperThreads(const HelperThreads&) = delete;
    HelperThreads& operator=(const HelperThreads&) = delete;
    ~HelperThreads() {
        {
            const std::lock_guard<std::mutex> hold(lock_);
            closing_ = true;
        }
        taskPut_.notify_all();
        for (std::thread& thread : threads_) thread.join();
    }

  private:
    void serve() {
        std::unique_lock<std::mutex> hold(lock_);
        for (;;) {
            taskPut_.wait(hold, [&] { return closing_ || !waiting_.empty(); });
            if (closing_) return;
            Task* task = waiting_.front();
            waiting_.pop_front();
            task->started = true;
            --idle_;
            hold.unlock();
            (*task->work)(task->worker);
            hold.lock();
            task->finished = true;
            ++idle_;
            taskDone_.notify_all();
        }
    }

    std::mutex lock_;
    std::condition_variable taskPut_;
    std::condition_variable taskDone_;
    std::deque<Task*> waiting_;
    std::size_t idle_ = 0;  // threads waiting for a task
    bool closing_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace

unsigned threadCount(unsigned requested) {
    if (requested > 0) return requested;
    return std::max(1u, std::thread::hardware_concurrency());
}

namespace {

void runParallelFor(const std::function<void()>* callerFirst, std::size_t count, unsigned threads,
                    const std::function<void(std::size_t, unsigned)>& body, const StepHost* host,
                    std::size_t chunk) {
    chunk = std::max<std::size_t>(chunk, 1);
    const std::size_t chunks = (count + chunk - 1) / chunk;
    const std::size_t workers = std::min<std::size_t>(std::max(threads, 1u), chunks);

    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    std::exception_ptr failure;
    std::mutex failureLock;
    // The warnings raised by each chunk, by its first index: a collector on the calling thread
    // does not see what a helper thread raises, so every chunk collects its own and they are
    // raised again on the calling thread at the end, in the order of the indexes whatever the
    // number of threads.
    std::vector<std::pair<std::size_t, std::vector<Warning>>> raised;
    std::mutex raisedLock;
    auto work = [&](unsigned worker) {
        for (;;) {
            if (stop.load(std::memory_order_relaxed)) return;
            if (host && host->cancelled()) {
                stop = true;
                return;
            }
            const std::size_t first = next.fetch_add(chunk, std::memory_order_relaxed);
            if (first >= count) return;
            const std::size_t last = std::min(count, first + chunk);
            WarningCollector chunkWarnings;
            bool failed = false;
            try {
                for (std::size_t i = first; i < last; ++i) body(i, worker);
            } catch (...) {
                std::lock_guard<std::mutex> lock(failureLock);
                if (!failure) failure = std::current_exception();
                stop = true;
                failed = true;
            }
            if (!chunkWarnings.collected().empty()) {
                std::lock_guard<std::mutex> lock(raisedLock);
                raised.emplace_back(first, chunkWarnings.take());
            }
            if (failed) return;
        }
    };

    // The helpers' shares go to the helper threads; the calling thread does its own meanwhile.
    const std::function<void(unsigned)> share = work;
    std::vector<HelperThreads::Task> tasks(workers > 1 ? workers - 1 : 0);
    for (std::size_t t = 0; t < tasks.size(); ++t) {
        tasks[t].work = &share;
        tasks[t].worker = static_cast<unsigned>(t + 1);
    }
    HelperThreads& helpers = HelperThreads::shared();
    helpers.start(tasks);
    {
        // The tasks are taken back or waited for also when the calling thread's share throws.
        struct Finish {
            HelperThreads& helpers;
            std::vector<HelperThreads::Task>& tasks;
            ~Finish() { helpers.finish(tasks); }
        } finish{helpers, tasks};
        if (callerFirst) {
            try {
                (*callerFirst)();
            } catch (...) {
                stop = true;
                throw;
            }
        }
        work(0);
    }
    std::sort(raised.begin(), raised.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [first, warnings] : raised) {
        for (Warning& w : warnings) warn(std::move(w.kind), std::move(w.text));
    }
    if (failure) std::rethrow_exception(failure);
    if (stop) throw StepCancelled();
}

}  // namespace

void parallelFor(std::size_t count, unsigned threads,
                 const std::function<void(std::size_t, unsigned)>& body, const StepHost* host,
                 std::size_t chunk) {
    runParallelFor(nullptr, count, threads, body, host, chunk);
}

void parallelForAfter(const std::function<void()>& callerFirst, std::size_t count, unsigned threads,
                      const std::function<void(std::size_t, unsigned)>& body,
                      const StepHost* host) {
    runParallelFor(&callerFirst, count, threads, body, host, 1);
}

void runInOrder(unsigned threads, const std::vector<std::function<void()>>& tasks) {
    std::vector<std::vector<Warning>> warnings(tasks.size());
    std::vector<std::exception_ptr> failures(tasks.size());
    parallelFor(tasks.size(), threadCount(threads), [&](std::size_t i, unsigned) {
        WarningCollector collected;
        try {
            tasks[i]();
        } catch (...) {
            failures[i] = std::current_exception();
        }
        warnings[i] = collected.take();
    });
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        for (Warning& w : warnings[i]) warn(std::move(w.kind), std::move(w.text));
        if (failures[i]) std::rethrow_exception(failures[i]);
    }
}

void sideBySide(unsigned threads, const std::function<void()>& first,
                const std::function<void(const std::function<void()>& every)>& second,
                const std::function<void()>& report) {
    const std::function<void()> reportHere = [&] {
        if (report) report();
    };
    std::atomic<bool> stop{false};
    // Set (under doneLock, and told through doneChanged) when second() has ended.
    bool secondDone = false;
    std::mutex doneLock;
    std::condition_variable doneChanged;
    std::exception_ptr secondFailure;
    std::vector<Warning> secondWarnings;
    const std::function<void()> stopIfFirstFailed = [&] {
        if (stop) throw StepCancelled();
    };
    std::thread helper;
    if (threadCount(threads) > 1) {
        try {
            helper = std::thread([&] {
                WarningCollector collected;
                try {
                    second(stopIfFirstFailed);
                } catch (...) {
                    secondFailure = std::current_exception();
                }
                secondWarnings = collected.take();
                const std::lock_guard<std::mutex> hold(doneLock);
                secondDone = true;
                doneChanged.notify_all();
            });
        } catch (const std::system_error&) {
            // A thread the system refuses only means one after the other.
        }
    }
    if (!helper.joinable()) {
        first();
        second(reportHere);
        return;
    }
    try {
        first();
        // The progress is reported every 20 ms until second() ends, and no longer: the wait ends
        // as soon as it has.
        if (report) {
            std::unique_lock<std::mutex> hold(doneLock);
            while (!secondDone) {
                hold.unlock();
                report();
                hold.lock();
                doneChanged.wait_for(hold, std::chrono::milliseconds(20),
                                     [&] { return secondDone; });
            }
        }
    } catch (...) {
        stop = true;
        helper.join();
        throw;
    }
    helper.join();
    for (Warning& w : secondWarnings) warn(std::move(w.kind), std::move(w.text));
    if (secondFailure) std::rethrow_exception(secondFailure);
}

}  // namespace orr
