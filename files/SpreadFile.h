// _Spread.csv, written by `orravant-cli spread`: how much the random draws of steps 6 and 7 move
// the regression estimates of step 9. Steps 6 to 9 are run once per seed 1..K and once with
// expected shares; per stratum index and regression variable the file holds the mean, standard
// deviation, minimum and maximum over the seeds of YbarLR and of its standard error S_ybarLR,
// the share of the seeds in which the regression was the stratum's selected one, and the same
// regression with expected shares beside them. A header line, then one row per stratum index
// (ascending, "combined" last) and variable (in the order of the regression report). Numbers are
// in their shortest text; a value that does not apply (a regression not written in any seed, a
// standard deviation of fewer than two seeds) is an empty field.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/OutputSet.h"

namespace orr::files {

// The mean, sample standard deviation (n - 1), minimum and maximum of one value over the seeds.
struct SeedStatistics {
    std::optional<double> mean, sd, min, max;
};

struct SpreadRecord {
    std::optional<int> stratum;  // stratum index 0..H; nullopt for the strata combined
    std::string variable;        // the report's name of the LiDAR variable
    int seeds = 0;               // the seeds in which step 9 wrote this regression
    int of = 0;                  // every seed run
    SeedStatistics ybarLR;
    SeedStatistics seYbarLR;
    double selectedShare = 0;  // seeds in which it was selected, divided by `of`
    // With expected shares; nullopt when step 9 did not write the regression then.
    std::optional<double> expectedYbarLR;
    std::optional<double> expectedSeYbarLR;
    std::optional<bool> expectedSelected;
};

struct SpreadFile {
    static constexpr std::string_view kHeader =
        "stratum,variable,seeds_written,seeds,ybar_lr_mean,ybar_lr_sd,ybar_lr_min,ybar_lr_max,"
        "se_ybar_lr_mean,se_ybar_lr_sd,se_ybar_lr_min,se_ybar_lr_max,selected_share,"
        "expected_ybar_lr,expected_se_ybar_lr,expected_selected";
    static void writeHeader(OutputFile& out);
    static void write(OutputFile& out, const SpreadRecord& r);
};

}  // namespace orr::files
