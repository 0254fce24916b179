#include "core/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "core/Step.h"

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
            try {
                for (std::size_t i = first; i < last; ++i) body(i, worker);
            } catch (...) {
                std::lock_guard<std::mutex> lock(failureLock);
                if (!failure) failure = std::current_exception();
                stop = true;
                return;
            }
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
    if (failure) std::rethrow_exception(failure);
    if (stop) throw StepCancelled();
}

}  // namespace orr
