// The seventeen built-in coefficient tables of the taper-based merchantable volume, by species
// code 1..5 (index 0 stays 0). Each value is the single-precision number nearest to its decimal.
#include "engine/equations/TreeEquations.h"

namespace orr {

namespace {

TaperTables makeTables() {
    return TaperTables{
        // Total volume: multiplier, DBH exponent, height exponent.
        .TV0 = {0.0f, 0.002805426f, 0.001509918f, 0.002102349f, 0.00140629f, 0.001680271f},
        .TVD = {0.0f, 2.0728f, 2.0258f, 1.983f, 2.0275f, 1.8817f},
        .TVH = {0.0f, 0.9061f, 1.0783f, 1.0231f, 1.0903f, 1.1446f},
        // Stem taper.
        .TPD = {0.0f, -0.0030706f, -0.002801f, -0.0034411f, -0.0058218f, -0.0064437f},
        .TPH = {0.0f, 0.0012121f, 0.0015431f, 0.0013612f, 0.0024838f, 0.0013702f},
        .TP1 = {0.0f, 1.43168f, 1.42656f, 2.28177f, 1.95827f, 1.4859f},
        .TP2 = {0.0f, 0.0f, 0.0f, -2.218238f, -1.500386f, 0.0f},
        .TP3 = {0.0f, -1.396849f, -1.590904f, -0.872064f, 0.0f, -1.413367f},
        .TP4 = {0.0f, 0.833633f, 0.9857f, 0.0f, 0.400568f, 0.83703f},
        .TP0 = {0.0f, -0.14969f, -0.20807f, -0.18247f, -0.23077f, -0.10149f},
        // Volume ratio.
        .VRD = {0.0f, 0.0021347f, 0.0f, 0.0018866f, 0.0044107f, 0.0054902f},
        .VRH = {0.0f, -0.0020133f, -0.0018873f, -0.0022033f, -0.0032791f, -0.0019947f},
        .VR1 = {0.0f, 0.24464f, 0.16383f, 0.25661f, -0.29538f, 0.0f},
        .VR2 = {0.0f, -1.134336f, -1.145999f, -1.375152f, 0.0f, -0.357446f},
        .VR3 = {0.0f, 0.0f, 0.159438f, 0.270681f, -1.08116f, -0.99204f},
        .VR4 = {0.0f, 0.065923f, 0.0f, 0.0f, 0.486593f, 0.482532f},
        .VR0 = {0.0f, -0.73263f, -0.69066f, -0.70414f, -0.67768f, -0.77081f},
    };
}

}  // namespace

const TaperTables& taperTables() {
    static const TaperTables tables = makeTables();
    return tables;
}

}  // namespace orr
