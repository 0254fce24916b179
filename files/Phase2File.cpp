#include "files/Phase2File.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "core/CommaWriter.h"

namespace orr::files {

namespace {

constexpr const char* kNames[10] = {"PLOT", "GN",    "GBA", "GVOL", "L1N",
                                    "L1BA", "L1VOL", "L2N", "L2BA", "L2VOL"};

}  // namespace

void Phase2File::parse(const CommaReader& in, const Limits& limits, Record& r) {
    r.plot = in.intInRange(0, kNames[0], 1, limits.maxPlots);
    Totals* groups[3] = {&r.ground, &r.lidar[0], &r.lidar[1]};
    for (int g = 0; g < 3; ++g) {
        groups[g]->n = in.number(1 + 3 * g, kNames[1 + 3 * g]);
        groups[g]->ba = in.number(2 + 3 * g, kNames[2 + 3 * g]);
        groups[g]->vol = in.number(3 + 3 * g, kNames[3 + 3 * g]);
    }
}

void Phase2File::write(OutputFile& out, const Record& r) {
    RecordLine line;
    line.integer(r.plot);
    for (const Totals* t : {&r.ground, &r.lidar[0], &r.lidar[1]}) {
        for (double v : {t->n, t->ba, t->vol}) {
            if (!std::isfinite(v)) {
                throw std::range_error(
                    "The totals of plot " + std::to_string(r.plot) +
                    " are too large to be written to the combined Phase 2 file.");
            }
            line.number(v);
        }
    }
    line.appendTo(out);
}

}  // namespace orr::files
