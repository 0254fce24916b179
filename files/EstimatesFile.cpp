#include "files/EstimatesFile.h"

#include "core/CommaWriter.h"
#include "files/HeaderedFile.h"

namespace orr::files {

namespace {

RecordLine& optional(RecordLine& line, const std::optional<double>& x) {
    return x ? line.number(*x) : line.raw("");
}

}  // namespace

void EstimatesFile::parse(const CommaReader& in, const Limits&, Record& r) {
    const std::string_view stratum = in.text(0);
    r.areaWeighted = stratum == "combined-area";
    if (stratum == "combined" || r.areaWeighted) {
        r.stratum.reset();
    } else {
        r.stratum = in.intInRange(0, "stratum", 0, 32767);
    }
    r.variable = std::string(in.text(1));
    r.selected = in.intInRange(2, "selected", 0, 1) == 1;
    r.n2 = optionalNumber(in, 3, "n2");
    r.n1 = optionalNumber(in, 4, "n1");
    r.beta = optionalNumber(in, 5, "beta");
    r.rho = optionalNumber(in, 6, "rho");
    r.ybarLR = in.number(7, "ybar_lr");
    r.seYbarLR = in.number(8, "se_ybar_lr");
    r.sePercent = in.number(9, "se_percent");
    r.t = in.number(10, "t");
    r.ci95Low = in.number(11, "ci95_low");
    r.ci95High = in.number(12, "ci95_high");
    r.groundMean = optionalNumber(in, 13, "ground_mean");
    r.groundSE = optionalNumber(in, 14, "ground_se");
    r.efficiency = optionalNumber(in, 15, "efficiency");
    r.acres = optionalNumber(in, 16, "acres");
    r.total = optionalNumber(in, 17, "total");
    r.seTotal = optionalNumber(in, 18, "se_total");
    r.totalCi95Low = optionalNumber(in, 19, "total_ci95_low");
    r.totalCi95High = optionalNumber(in, 20, "total_ci95_high");
}

void EstimatesFile::write(OutputFile& out, const Record& r) {
    RecordLine line;
    line.raw(r.stratum        ? std::to_string(*r.stratum)
             : r.areaWeighted ? "combined-area"
                              : "combined")
        .raw(r.variable)
        .integer(r.selected ? 1 : 0);
    for (const auto& x : {r.n2, r.n1, r.beta, r.rho}) optional(line, x);
    line.number(r.ybarLR)
        .number(r.seYbarLR)
        .number(r.sePercent)
        .number(r.t)
        .number(r.ci95Low)
        .number(r.ci95High);
    for (const auto& x : {r.groundMean, r.groundSE, r.efficiency, r.acres, r.total, r.seTotal,
                          r.totalCi95Low, r.totalCi95High})
        optional(line, x);
    line.appendTo(out);
}

}  // namespace orr::files
