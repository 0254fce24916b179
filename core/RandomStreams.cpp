#include "core/RandomStreams.h"

#include <chrono>

namespace orr {

std::uint64_t clockSeed() {
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    return mix(static_cast<std::uint64_t>(ticks)) & ((std::uint64_t{1} << 53) - 1);
}

}  // namespace orr
