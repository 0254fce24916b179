#include "files/Phase1File.h"

#include "core/NumberText.h"

namespace orr::files {

void Phase1File::parse(const CommaReader& in, const Limits& limits, Record& r) {
    r.plot = in.intInRange(0, "plot", 0, limits.maxPlots);
    r.species = in.intInRange(1, "species", 1, limits.maxSpec);
    r.n = in.number(2, "N");
    r.ba = in.number(3, "BA");
    r.vol = in.number(4, "VOL");
}

// Made straight into the text, as the file holds millions of lines. N is a whole number of trees
// per unit area but for expected shares, written as its digits.
void Phase1File::writeRounded(std::string& out, const Record& r, bool roundN) {
    appendShortest(out, r.plot);
    out += ',';
    appendShortest(out, r.species);
    out += ',';
    if (roundN)
        appendRoundedShortest(out, r.n, 2);
    else
        appendShortest(out, r.n);
    out += ',';
    appendRoundedShortest(out, r.ba, 2);
    out += ',';
    appendRoundedShortest(out, r.vol, 2);
    out += "\r\n";
}

}  // namespace orr::files
