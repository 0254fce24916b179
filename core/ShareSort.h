// The sort of the draw lists of steps 6 and 7: a quicksort with an explicit stack of pending
// ranges. Equal keys end up in the order that this particular partitioning gives, which decides
// which of two classes (or species) with the same share is drawn first; so the partitioning is
// kept exactly as it is, only its stack is unbounded.
#pragma once

#include <cstddef>
#include <span>

namespace orr {

// Sorts `keys` ascending and moves `payload[i]` along with `keys[i]`. Both spans have the same
// length.
void sortShares(std::span<double> keys, std::span<std::size_t> payload);

}  // namespace orr
