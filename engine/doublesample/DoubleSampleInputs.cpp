#include "engine/doublesample/DoubleSampleInputs.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include "core/CommaReader.h"
#include "core/InputError.h"
#include "core/NumberText.h"
#include "core/StagedOutputs.h"
#include "files/InputFiles.h"

namespace orr {

namespace {

// A file that an earlier step writes must be there before step 9 reads anything.
void requireFile(const std::filesystem::path& file, std::string_view writtenBy) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        throw InputError("Missing file " + file.string() + ": it is written by " +
                         std::string(writtenBy) + ".");
    }
}

void requireTreeFile(const std::filesystem::path& file) {
    if (file.empty()) {
        throw InputError(
            "No Phase 2 tree input file is chosen: it is chosen in step 5 (Compute Plots).");
    }
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        throw InputError("Missing file " + file.string() +
                         ": the Phase 2 tree input file, chosen in step 5 (Compute Plots).");
    }
}

// Strata of the plots 0..maxPlots, row by row in file order: a later row overwrites an earlier
// one where their plot ranges overlap. Plot numbers beyond 0..maxPlots cannot occur in the
// other files, so a range is only followed as far as the table goes.
void assignStrata(const std::filesystem::path& file, const StrataTable& rows, int maxPlots,
                  DoubleSampleInputs& in) {
    in.plotStratum.assign(static_cast<std::size_t>(std::max(maxPlots, -1) + 1), 0);
    in.H = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const StrataRow& row = rows[r];
        if (row.stratum < 0) {
            throw InputError::at(file, static_cast<long>(r + 1), 1, "Strata",
                                 std::to_string(row.stratum),
                                 "is not a stratum number (0 or more)");
        }
        in.H = std::max(in.H, static_cast<int>(row.stratum));
        const int first = std::max(0, static_cast<int>(row.beginPlot));
        const int last = std::min(maxPlots, static_cast<int>(row.endPlot));
        for (int plot = first; plot <= last; ++plot) {
            in.plotStratum[static_cast<std::size_t>(plot)] = row.stratum;
        }
    }
}

// A Phase 1 file of step 7: records plot, species, N, BA, VOL. A plot counts for its stratum
// index (and for index 0) when one of its records has N or BA other than 0.
void readPhase1(const std::filesystem::path& file, const Session& session, DoubleSampleInputs& in,
                std::vector<Phase1Totals>& totals) {
    const int maxPlots = session.params.MaxPlots;
    totals.assign(static_cast<std::size_t>(in.H) + 1, Phase1Totals{});
    std::vector<char> counted(in.plotStratum.size(), 0);
    CommaReader reader(file);
    while (reader.next(5)) {
        const int plot = reader.intInRange(0, "plot", 0, maxPlots);
        reader.intInRange(1, "species", 0, session.params.MaxSpec);
        const double N = reader.number(2, "N");
        const double BA = reader.number(3, "BA");
        const double VOL = reader.number(4, "VOL");
        if (N == 0 && BA == 0) continue;
        const int h = in.plotStratum[static_cast<std::size_t>(plot)];
        const bool first = !counted[static_cast<std::size_t>(plot)];
        counted[static_cast<std::size_t>(plot)] = 1;
        Phase1Totals& all = totals[0];
        all.plots += first ? 1 : 0;
        all.baSum += BA;
        all.volSum += VOL;
        if (h >= 1) {
            Phase1Totals& own = totals[static_cast<std::size_t>(h)];
            own.plots += first ? 1 : 0;
            own.baSum += BA;
            own.volSum += VOL;
        }
    }
}

// _Phase2.csv of step 8: PLOT, GN, GBA, GVOL, L1N, L1BA, L1VOL, L2N, L2BA, L2VOL. A plot whose
// ground N and BA are both 0 or less has no ground trees and counts nowhere.
void readPhase2(const std::filesystem::path& file, int maxPlots, DoubleSampleInputs& in) {
    static constexpr const char* kNames[10] = {"PLOT", "GN",    "GBA", "GVOL", "L1N",
                                               "L1BA", "L1VOL", "L2N", "L2BA", "L2VOL"};
    in.phase2.assign(static_cast<std::size_t>(in.H) + 1, {});
    CommaReader reader(file);
    while (reader.next(10)) {
        const int plot = reader.intInRange(0, kNames[0], 0, maxPlots);
        double v[10];
        for (int i = 1; i < 10; ++i) v[i] = reader.number(i, kNames[i]);
        if (v[1] <= 0 && v[2] <= 0) continue;
        const Phase2Plot p{v[3], {v[5], v[6], v[8], v[9]}};
        in.phase2[0].push_back(p);
        const int h = in.plotStratum[static_cast<std::size_t>(plot)];
        if (h >= 1) in.phase2[static_cast<std::size_t>(h)].push_back(p);
    }
}

