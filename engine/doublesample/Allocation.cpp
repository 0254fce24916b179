#include "engine/doublesample/Allocation.h"

#include <initializer_list>

namespace orr {

ClassTable::ClassTable(int maxSpec, int maxProd) : maxProd_(maxProd) {
    const std::size_t size =
        static_cast<std::size_t>(maxSpec + 1) * static_cast<std::size_t>(maxProd + 1);
    for (auto* table : {&N, &BA, &vol, &heightSum, &trees, &height, &shareBA, &shareVol}) {
        table->assign(size, 0.0);
    }
}

namespace {

ClassTable& tableOf(Allocation& a, int h) {
    auto& slot = a.strata[static_cast<std::size_t>(h)];
    if (!slot) slot = std::make_unique<ClassTable>(a.maxSpec, a.maxProd);
    return *slot;
}

void formShares(ClassTable& t, bool sumsToMeans, double plots, int maxSpec, int maxProd) {
    double totalBA = 0;
    double totalVol = 0;
    for (int s = 1; s <= maxSpec; ++s) {
        for (int p = 1; p <= maxProd; ++p) {
            const std::size_t i = t.index(s, p);
            if (sumsToMeans) {
                t.N[i] /= plots;
                t.BA[i] /= plots;
                t.vol[i] /= plots;
            }
            totalBA += t.BA[i];
            totalVol += t.vol[i];
        }
    }
    for (int s = 1; s <= maxSpec; ++s) {
        for (int p = 1; p <= maxProd; ++p) {
            const std::size_t i = t.index(s, p);
            t.shareBA[i] = totalBA > 0 ? t.BA[i] / totalBA : 0;
            t.shareVol[i] = totalVol > 0 ? t.vol[i] / totalVol : 0;
        }
    }
}

}  // namespace

Allocation allocateClasses(const DoubleSampleInputs& in, const DoubleSampleEstimates& est,
                           int maxSpec, int maxProd) {
    Allocation a;
    a.maxSpec = maxSpec;
    a.maxProd = maxProd;
    a.strata.resize(static_cast<std::size_t>(in.H) + 1);

    // Sums of the plot records per stratum; a plot in no stratum adds to index 0, whose values
    // the summary means then replace.
    for (const files::PlotClass& c : in.plotClasses) {
        ClassTable& t = tableOf(a, in.stratumOf(c.plot));
        const std::size_t i = t.index(c.species, c.product);
        t.N[i] += c.n;
        t.BA[i] += c.ba;
        t.vol[i] += c.vol;
    }
    for (const files::ClassMean& c : in.summary) {
        ClassTable& t = tableOf(a, 0);
        const std::size_t i = t.index(c.species, c.product);
        t.N[i] = c.n;
        t.BA[i] = c.ba;
        t.vol[i] = c.vol;
    }

    for (const MeasuredTree& tree : in.measuredTrees) {
        const int h = in.stratumOf(tree.plot);
        for (const int index : {h, 0}) {
            ClassTable& t = tableOf(a, index);
            const std::size_t i = t.index(tree.species, tree.product);
            t.heightSum[i] += tree.height;
            t.trees[i] += 1;
            if (h == 0) break;  // a plot in no stratum counts once, at index 0
        }
    }

    for (auto& slot : a.strata) {
        if (!slot) continue;
        ClassTable& t = *slot;
        for (std::size_t i = 0; i < t.height.size(); ++i) {
            t.height[i] = t.trees[i] != 0 ? t.heightSum[i] / t.trees[i] : 0;
        }
    }

    // Strata without a written regression keep empty shares.
    for (int h = 0; h <= in.H; ++h) {
        const auto index = static_cast<std::size_t>(h);
        if (!(est.n2[index] > 0) || !a.strata[index]) continue;
        formShares(*a.strata[index], h != 0, est.n2g[index], maxSpec, maxProd);
    }
    return a;
}

}  // namespace orr
