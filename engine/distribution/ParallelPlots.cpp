#include "engine/distribution/ParallelPlots.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace orr::distribution {

unsigned threadCount(unsigned requested) {
    if (requested > 0) return requested;
    return std::max(1u, std::thread::hardware_concurrency());
}

void forEachPlot(std::size_t count, unsigned threads,
                 const std::function<void(std::size_t)>& body) {
    const std::size_t workers = std::min<std::size_t>(std::max(1u, threads), count);
    if (workers <= 1) {
        for (std::size_t i = 0; i < count; ++i) body(i);
        return;
    }
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto work = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= count) return;
            try {
                body(i);
            } catch (...) {
                std::lock_guard<std::mutex> lock(failureLock);
                if (!failure) failure = std::current_exception();
                next.store(count);
                return;
            }
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(workers - 1);
    try {
        for (std::size_t w = 1; w < workers; ++w) pool.emplace_back(work);
    } catch (const std::system_error&) {
        // No more threads to be had: the ones started and this one share the plots.
    }
    work();
    for (auto& t : pool) t.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace orr::distribution
