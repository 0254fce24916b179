// sub1900: the quicksort of step 6 with an explicit stack of pending ranges. Equal keys end up in
// the order that this particular partitioning gives, which decides which of two classes with the
// same share is drawn first; so the procedure is kept as it is, only its stack is unbounded.
#pragma once

#include <cstddef>
#include <span>

namespace orr::distribution {

// Sorts `keys` ascending and moves `payload[i]` along with `keys[i]`. Both spans have the same
// length.
void sub1900(std::span<double> keys, std::span<std::size_t> payload);

}  // namespace orr::distribution
