#include "engine/doublesample/StratVolReport.h"

#include "core/NumberText.h"

namespace orr {

namespace stratvol {

namespace {

constexpr int kPrefixWidth = 44;

std::string rounded(double x, int decimals) {
    return signedShortestNoLeadingZero(roundHalfEven(x, decimals));
}
std::string whole(double x) {
    return signedShortestNoLeadingZero(roundHalfEven(x, 0));
}
std::string oneDecimal(double x) {
    return fixedDecimalsHalfAway(x, "0.0");
}

// The six fields that subtotal and total lines share.
std::string sumFields(const ClassSums& s) {
    const double meanHeight = s.N != 0 ? s.NHeight / s.N : 0;
    return padField(oneDecimal(s.BAalloc), 8) + padField(oneDecimal(s.VolAlloc), 8) +
           padField(whole(s.N), 6) + padField(oneDecimal(s.BA), 8) +
           padField(oneDecimal(meanHeight), 7) + whole(s.vol);
}

}  // namespace

std::string headerLine() {
    return padCaption("STRATA", 16) + padCaption("YBarLR", 10) + padCaption("S_yBarLR", 10) +
           padCaption("SE", 8) + padCaption("Sp", 6) + padCaption("Pr", 4) +
           padCaption("%BADis", 8) + padCaption("%VolDis", 10) + padCaption("N", 6) +
           padCaption("BA", 7) + padCaption("Hgt", 8) + "Vol";
}

std::string rowPrefix(std::string_view label, const SelectedEstimate& e) {
    return padField(label, 15) + padField(rounded(e.YbarLR, 2), 10) +
           padField(rounded(e.SybarLR, 2), 8) + padField(rounded(e.SE, 2), 8);
}

std::string classLine(int species, int product, double BAalloc, double VolAlloc, double N,
                      double BA, double height, double vol) {
    return padField(signedShortestNoLeadingZero(species), 4) +
           padField(signedShortestNoLeadingZero(product), 4) + padField(oneDecimal(BAalloc), 8) +
           padField(oneDecimal(VolAlloc), 8) + padField(whole(N), 6) + padField(oneDecimal(BA), 8) +
           padField(oneDecimal(height), 8) + oneDecimal(vol);
}

std::string subtotalLine(const ClassSums& s) {
    return blanks(kPrefixWidth + 1) + "Subtotal" + blanks(1) + sumFields(s);
}

std::string totalLine(const ClassSums& s) {
    return blanks(kPrefixWidth) + "--TOTAL--" + blanks(1) + sumFields(s);
}

}  // namespace stratvol

std::string stratVolRowLabel(int r, const DoubleSampleEstimates& est) {
    return r == 0 ? "non-stratified" : r == est.H + 1 ? "combined" : std::to_string(r);
}

std::vector<ClassLine> classLines(int r, const Allocation& a, const DoubleSampleEstimates& est) {
    std::vector<ClassLine> lines;
    const double YbarLR = est.best[static_cast<std::size_t>(r)].YbarLR;
    const ClassTable* t = a.at(r <= est.H ? r : 0);
    for (int s = 1; t && s <= a.maxSpec; ++s) {
        for (int p = 1; p <= a.maxProd; ++p) {
            const std::size_t i = t->index(s, p);
            if (t->shareVol[i] == 0 && t->shareBA[i] == 0) continue;
            lines.push_back({s, p, t->shareBA[i] * YbarLR, t->shareVol[i] * YbarLR, t->N[i],
                             t->BA[i], t->height[i], t->vol[i]});
        }
    }
    return lines;
}

namespace {

void add(stratvol::ClassSums& s, const ClassLine& c) {
    s.BAalloc += c.BAalloc;
    s.VolAlloc += c.VolAlloc;
    s.N += c.N;
    s.BA += c.BA;
    s.NHeight += c.N * c.height;
    s.vol += c.vol;
}

// The row block of report row r.
void writeRow(OutputFile& out, int r, const Allocation& a, const DoubleSampleEstimates& est) {
    out.append(
        stratvol::rowPrefix(stratVolRowLabel(r, est), est.best[static_cast<std::size_t>(r)]));
    bool continuesPrefix = true;
    stratvol::ClassSums row;
    stratvol::ClassSums species;
    const std::vector<ClassLine> lines = classLines(r, a, est);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ClassLine& c = lines[i];
        if (!continuesPrefix) out.append(blanks(stratvol::kPrefixWidth));
        continuesPrefix = false;
        out.append(stratvol::classLine(c.species, c.product, c.BAalloc, c.VolAlloc, c.N, c.BA,
                                       c.height, c.vol));
        out.append("\r\n");
        add(species, c);
        add(row, c);
        // After the last class of a species.
        if (i + 1 == lines.size() || lines[i + 1].species != c.species) {
            if (species.BAalloc > 0) out.append(stratvol::subtotalLine(species) + "\r\n");
            species = {};
        }
    }
    if (row.BAalloc > 0) out.append(stratvol::totalLine(row) + "\r\n");
    // Ends the prefix line when no class followed it, else leaves a blank line.
    out.append("\r\n");
}

}  // namespace

void writeStratVolReport(const Allocation& a, const DoubleSampleEstimates& est, OutputFile& out) {
    out.append(stratvol::headerLine() + "\r\n\r\n");
    for (int r = 0; r <= est.H + 1; ++r) writeRow(out, r, a, est);
}

}  // namespace orr
