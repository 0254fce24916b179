// Plots of a pass computed side by side: each plot has its own generator and writes only its own
// result, so the files are the same for any number of threads.
#pragma once

#include <cstddef>
#include <functional>

namespace orr::distribution {

// The number of threads to use: `requested`, or every core when it is 0.
unsigned threadCount(unsigned requested);

// Calls body(i) for every i in [0, count) on up to `threads` threads and returns when all are
// done. An exception thrown by a body is thrown again here (the first one, once all have ended).
void forEachPlot(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& body);

}  // namespace orr::distribution
