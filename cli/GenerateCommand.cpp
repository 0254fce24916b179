// orravant-cli generate: writes a data set in the input layouts, for tests, demonstrations and
// benchmarks.
#include <ostream>
#include <string>

#include "cli/CliCommand.h"
#include "cli/CommandOptions.h"
#include "cli/FlagList.h"
#include "tools/generator/Generator.h"

namespace orr {

namespace {

std::string generateUsage() {
    return synopsis("usage: orravant-cli generate", generateOptions(), {}) +
           "\n"
           "Writes a data set into DIR: coefficients.csv, strata.csv, dbh.csv, trees.csv,\n"
           "lidar-ds1.csv, lidar-ds2.csv and params.txt (NAME=VALUE lines for 'params set').\n"
           "\n" +
           usageOptions(generateOptions());
}

}  // namespace

int generateCommand(CliContext& ctx) {
    for (const auto& word : ctx.args) {
        if (word == "--help") {
            ctx.out << generateUsage();
            return kExitOk;
        }
    }
    generator::DataSetShape shape;
    std::uint64_t seed = generator::kSampleSeed;
    std::filesystem::path out;
    try {
        FlagList flags(ctx.args, generateOptions());
        out = flags.required("out");
        const std::string preset = flags.value("preset").value_or("sample");
        auto chosen = generator::presetShape(preset);
        if (!chosen) {
            throw UsageError("--preset must be sample, large, large-x2 or state, not '" + preset +
                             "'");
        }
        shape = *chosen;
        if (auto plots = flags.integer("plots", 1, generator::kMaxGeneratedPlots)) {
            generator::resizeShape(shape, static_cast<int>(*plots));
        }
        if (auto n = flags.integer("height-decimals", 1, 2)) {
            shape.heightDecimals = static_cast<int>(*n);
        }
        if (auto n = flags.integer("seed", 0, 0x7fffffffffffffffLL)) {
            seed = static_cast<std::uint64_t>(*n);
        }
    } catch (const UsageError& e) {
        ctx.err << "error: " << e.what() << "\n"
                << "Try 'orravant-cli generate --help'.\n";
        return kExitUsage;
    }
    try {
        const auto files = generator::generateDataSet(shape, seed, out);
        ctx.out << "Data set written to " << out.string() << ": " << shape.phase1Plots
                << " Phase 1 plots, " << shape.phase2Plots << " Phase 2 plots, " << shape.species
                << " species, " << shape.strata << " strata\n";
        for (const auto& file : files.all()) {
            ctx.out << "  " << file.filename().string() << "\n";
        }
    } catch (const std::exception& e) {
        ctx.err << "error: " << e.what() << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace orr
