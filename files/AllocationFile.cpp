#include "files/AllocationFile.h"

#include "core/CommaWriter.h"

namespace orr::files {

void AllocationFile::parse(const CommaReader& in, const Limits& limits, Record& r) {
    r.stratum = std::string(in.text(0));
    if (r.stratum != "non-stratified" && r.stratum != "combined")
        in.intInRange(0, "stratum", 1, 32767);
    r.species = in.intInRange(1, "species", 1, limits.maxSpec);
    r.product = in.intInRange(2, "product", 1, limits.maxProd);
    r.baAlloc = in.number(3, "ba_alloc");
    r.volAlloc = in.number(4, "vol_alloc");
    r.n = in.number(5, "n");
    r.ba = in.number(6, "ba");
    r.height = in.number(7, "height");
    r.volume = in.number(8, "volume");
}

void AllocationFile::write(OutputFile& out, const Record& r) {
    RecordLine()
        .raw(r.stratum)
        .integer(r.species)
        .integer(r.product)
        .number(r.baAlloc)
        .number(r.volAlloc)
        .number(r.n)
        .number(r.ba)
        .number(r.height)
        .number(r.volume)
        .appendTo(out);
}

}  // namespace orr::files
