// A small fork-join over the groups of one batch: the threads take groups in chunks from a shared
// counter until none is left.
#include "engine/phase1/ParallelGroups.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace orr::phase1 {

namespace {

constexpr std::size_t kChunk = 8;  // groups taken at a time

}  // namespace

unsigned threadCount(unsigned requested) {
    if (requested > 0) return requested;
    return std::max(1u, std::thread::hardware_concurrency());
}

void forEachGroup(std::size_t count, unsigned threads,
                  const std::function<void(std::size_t, unsigned)>& body) {
    const std::size_t chunks = (count + kChunk - 1) / kChunk;
    const std::size_t workers = std::min<std::size_t>(std::max(threads, 1u), chunks);
    if (workers <= 1) {
        for (std::size_t i = 0; i < count; ++i) body(i, 0);
        return;
    }
    std::atomic<std::size_t> next{0};
    auto work = [&](unsigned worker) {
        for (;;) {
            const std::size_t first = next.fetch_add(kChunk, std::memory_order_relaxed);
            if (first >= count) return;
            const std::size_t last = std::min(count, first + kChunk);
            for (std::size_t i = first; i < last; ++i) body(i, worker);
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(workers - 1);
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
}

}  // namespace orr::phase1
