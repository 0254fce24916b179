// _Estimates.csv, written by step 9 beside its reports: every regression line of the regression
// report as data, for a spreadsheet or R. A header line, then one row per line in the report's
// order: the regressions written for each stratum index 0..H, then the combined lines, then
// (with stratum areas) the lines of the strata combined by area, stratum "combined-area". Numbers
// are the unrounded values the report rounds, in their shortest text; a value that does not
// apply is an empty field.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/OutputSet.h"
#include "files/RecordFile.h"

namespace orr::files {

struct EstimateRecord {
    std::optional<int> stratum;  // 0..H; nullopt for the strata combined ("combined")
    // The strata combined by their areas ("combined-area") rather than by their plots.
    bool areaWeighted = false;
    std::string variable;   // the report's name of the LiDAR variable
    bool selected = false;  // the regression chosen as the stratum's (or the combined) estimate
    // Stratum rows only.
    std::optional<double> n2;    // Phase 2 plots with LiDAR data of the regression's data set
    std::optional<double> n1;    // Phase 1 plots
    std::optional<double> beta;  // slope
    std::optional<double> rho;   // correlation of ground volume and the LiDAR variable
    // Every row.
    double ybarLR = 0;    // the regression estimate of mean ground volume
    double seYbarLR = 0;  // its standard error
    double sePercent = 0;
    double t = 0;  // Student t of the 95 percent interval
    double ci95Low = 0;
    double ci95High = 0;
    // Stratum rows only: the mean of the stratum's Phase 2 ground plots, its standard error (with
    // two plots or more) and how many times as many ground plots a ground-only inventory would
    // need for the same precision (ground_se^2 / se_ybar_lr^2).
    std::optional<double> groundMean;
    std::optional<double> groundSE;
    std::optional<double> efficiency;
    // With stratum areas: the acres the row stands for, the total over them (the mean per acre
    // times the acres), its standard error and its 95 percent interval. Empty without areas.
    std::optional<double> acres;
    std::optional<double> total;
    std::optional<double> seTotal;
    std::optional<double> totalCi95Low;
    std::optional<double> totalCi95High;
    bool operator==(const EstimateRecord&) const = default;
};

struct EstimatesFile {
    using Record = EstimateRecord;
    static constexpr int kFields = 21;
    static constexpr std::string_view kHeader =
        "stratum,variable,selected,n2,n1,beta,rho,ybar_lr,se_ybar_lr,se_percent,t,ci95_low,"
        "ci95_high,ground_mean,ground_se,efficiency,acres,total,se_total,total_ci95_low,"
        "total_ci95_high";
    // The header must be the file's first record; parse reads the records after it.
    static void parse(const CommaReader& in, const Limits& limits, Record& r);
    static void write(OutputFile& out, const Record& r);
};

}  // namespace orr::files
