#include "files/PlanFile.h"

#include "core/CommaWriter.h"
#include "files/HeaderedFile.h"

namespace orr::files {

void PlanFile::parse(const CommaReader& in, const Limits&, Record& r) {
    const std::string_view stratum = in.text(0);
    r.stratum = stratum == "all" ? std::string(stratum)
                                 : std::to_string(in.intInRange(0, "stratum", 0, 32767));
    r.variable = std::string(in.text(1));
    r.rho2 = optionalNumber(in, 2, "rho2");
    r.sY = optionalNumber(in, 3, "s_y");
    r.n2 = optionalNumber(in, 4, "n2");
    r.n1 = optionalNumber(in, 5, "n1");
    r.sePercent = optionalNumber(in, 6, "se_percent");
    r.ratio = optionalNumber(in, 7, "ratio_n1_n2");
    r.n2Required = in.number(8, "n2_required");
    r.n1Required = in.number(9, "n1_required");
    r.cost = in.number(10, "cost");
    r.groundOnlyN = in.number(11, "ground_only_n");
    r.groundOnlyCost = in.number(12, "ground_only_cost");
    r.pays = in.intInRange(13, "double_sampling_pays", 0, 1) == 1;
}

void PlanFile::write(OutputFile& out, const Record& r) {
    RecordLine line;
    line.raw(r.stratum).raw(r.variable);
    for (const auto& x : {r.rho2, r.sY, r.n2, r.n1, r.sePercent, r.ratio})
        x ? line.number(*x) : line.raw("");
    line.number(r.n2Required)
        .number(r.n1Required)
        .number(r.cost)
        .number(r.groundOnlyN)
        .number(r.groundOnlyCost)
        .integer(r.pays ? 1 : 0);
    line.appendTo(out);
}

}  // namespace orr::files