// _PH2Plot.csv of step 5: plot, species, product, N, BA, volume and three percentages (unused).
void readPlotClasses(const std::filesystem::path& file, const ParamRecord& p,
                     DoubleSampleInputs& in) {
    CommaReader reader(file);
    while (reader.next(9)) {
        ClassValues c;
        c.plot = reader.intInRange(0, "Plot", 0, p.MaxPlots);
        c.species = reader.intInRange(1, "Species", 0, p.MaxSpec);
        c.product = reader.intInRange(2, "Product", 0, p.MaxProd);
        c.N = reader.number(3, "N");
        c.BA = reader.number(4, "BA");
        c.vol = reader.number(5, "Volume");
        in.plotClasses.push_back(c);
    }
}

// _PH2Sum.csv of step 5: species, product, mean N, mean BA, mean volume, number of plots
// (unused).
void readSummary(const std::filesystem::path& file, const ParamRecord& p, DoubleSampleInputs& in) {
    CommaReader reader(file);
    while (reader.next(6)) {
        ClassValues c;
        c.species = reader.intInRange(0, "species", 0, p.MaxSpec);
        c.product = reader.intInRange(1, "product", 0, p.MaxProd);
        c.N = reader.number(2, "mean N");
        c.BA = reader.number(3, "mean BA");
        c.vol = reader.number(4, "mean volume");
        in.summary.push_back(c);
    }
}

// The tree input file: plot, species, product, DBH, height, age and two extra values. Trees of a
// species or product above the class tables, and trees without a measured height, are left out.
void readTrees(const std::filesystem::path& file, const ParamRecord& p, DoubleSampleInputs& in) {
    CommaReader reader(file);
    while (reader.next(8)) {
        TreeHeight t;
        t.plot = reader.intInRange(0, "Plot", 0, p.MaxPlots);
        const long long species = cintHalfEven(reader.number(1, "Species"));
        const long long product = cintHalfEven(reader.number(2, "Product"));
        if (species < 0) reader.fail(1, "Species", "is not a species code (0 or more)");
        if (product < 0) reader.fail(2, "Product", "is not a product code (0 or more)");
        t.height = reader.number(4, "Height");
        if (species > p.MaxSpec || product > p.MaxProd || t.height == 0) continue;
        t.species = static_cast<int>(species);
        t.product = static_cast<int>(product);
        in.measuredTrees.push_back(t);
    }
}

}  // namespace

DoubleSampleInputs readDoubleSampleInputs(const Session& session) {
    const auto phase1DS1 = session.dataSetFile("_Phase1DS1.csv");
    const auto phase1DS2 = session.dataSetFile("_Phase1DS2.csv");
    const auto phase2 = session.dataSetFile("_Phase2.csv");
    const auto plotFile = session.dataSetFile("_PH2Plot.csv");
    const auto sumFile = session.dataSetFile("_PH2Sum.csv");

    // Every file must be there before anything is read or replaced.
    if (session.StrataFileName.empty()) {
        throw InputError("No strata file is chosen: it is chosen or created in step 4.");
    }
    requireFile(session.StrataFileName, "step 4 (the strata file)");
    requireFile(phase1DS1, "step 7 (Phase 1)");
    requireFile(phase2, "step 8 (Combine Phase 2)");
    requireFile(plotFile, "step 5 (Phase 2 plot totals)");
    requireFile(sumFile, "step 5 (Phase 2 plot totals)");
    requireTreeFile(session.TreeInputFileName);

    DoubleSampleInputs in;
    assignStrata(session.StrataFileName, readStrataFile(session.StrataFileName),
                 session.params.MaxPlots, in);
    readPhase1(phase1DS1, session, in, in.phase1[0]);
    // DataSet 2 is optional: without a Phase 1 file of it (or with an empty one) its totals
    // stay 0 in every stratum.
    if (fileLength(phase1DS2) > 0) {
        readPhase1(phase1DS2, session, in, in.phase1[1]);
    } else {
        in.phase1[1].assign(static_cast<std::size_t>(in.H) + 1, Phase1Totals{});
    }
    readPhase2(phase2, session.params.MaxPlots, in);
    readPlotClasses(plotFile, session.params, in);
    readSummary(sumFile, session.params, in);
    readTrees(session.TreeInputFileName, session.params, in);
    return in;
}

}  // namespace orr
