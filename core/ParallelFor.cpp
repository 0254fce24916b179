#include "core/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "core/Step.h"
#include "core/Warnings.h"

namespace orr {

unsigned threadCount(unsigned requested) {
    if (requested > 0) return requested;
    return std::max(1u, std::thread::hardware_concurrency());
}

void parallelFor(std::size_t count, unsigned threads,
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

    std::vector<std::thread> helpers;
    if (workers > 1) helpers.reserve(workers - 1);
    for (std::size_t t = 1; t < workers; ++t) {
        // A thread the system refuses only means fewer helpers: the others take its share.
        try {
            helpers.emplace_back(work, static_cast<unsigned>(t));
        } catch (const std::system_error&) {
            break;
        }
    }
    work(0);
    for (std::thread& helper : helpers) helper.join();
    std::sort(raised.begin(), raised.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [first, warnings] : raised) {
        for (Warning& w : warnings) warn(std::move(w.kind), std::move(w.text));
    }
    if (failure) std::rethrow_exception(failure);
    if (stop) throw StepCancelled();
}

}  // namespace orr
