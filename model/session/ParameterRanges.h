// The ranges of the user parameters within which every step can carry them, checked wherever
// the parameters are read (PARAMETER.PRM at start-up), set (the parameters dialog, `params set`)
// or about to be used (the start of a step, in the window and on the command line), so that no
// step starts with a value that it or a later step cannot use.
//
//   PACF, MaxItern              1 to 32767 (their 16-bit fields)
//   MaxPlots                    1 to 2000000000 (plot numbers of every file; PARAMETER.PRM keeps
//                               a value above 32767 after its 22-byte record)
//   MaxSpec                     1 to 999   (the tables per species and product class, and the
//   MaxProd                     1 to 99     files that must hold a record for every one, grow
//                                           with their product)
//   LiHgtAdj, ModelSet          0 or 1 (list positions)
//   LidarClasses                0 (random draws) or 1 (expected shares)
//   PTIP, STIP                  finite, 0 to 100 inches; checked only with ModelSet 2 (list
//                               position 1), the only model set that uses and stores them
//   GroundPlotCost,             the costs of a ground and a LiDAR plot in the plan of the next
//   LidarPlotCost               inventory: numbers greater than 0, from 0.000001 to 1e12 (any
//                               currency or unit, so that the plan's figures stay finite)
//   TargetError                 the sampling error aimed at: greater than 0 and at most 100
//                               percent, and at least 0.001
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Parameters.h"

namespace orr {

// A count parameter, with the words of its messages ("<caption> should be greater than 0",
// "<caption> should be at most <max>"). MaxPlots is a 32-bit field, the other counts 16-bit ones.
struct CountParameter {
    const char* name;     // as in PARAMETER.PRM and `params set`
    const char* caption;  // as the parameters dialog's messages name it
    std::int16_t ParamRecord::*field16;
    std::int32_t ParamRecord::*field32;
    std::int32_t max;

    std::int32_t get(const ParamRecord& p) const { return field16 ? p.*field16 : p.*field32; }
    // `value` must lie in 1..max.
    void set(ParamRecord& p, std::int32_t value) const {
        if (field16)
            p.*field16 = static_cast<std::int16_t>(value);
        else
            p.*field32 = value;
    }
};
inline constexpr int kMaxSpeciesCount = 999;
inline constexpr int kMaxProductCount = 99;
inline constexpr std::array<CountParameter, 5> kCountParameters{{
    {"PACF", "PACF", &ParamRecord::PACF, nullptr, 32767},
    {"MaxSpec", "Max number of Species", &ParamRecord::MaxSpec, nullptr, kMaxSpeciesCount},
    {"MaxProd", "Max number of Products", &ParamRecord::MaxProd, nullptr, kMaxProductCount},
    {"MaxItern", "Max number of Iterations", &ParamRecord::MaxItern, nullptr, 32767},
    {"MaxPlots", "Max number of Plots", nullptr, &ParamRecord::MaxPlots, kLargestMaxPlots},
}};
// The largest top diameter (inches) that PTIP and STIP may hold.
inline constexpr float kMaxTipDiameter = 100.0f;

// The message for a count of value `value`, or nullopt when it is in range.
std::optional<std::string> countProblem(const CountParameter& count, long long value);
// A count as the parameters dialog and `params set` take it (ParamsCommand.cpp,
// ParametersDialog.cpp): a whole number, blanks around it allowed; a text that begins with no
// number counts as 0. The message when it is not a whole number or out of range; otherwise
// `value` is set.
std::optional<std::string> typedCount(const CountParameter& count, std::string_view text,
                                      std::int32_t& value);
// The message for PTIP or STIP (`name`) of value `value`, or nullopt when it is in range.
std::optional<std::string> tipProblem(const char* name, float value);

// How steps 6 and 7 give LiDAR trees their classes, as `params` prints it and `params set` takes
// it: "draws" (position 0) and "expected" (position 1).
inline constexpr std::array<const char*, 2> kLidarClassesNames{"draws", "expected"};
std::optional<std::string> lidarClassesProblem(std::int16_t value);

// A setting of the plan of the next inventory, with the words of its messages ("<caption> should
// be greater than 0").
struct PlanParameter {
    const char* name;     // as in PARAMETER.PRM and `params set`
    const char* caption;  // as the messages name it
    double ParamRecord::*field;
    double least;  // the smallest value taken (above 0)
    double most;   // the largest
};
inline constexpr std::array<PlanParameter, 3> kPlanParameters{{
    {"GroundPlotCost", "Ground plot cost (GroundPlotCost)", &ParamRecord::GroundPlotCost, 1e-6,
     1e12},
    {"LidarPlotCost", "LiDAR plot cost (LidarPlotCost)", &ParamRecord::LidarPlotCost, 1e-6, 1e12},
    {"TargetError", "Target error (TargetError)", &ParamRecord::TargetError, 0.001, 100},
}};

// The message for a plan setting of value `value`, or nullopt when it is in range.
std::optional<std::string> planProblem(const PlanParameter& setting, double value);
// A plan setting as the parameters dialog and `params set` take it: the whole text must be a
// number (blanks around it allowed). The message when it is not, or is out of range; otherwise
// `value` is set.
std::optional<std::string> typedPlanValue(const PlanParameter& setting, std::string_view text,
                                          double& value);

// The message of the first parameter out of its range, in the order of the record; nullopt when
// every one is in range.
std::optional<std::string> parameterProblem(const ParamRecord& p);

}  // namespace orr
