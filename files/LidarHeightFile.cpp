#include "files/LidarHeightFile.h"

#include <cmath>
#include <string>

#include "core/NumberText.h"

namespace orr::files {

void LidarHeightFile::parsePlot(const CommaReader& in, const Limits& limits, Record& r) {
    const double plot = in.number(0, "plot");
    const long long whole = nearestWholeHalfEven(plot);
    if (whole < 0) in.fail(0, "plot", "is not a plot number (0 or more)");
    // No MaxPlots reaches a plot beyond the largest one: the file is wrong, not the setting.
    if (whole > kLargestMaxPlots) {
        in.fail(0, "plot",
                "is beyond the largest plot number, " + std::to_string(kLargestMaxPlots));
    }
    if (whole > limits.maxPlots) {
        try {
            in.fail(0, "plot",
                    "is outside the allowed range 0 to " + std::to_string(limits.maxPlots));
        } catch (const InputError& e) {
            throw PlotAboveMaxPlots(e, whole);
        }
    }
    r.plot = static_cast<std::int32_t>(whole);
}

void LidarTreeCount::requireTrees(const std::filesystem::path& file) const {
    if (records_ == 0) {
        throw InputError::file(file, "holds no LiDAR tree (records of plot and height)");
    }
    if (taller_ == 0) {
        throw InputError::file(file, "holds no LiDAR tree taller than 10 feet (" +
                                         std::to_string(records_) +
                                         (records_ == 1 ? " record" : " records") +
                                         " read); the steps use only the taller ones");
    }
}

}  // namespace orr::files
