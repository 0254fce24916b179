#include "files/SpeciesCountFile.h"

#include <limits>

#include "core/CommaWriter.h"

namespace orr::files {

void SpeciesCountFile::parse(const CommaReader& in, const Limits& limits, Record& r) {
    r.plot = in.intInRange(0, "plot", 1, limits.maxPlots);
    r.species = in.intInRange(1, "species", 1, limits.maxSpec);
    r.count = in.intInRange(2, "N", std::numeric_limits<std::int32_t>::min(),
                            std::numeric_limits<std::int32_t>::max());
}

void SpeciesCountFile::write(std::string& out, const Record& r) {
    RecordLine().integer(r.plot).integer(r.species).integer(r.count).appendTo(out);
}

}  // namespace orr::files
