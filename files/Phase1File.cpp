#include "files/Phase1File.h"

#include <cmath>

#include "core/CommaWriter.h"

namespace orr::files {

void Phase1File::parse(const CommaReader& in, const Limits& limits, Record& r) {
    r.plot = in.intInRange(0, "plot", 0, limits.maxPlots);
    r.species = in.intInRange(1, "species", 1, limits.maxSpec);
    r.n = in.number(2, "N");
    r.ba = in.number(3, "BA");
    r.vol = in.number(4, "VOL");
}

namespace {

template <class Sink>
void writeLine(Sink& out, const Phase1Total& r) {
    RecordLine line;
    line.integer(r.plot).integer(r.species);
    // N is a whole number of trees per unit area, but for expected shares (2 decimals).
    if (r.n == std::trunc(r.n) && std::fabs(r.n) < 0x1p53)
        line.integer(static_cast<long long>(r.n));
    else
        line.number(r.n);
    line.number(r.ba).number(r.vol).appendTo(out);
}

}  // namespace

void Phase1File::write(std::string& out, const Record& r) {
    writeLine(out, r);
}

}  // namespace orr::files
