#include "engine/doublesample/RegressReport.h"

#include "core/NumberText.h"

namespace orr::regress {

namespace {

// signedShortestNoLeadingZero of x rounded half to even to `decimals` places.
std::string rounded(double x, int decimals) {
    return signedShortestNoLeadingZero(roundHalfEven(x, decimals));
}

// signedShortestNoLeadingZero of the whole number nearest to x, halves to even, however large it
// is.
std::string whole(double x) {
    return signedShortestNoLeadingZero(roundHalfEven(x, 0));
}

std::string field(const std::string& text, int width) {
    return padField(text, width);
}

}  // namespace

std::string headerLine() {
    return padCaption("St", 6) + padCaption("Depend", 8) + padCaption("Independ", 18) +
           padCaption("Beta", 8) + padCaption("IdxFt", 8) + padCaption("YbarLR", 8) +
           padCaption("S_ybarLR", 10) + padCaption("Rho", 8) + padCaption("SE", 7) +
           padCaption("N1", 8) + padCaption("N2L", 6) + "N2G";
}

std::string regressionLine(int h, int k, const StratumEstimate& e) {
    const RegressionResult& r = e.reg[k];
    const int d = dataSetOf(k);
    return field(signedShortestNoLeadingZero(h), 5) + field("GrnVol", 8) +
           field(std::string(variableName(k)), 18) +
           field(fixedDecimalsHalfAway(r.Beta, "0.0000"), 7) + field(rounded(r.IdxFt, 1), 7) +
           field(rounded(r.YbarLR, 1), 7) + field(rounded(r.SybarLR, 2), 10) +
           field(fixedDecimalsHalfAway(r.Rho, "0.0000"), 7) + field(rounded(r.SE, 2), 6) +
           field(rounded(e.N1[d], 0), 7) + field(rounded(e.n[d], 0), 5) + rounded(e.N2G, 0);
}

std::string variableHeaderLine() {
    return padCaption("St", 6) + padCaption("Variable", 15) + blanks(19) + padCaption("Phase1", 8) +
           padCaption("Phase2", 8) + padCaption("CV", 9) + blanks(16) + padCaption("N_rs", 8) +
           padCaption("N1", 6) + "N2";
}

std::string variableLine(int h, int k, const StratumEstimate& e) {
    const RegressionResult& r = e.reg[k];
    return field(signedShortestNoLeadingZero(h), 5) + field(std::string(variableName(k)), 16) +
           blanks(17) + field(rounded(r.phase1Mean, 1), 7) + field(rounded(r.phase2Mean, 1), 7) +
           field(rounded(e.CV[dataSetOf(k)], 2), 8) + blanks(16) + field(whole(r.Nrs), 7) +
           field(whole(r.N1req), 5) + whole(r.N2req);
}

std::string groundLine(int dataSet, double ybar) {
    return blanks(6) + (dataSet == 0 ? "Grn Volume-DS1" : "Grn Volume-DS2") + blanks(28) +
           shortest(roundHalfEven(ybar, 1));
}

std::string groundVolumeLine(double ybarG) {
    return blanks(6) + "Ground Volume" + blanks(29) + shortest(roundHalfEven(ybarG, 1));
}

std::string combinedHeaderLine() {
    return padCaption("St", 6) + padCaption("Depend", 8) + padCaption("Independ", 15) + blanks(19) +
           padCaption("YbarLR", 8) + padCaption("S_ybarLR", 8) + blanks(10) + "SE";
}

std::string combinedLine(int k, double estimate, double standardError, double sePercent) {
    return field("Co", 6) + field("GrnVol", 8) + field(std::string(variableName(k)), 17) +
           blanks(16) + field(rounded(estimate, 1), 7) + field(rounded(standardError, 2), 8) +
           blanks(9) + rounded(sePercent, 2);
}

}  // namespace orr::regress
