#include "files/PlotClassFile.h"

#include "core/CommaWriter.h"

namespace orr::files {

void PlotClassFile::parse(const CommaReader& in, const Limits& limits, Record& r) {
    r.plot = in.intInRange(0, "plot", 1, limits.maxPlots);
    r.species = in.intInRange(1, "species", 1, limits.maxSpec);
    r.product = in.intInRange(2, "product", 1, limits.maxProd);
    r.n = in.number(3, "N");
    r.ba = in.number(4, "BA");
    r.vol = in.number(5, "volume");
    r.nPercent = in.number(6, "N%");
    r.baPercent = in.number(7, "BA%");
    r.volPercent = in.number(8, "Vol%");
}

void PlotClassFile::write(OutputFile& out, const Record& r) {
    RecordLine()
        .integer(r.plot)
        .integer(r.species)
        .integer(r.product)
        .number(r.n)
        .rounded(r.ba, 1)
        .rounded(r.vol, 2)
        .rounded(r.nPercent, 2)
        .rounded(r.baPercent, 2)
        .rounded(r.volPercent, 2)
        .appendTo(out);
}

}  // namespace orr::files
