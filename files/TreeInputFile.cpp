#include "files/TreeInputFile.h"

namespace orr::files {

void TreeInputFile::parse(const CommaReader& in, const Limits& limits, Record& r) {
    // Plot numbers index the later steps' tables, so they must lie within 1..MaxPlots.
    r.plot = in.intInRange(0, "Plot", 1, limits.maxPlots);
    r.species = in.intInRange(1, "Species", 0, limits.maxSpec);
    r.product = in.intInRange(2, "Product", 0, limits.maxProd);
    r.dbh = in.number(3, "DBH");
    r.height = in.number(4, "Height");
    r.age = in.int16(5, "Age");
    r.extra1 = in.number(6, "Extra1");
    r.extra2 = in.number(7, "Extra2");
}

}  // namespace orr::files
