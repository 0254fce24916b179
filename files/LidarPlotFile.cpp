#include "files/LidarPlotFile.h"

#include "core/NumberText.h"

namespace orr::files {

void LidarPlotFile::parse(const CommaReader& in, const Limits& limits, Record& r) {
    r.plot = in.intInRange(0, "PLOT", 1, limits.maxPlots);
    r.species = in.intInRange(1, "SP", 1, limits.maxSpec);
    r.product = in.intInRange(2, "PR", 1, limits.maxProd);
    r.groundN = in.number(3, "GN");
    r.groundBA = in.number(4, "GBA");
    r.groundVol = in.number(5, "GVOL");
    r.lidarN = in.number(6, "LN");
    r.lidarBA = in.number(7, "LBA");
    r.lidarVol = in.number(8, "LVOL");
}

void LidarPlotFile::write(std::string& line, const Record& r) {
    const double fields[] = {
        static_cast<double>(r.plot),    static_cast<double>(r.species),
        static_cast<double>(r.product), r.groundN,
        roundHalfEven(r.groundBA, 1),   roundHalfEven(r.groundVol, 0),
        roundHalfEven(r.lidarN, 0),     roundHalfEven(r.lidarBA, 1),
        roundHalfEven(r.lidarVol, 0),
    };
    bool first = true;
    for (double x : fields) {
        if (!first) line += ',';
        first = false;
        appendPrintStyle(line, x);
    }
    line += "\r\n";
}

}  // namespace orr::files
