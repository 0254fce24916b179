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

// Every field in its shortest text (N, a whole number of trees per unit area but for expected
// shares, as its digits), made straight into the text as the file holds millions of lines.
void Phase1File::write(std::string& out, const Record& r) {
    appendShortest(out, r.plot);
    out += ',';
    appendShortest(out, r.species);
    out += ',';
    appendShortest(out, r.n);
    out += ',';
    appendShortest(out, r.ba);
    out += ',';
    appendShortest(out, r.vol);
    out += "\r\n";
}

}  // namespace orr::files
