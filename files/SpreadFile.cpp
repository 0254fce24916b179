#include "files/SpreadFile.h"

#include "core/CommaWriter.h"

namespace orr::files {

namespace {

RecordLine& optional(RecordLine& line, const std::optional<double>& x) {
    return x ? line.number(*x) : line.raw("");
}

}  // namespace

void SpreadFile::writeHeader(OutputFile& out) {
    out.append(kHeader);
    out.append("\r\n");
}

void SpreadFile::write(OutputFile& out, const SpreadRecord& r) {
    RecordLine line;
    line.raw(r.stratum ? std::to_string(*r.stratum) : "combined")
        .raw(r.variable)
        .integer(r.seeds)
        .integer(r.of);
    for (const SeedStatistics* s : {&r.ybarLR, &r.seYbarLR}) {
        for (const auto& x : {s->mean, s->sd, s->min, s->max}) optional(line, x);
    }
    line.number(r.selectedShare);
    optional(line, r.expectedYbarLR);
    optional(line, r.expectedSeYbarLR);
    if (r.expectedSelected)
        line.integer(*r.expectedSelected ? 1 : 0);
    else
        line.raw("");
    line.appendTo(out);
}

}  // namespace orr::files
