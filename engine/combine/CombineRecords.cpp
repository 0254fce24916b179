#include "engine/combine/CombineRecords.h"

#include "core/CommaReader.h"

namespace orr {

void readPlotClassFile(const std::filesystem::path& file, const CombineLimits& limits,
                       const std::function<void(const PlotClassRecord&)>& use) {
    CommaReader in(file);
    PlotClassRecord r;
    while (in.next(9)) {
        r.plot = in.intInRange(0, "PLOT", 1, limits.maxPlots);
        r.species = in.intInRange(1, "SP", 1, limits.maxSpec);
        r.product = in.intInRange(2, "PR", 1, limits.maxProd);
        r.GN = in.number(3, "GN");
        r.GBA = in.number(4, "GBA");
        r.GVOL = in.number(5, "GVOL");
        r.LN = in.number(6, "LN");
        r.LBA = in.number(7, "LBA");
        r.LVOL = in.number(8, "LVOL");
        use(r);
    }
}

void readSummaryFile(const std::filesystem::path& file, const CombineLimits& limits,
                     const std::function<void(const SummaryRecord&)>& use) {
    CommaReader in(file);
    SummaryRecord r;
    while (in.next(6)) {
        r.species = in.intInRange(0, "species", 1, limits.maxSpec);
        r.product = in.intInRange(1, "product", 1, limits.maxProd);
        r.meanN = in.number(2, "mean N");
        r.meanBA = in.number(3, "mean BA");
        r.meanVol = in.number(4, "mean volume");
        r.plots = in.int16(5, "number of plots");
        use(r);
    }
}

void readPhase1File(const std::filesystem::path& file, const CombineLimits& limits,
                    const std::function<void(const Phase1Record&)>& use) {
    CommaReader in(file);
    Phase1Record r;
    while (in.next(5)) {
        r.plot = in.intInRange(0, "plot", 1, limits.maxPlots);
        r.species = in.intInRange(1, "species", 1, limits.maxSpec);
        r.N = in.number(2, "N");
        r.BA = in.number(3, "BA");
        r.VOL = in.number(4, "VOL");
        use(r);
    }
}

}  // namespace orr
