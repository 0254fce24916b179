#include "engine/phase2/GroundTrees.h"

#include "core/CommaReader.h"
#include "core/InputError.h"

namespace orr {

std::vector<GroundTree> readGroundTrees(const std::filesystem::path& file,
                                        const ParamRecord& params) {
    CommaReader reader(file);
    std::vector<GroundTree> trees;
    // Plot numbers index the later steps' tables, so they must lie within 1..MaxPlots.
    while (reader.next(8)) {
        GroundTree t;
        t.plot = reader.intInRange(0, "Plot", 1, params.MaxPlots);
        t.species = reader.intInRange(1, "Species", 0, params.MaxSpec);
        t.product = reader.intInRange(2, "Product", 0, params.MaxProd);
        t.dbh = reader.number(3, "DBH");
        t.height = reader.number(4, "Height");
        t.age = reader.int16(5, "Age");
        t.extra1 = reader.number(6, "Extra1");
        t.extra2 = reader.number(7, "Extra2");
        trees.push_back(t);
    }
    // A file without a single tree is the wrong file, not a stand without trees: refused, so
    // that the earlier plot totals are not replaced by nothing.
    if (trees.empty()) throw InputError::file(file, "holds no tree records");
    return trees;
}

}  // namespace orr
