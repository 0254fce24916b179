#include "files/Phase2SummaryFile.h"

#include <limits>

#include "core/CommaWriter.h"

namespace orr::files {

void Phase2SummaryFile::parse(const CommaReader& in, const Limits& limits, Record& r) {
    r.species = in.intInRange(0, "species", 1, limits.maxSpec);
    r.product = in.intInRange(1, "product", 1, limits.maxProd);
    r.n = in.number(2, "mean N");
    r.ba = in.number(3, "mean BA");
    r.vol = in.number(4, "mean volume");
    r.plots = in.intInRange(5, "number of plots", 0, std::numeric_limits<std::int32_t>::max());
}

void Phase2SummaryFile::write(OutputFile& out, const Record& r) {
    RecordLine()
        .integer(r.species)
        .integer(r.product)
        .rounded(r.n, 2)
        .rounded(r.ba, 2)
        .rounded(r.vol, 2)
        .integer(r.plots)
        .appendTo(out);
}

}  // namespace orr::files
