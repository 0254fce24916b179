// The stratum volume report _StratVol.txt: one row block per stratum index and one for the
// strata combined, each stratum's selected mean volume allocated to its species-product classes
// by basal-area share and by volume share, with the Phase 2 class means.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/OutputSet.h"
#include "engine/doublesample/Allocation.h"
#include "engine/doublesample/StratifiedEstimates.h"

namespace orr {

namespace stratvol {

// Running sums of the class lines of a species or of a whole row.
struct ClassSums {
    double BAalloc = 0;
    double VolAlloc = 0;
    double N = 0;
    double BA = 0;
    double NHeight = 0;  // sum of N x mean height
    double vol = 0;
};

// Single lines, without CR LF. The row prefix is 44 characters wide for non-negative estimates.
std::string headerLine();
std::string rowPrefix(std::string_view label, const SelectedEstimate& e);
std::string classLine(int species, int product, double BAalloc, double VolAlloc, double N,
                      double BA, double height, double vol);
std::string subtotalLine(const ClassSums& s);
std::string totalLine(const ClassSums& s);

}  // namespace stratvol

// One class line of a report row: the row's estimate allocated to the class by its shares of
// basal area and volume, and the class's Phase 2 means.
struct ClassLine {
    int species = 0;
    int product = 0;
    double BAalloc = 0;
    double VolAlloc = 0;
    double N = 0;
    double BA = 0;
    double height = 0;
    double vol = 0;
};

// The label of report row r: "non-stratified" (r = 0), the stratum number, or "combined"
// (r = H + 1).
std::string stratVolRowLabel(int r, const DoubleSampleEstimates& est);
// The class lines of report row r (stratum index r, or the strata combined for r = H + 1, which
// uses the classes of index 0), in the report's order: species outer, product inner.
std::vector<ClassLine> classLines(int r, const Allocation& a, const DoubleSampleEstimates& est);

// The whole report, written to `out`.
void writeStratVolReport(const Allocation& a, const DoubleSampleEstimates& est, OutputFile& out);

}  // namespace orr
