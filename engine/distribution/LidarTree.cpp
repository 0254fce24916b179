#include "engine/distribution/LidarTree.h"

#include <cmath>

#include "core/NumberText.h"
#include "engine/equations/TreeEquations.h"

namespace orr::distribution {

namespace {

// b0 + b1 * h^b2 (ModelSet 0) or b0 + b1 * age + b2 * h^b3 (ModelSet 1), from the pass's
// ground-height equation.
double groundHeight(const std::array<double, 4>& b, bool modelSet1, int age, double h) {
    if (modelSet1) return b[0] + b[1] * age + b[2] * std::pow(h, b[3]);
    return b[0] + b[1] * std::pow(h, b[2]);
}

// DBH from equation 1 with L = ln H: b0 + b1 * L^b2 (ModelSet 0) or
// exp(b0 + b1 * L^b2 * age^b3) (ModelSet 1). NaN where a power has no real value.
double dbhFromHeight(const std::array<double, 4>& b, bool modelSet1, int age, double H) {
    const double L = std::log(H);
    if (modelSet1) return std::exp(b[0] + b[1] * std::pow(L, b[2]) * std::pow(age, b[3]));
    return b[0] + b[1] * std::pow(L, b[2]);
}

}  // namespace

LidarTree growLidarTree(const TreeRuleSetup& setup, int species, int age, double height) {
    LidarTree tree;
    if (height <= 10) return tree;

    const CoefficientTable& coeff = *setup.coeff;
    const ParamRecord& params = *setup.params;
    const bool modelSet1 = params.ModelSet == 1;

    double H = height;
    if (params.LiHgtAdj == 0) {
        const int equation = setup.pass == 1 ? 3 : 4;
        const auto& b = coeff.at(equation, species);
        const bool missing = setup.pass == 1 ? b[2] == 0 : b[1] == 0;
        if (missing) {
            tree.kind = LidarTree::Kind::MissingCoefficient;
            return tree;
        }
        H = groundHeight(b, modelSet1, age, height);
    }
    tree.kind = LidarTree::Kind::NotCounted;
    if (!std::isfinite(H) || H <= 0) return tree;

    const double D = dbhFromHeight(coeff.at(1, species), modelSet1, age, H);
    if (!std::isfinite(D)) return tree;

    const double ba = treeBasalArea(D);
    if (!std::isfinite(ba)) return tree;
    tree.kind = LidarTree::Kind::Grown;
    tree.dbh = D;
    tree.dbh1 = roundHalfEven(D, 1);
    tree.groundHeight = H;
    tree.basalArea = ba;
    return tree;
}

double lidarTreeVolume(const TreeRuleSetup& setup, int species, const LidarTree& tree) {
    return treeVolume(*setup.coeff, *setup.params, species, tree.dbh, tree.groundHeight);
}

}  // namespace orr::distribution
