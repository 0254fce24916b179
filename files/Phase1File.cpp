#include "files/Phase1File.h"

#include <charconv>

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
    // The line is made in a buffer of its own and added to the text at once.
    char line[5 * kShortestRoom + 8];
    char* at = std::to_chars(line, line + kShortestRoom, r.plot).ptr;
    *at++ = ',';
    at = std::to_chars(at, at + kShortestRoom, r.species).ptr;
    *at++ = ',';
    at = roundN ? writeRoundedShortest(at, r.n, 2) : writeShortest(at, r.n);
    *at++ = ',';
    at = writeRoundedShortest(at, r.ba, 2);
    *at++ = ',';
    at = writeRoundedShortest(at, r.vol, 2);
    *at++ = '\r';
    *at++ = '\n';
    out.append(line, static_cast<std::size_t>(at - line));
}

}  // namespace orr::files
