// Trees the equations make implausible: predicted heights above 400 feet (no tree is that tall)
// and volumes below 0 or not finite. They come from coefficients fitted for another model set or
// another region; a step counts them and warns once for each kind with the first case, so the
// forester sees them without a message for every tree.
#pragma once

#include <cmath>
#include <cstdint>
#include <string_view>

namespace orr {

inline constexpr double kTallestTree = 400;  // feet

class PlausibilityTally {
  public:
    // A predicted (not measured) height and a tree volume of a tree of `species` in `plot`; of
    // `trees` such trees alike.
    void height(std::int64_t plot, int species, double feet, long long trees = 1) {
        if (!plausibleHeight(feet)) tall_.note(plot, species, feet, trees);
    }
    void volume(std::int64_t plot, int species, double cubicFeet, long long trees = 1) {
        if (!plausibleVolume(cubicFeet)) badVolume_.note(plot, species, cubicFeet, trees);
    }
    // What height() and volume() let pass without a note.
    static bool plausibleHeight(double feet) { return feet <= kTallestTree; }
    static bool plausibleVolume(double cubicFeet) {
        return cubicFeet >= 0 && std::isfinite(cubicFeet);
    }
    // Adds a tally of later trees (plots are merged in the order they were read).
    void add(const PlausibilityTally& later);
    // Raises one warning for each kind that was seen; `heights` and `volumes` name what was
    // checked ("predicted heights", "LiDAR tree volumes").
    void warn(std::string_view heights, std::string_view volumes) const;

  private:
    struct Cases {
        long long count = 0;
        std::int64_t plot = 0;
        int species = 0;
        double value = 0;
        void note(std::int64_t p, int s, double v, long long trees) {
            if (count == 0) plot = p, species = s, value = v;
            count += trees;
        }
    };
    Cases tall_;
    Cases badVolume_;
};

}  // namespace orr
