#include "engine/equations/Plausibility.h"

#include <string>

#include "core/NumberText.h"
#include "core/Warnings.h"

namespace orr {

namespace {

std::string value(double x) {
    return std::isfinite(x) ? shortest(roundHalfEven(x, 2))
                            : (std::isnan(x) ? "not a number" : "infinite");
}

}  // namespace

void PlausibilityTally::add(const PlausibilityTally& later) {
    for (auto [mine, theirs] :
         {std::pair{&tall_, &later.tall_}, std::pair{&badVolume_, &later.badVolume_}}) {
        if (theirs->count == 0) continue;
        if (mine->count == 0)
            *mine = *theirs;
        else
            mine->count += theirs->count;
    }
}

void PlausibilityTally::warn(std::string_view heights, std::string_view volumes) const {
    if (tall_.count > 0) {
        orr::warn("heights above 400 ft", std::to_string(tall_.count) + " " + std::string(heights) +
                                              " above 400 feet, the first " + value(tall_.value) +
                                              " feet in plot " + std::to_string(tall_.plot) +
                                              ", species " + std::to_string(tall_.species) +
                                              ": are the coefficients those of this model set?");
    }
    if (badVolume_.count > 0) {
        orr::warn("volumes below 0 or not finite",
                  std::to_string(badVolume_.count) + " " + std::string(volumes) +
                      " below 0 or not finite, the first " + value(badVolume_.value) +
                      " cubic feet in plot " + std::to_string(badVolume_.plot) + ", species " +
                      std::to_string(badVolume_.species) +
                      ": are the coefficients those of this model set?");
    }
}

}  // namespace orr
