// _Plan.csv, written by step 9 beside its reports: the plan of the next inventory for the plot
// costs and target error of the parameters. A header line, then
//  - one row per stratum index (0 = all plots, 1..H) with a selected regression: the present
//    sample (rho2 of the selected regression, s_y the standard deviation of ground volume, n2 and
//    n1 the Phase 2 and Phase 1 plots, se_percent its sampling error) and the cheapest double
//    sample of that stratum alone that reaches the target: the optimum LiDAR plots per ground
//    plot, the ground (n2_required) and LiDAR (n1_required) plots, their cost, and the plots and
//    cost of a ground-only inventory (N_rs) for comparison;
//  - with a combined estimate, the design for the whole forest, stratum "all": one row per
//    stratum of the combination (variable "stratum <h>") with its share of the ground and LiDAR
//    plots of the cheapest design that reaches the target for the strata combined, then one
//    "total" row. On those rows rho2, s_y, n2, n1 and se_percent are the stratum's as above (n2
//    and n1 of the combined estimate's data set, whose shares give the plot weights), ratio_n1_n2
//    is n1_required / n2_required, ground_only_n and ground_only_cost the stratum's share of the
//    cheapest ground-only inventory of the whole forest (its plots in proportion to W_h S_h),
//    and double_sampling_pays is 0 where the stratum's LiDAR plots fall below its ground plots.
//    The total row sums the plots and costs, holds the present plots and sampling error of the
//    combined estimate, leaves rho2, s_y and ratio_n1_n2 empty, and double_sampling_pays is 1
//    when the design costs less than the ground-only inventory.
// Numbers are unrounded, in their shortest text; a value that does not apply is an empty field.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/OutputSet.h"
#include "files/RecordFile.h"

namespace orr::files {

struct PlanRecord {
    std::string stratum;   // the stratum index 0..H, or "all"
    std::string variable;  // the LiDAR variable; "stratum <h>" or "total" on the "all" rows
    std::optional<double> rho2;
    std::optional<double> sY;
    std::optional<double> n2;
    std::optional<double> n1;
    std::optional<double> sePercent;
    std::optional<double> ratio;  // LiDAR plots per ground plot
    double n2Required = 0;
    double n1Required = 0;
    double cost = 0;
    double groundOnlyN = 0;
    double groundOnlyCost = 0;
    bool pays = false;
    bool operator==(const PlanRecord&) const = default;
};

struct PlanFile {
    using Record = PlanRecord;
    static constexpr int kFields = 14;
    static constexpr std::string_view kHeader =
        "stratum,variable,rho2,s_y,n2,n1,se_percent,ratio_n1_n2,n2_required,n1_required,cost,"
        "ground_only_n,ground_only_cost,double_sampling_pays";
    // The header must be the file's first record; parse reads the records after it.
    static void parse(const CommaReader& in, const Limits& limits, Record& r);
    static void write(OutputFile& out, const Record& r);
};

}  // namespace orr::files
