// The data files step 9 writes beside its reports: _Estimates.csv and _Allocation.csv hold the
// very values the reports round (read back and rounded as the reports round them, they give the
// reports' text), with the confidence intervals and efficiencies worked out by hand on the
// single-stratum data set; and _Report.html shows them in one page of its own.
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

#include "core/NumberText.h"
#include "engine/doublesample/StudentT.h"
#include "files/AllocationFile.h"
#include "files/EstimatesFile.h"
#include "files/FileFingerprint.h"
#include "files/HeaderedFile.h"
#include "files/RunFile.h"
#include "tests/engine/doublesample/DoubleSampleFixture.h"

namespace orr::test {
namespace {

using files::AllocationRecord;
using files::EstimateRecord;
using Words = std::vector<std::string>;

std::vector<Words> wordsOfLines(const std::string& text) {
    std::vector<Words> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        lines.push_back({std::istream_iterator<std::string>(fields), {}});
    }
    return lines;
}

// The report's text of a value: signedShortestNoLeadingZero of it rounded, without the leading
// blank.
std::string strForm(double x, int decimals) {
    const std::string text = signedShortestNoLeadingZero(roundHalfEven(x, decimals));
    return text[0] == ' ' ? text.substr(1) : text;
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class ResultFiles : public DoubleSampleTest {
  protected:
    std::vector<EstimateRecord> estimates() {
        return files::readWithHeader<files::EstimatesFile>(path(DataSetFile::Estimates), {});
    }
    std::vector<AllocationRecord> allocation() {
        return files::readWithHeader<files::AllocationFile>(path(DataSetFile::Allocation),
                                                            files::Limits::of(session.params));
    }

    // Every regression and combined line of _Regress.txt against its row, in order; every class
    // line of _StratVol.txt against its row, in order.
    void expectTheReportsRoundTheFiles() {
        const std::vector<EstimateRecord> rows = estimates();
        std::size_t row = 0;
        for (const Words& w : wordsOfLines(read(DataSetFile::Regression))) {
            const bool regression = w.size() == 12 && w[1] == "GrnVol";
            const bool combined = w.size() == 6 && w[0] == "Co";
            if (!regression && !combined) continue;
            ASSERT_LT(row, rows.size());
            const EstimateRecord& r = rows[row++];
            EXPECT_EQ(w[2], r.variable);
            if (regression) {
                ASSERT_TRUE(r.stratum && r.beta && r.rho && r.n1 && r.n2);
                EXPECT_EQ(w[0], std::to_string(*r.stratum));
                EXPECT_EQ(w[3], fixedDecimalsHalfAway(*r.beta, "0.0000"));
                EXPECT_EQ(w[5], strForm(r.ybarLR, 1));
                EXPECT_EQ(w[6], strForm(r.seYbarLR, 2));
                EXPECT_EQ(w[7], fixedDecimalsHalfAway(*r.rho, "0.0000"));
                EXPECT_EQ(w[8], strForm(r.sePercent, 2));
                EXPECT_EQ(w[9], strForm(*r.n1, 0));
                EXPECT_EQ(w[10], strForm(*r.n2, 0));
            } else {
                EXPECT_FALSE(r.stratum || r.beta || r.n1 || r.groundMean || r.efficiency);
                EXPECT_EQ(w[3], strForm(r.ybarLR, 1));
                EXPECT_EQ(w[4], strForm(r.seYbarLR, 2));
                EXPECT_EQ(w[5], strForm(r.sePercent, 2));
            }
            EXPECT_DOUBLE_EQ(r.sePercent, 100 * r.t * r.seYbarLR / r.ybarLR);
            EXPECT_EQ(r.ci95Low, r.ybarLR - r.t * r.seYbarLR);
            EXPECT_EQ(r.ci95High, r.ybarLR + r.t * r.seYbarLR);
        }
        EXPECT_EQ(row, rows.size());

        const std::vector<AllocationRecord> classes = allocation();
        std::size_t line = 0;
        std::string label;
        for (const Words& w : wordsOfLines(read(DataSetFile::StratumVolume))) {
            if (w.empty() || w[0] == "STRATA") continue;        // the header
            if (w.size() == 4 || w.size() == 12) label = w[0];  // a row's prefix
            if (w.size() != 8 && w.size() != 12) continue;      // not a class line
            ASSERT_LT(line, classes.size());
            const AllocationRecord& c = classes[line++];
            const Words f(w.end() - 8, w.end());
            EXPECT_EQ(c.stratum, label);
            EXPECT_EQ(f, (Words{std::to_string(c.species), std::to_string(c.product),
                                fixedDecimalsHalfAway(c.baAlloc, "0.0"),
                                fixedDecimalsHalfAway(c.volAlloc, "0.0"), strForm(c.n, 0),
                                fixedDecimalsHalfAway(c.ba, "0.0"),
                                fixedDecimalsHalfAway(c.height, "0.0"),
                                fixedDecimalsHalfAway(c.volume, "0.0")}));
        }
        EXPECT_EQ(line, classes.size());
    }
};

TEST_F(ResultFiles, TheReportsRoundTheFiles) {
    writeSingleStratum();
    runExpectingSuccess();
    expectTheReportsRoundTheFiles();
    writeThreeStrata();
    runExpectingSuccess();
    expectTheReportsRoundTheFiles();
}

// By hand, stratum 1 of the single stratum (index 0 holds the same plots). LiBA-DS1: n = N1 = 4,
// M = 8, y = 100..160 (SSy 2000, s2 = 2000 / 3), so S_ybarLR^2 = (1 - 4/8) s2 / 4 = 250 / 3 (the
// second term vanishes with n = N1). LiBA-DS2: y = 200..230, SSy 500, S_ybarLR^2 = 125 / 6. The
// ground plots: mean 172.5, squares about it 16950, ground SE^2 = 16950 / 7 / 8; efficiency =
// ground SE^2 / S_ybarLR^2 = 3.6321... and 14.5285.... t of 2 degrees of freedom. N1, n, Beta and
// Rho are in the report worked by hand.
TEST_F(ResultFiles, SingleStratumValuesByHand) {
    writeSingleStratum();
    runExpectingSuccess();
    const std::vector<EstimateRecord> rows = estimates();
    ASSERT_EQ(rows.size(), 6u);  // strata 0 and 1: LiBA-DS1, LiBA-DS2; then both combined
    const double t = studentT(2, 0.05f);
    const double groundSE2 = 16950.0 / 7 / 8;
    struct Expected {
        const char* variable;
        bool selected;
        double ybar, se2;
    };
    const Expected byHand[] = {{"LiBA-DS1(sq.ft)", true, 300, 250.0 / 3},
                               {"LiBA-DS2(sq.ft)", false, 150, 125.0 / 6}};
    for (std::size_t i = 0; i < 4; ++i) {
        const EstimateRecord& r = rows[i];
        const Expected& e = byHand[i % 2];
        SCOPED_TRACE(i);
        EXPECT_EQ(r.stratum, static_cast<int>(i / 2));
        EXPECT_EQ(r.variable, e.variable);
        EXPECT_EQ(r.selected, e.selected);
        EXPECT_NEAR(r.ybarLR, e.ybar, 1e-9);
        EXPECT_NEAR(r.seYbarLR * r.seYbarLR, e.se2, 1e-9);
        EXPECT_EQ(r.t, t);
        EXPECT_NEAR(r.ci95Low, e.ybar - t * std::sqrt(e.se2), 1e-9);
        EXPECT_NEAR(r.ci95High, e.ybar + t * std::sqrt(e.se2), 1e-9);
        EXPECT_EQ(r.groundMean, 172.5);
        EXPECT_NEAR(*r.groundSE * *r.groundSE, groundSE2, 1e-9);
        EXPECT_NEAR(*r.efficiency, groundSE2 / e.se2, 1e-9);
    }
    // The combined lines: weight 1, the strata's standard errors, t of 8 - 2 degrees of freedom;
    // the tie of SE goes to the lower regression. Fields that belong to a stratum are empty.
    const std::string text = read(DataSetFile::Estimates);
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "stratum,variable,selected,n2,n1,beta,rho,ybar_lr,se_ybar_lr,se_percent,t,ci95_low,"
              "ci95_high,ground_mean,ground_se,efficiency,acres,total,se_total,total_ci95_low,"
              "total_ci95_high");
    for (std::size_t i = 4; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].selected, i == 4);
        EXPECT_NEAR(rows[i].ybarLR, byHand[i - 4].ybar, 1e-9);
        EXPECT_EQ(rows[i].t, studentT(6, 0.05f));
    }
    EXPECT_EQ(count(text, "combined,LiBA-DS1(sq.ft),1,,,,,"), 1u);
    // No ground mean, ground SE or efficiency, and without stratum areas no area fields.
    EXPECT_EQ(count(text, ",,,,,,,,\r\n"), 2u);
    EXPECT_EQ(count(text, ",,,,,\r\n"), 6u);
    const std::string classes = read(DataSetFile::Allocation);
    EXPECT_EQ(classes.substr(0, classes.find("\r\n")),
              "stratum,species,product,ba_alloc,vol_alloc,n,ba,height,volume");
}

// The page for the browser: one estimates row per row of _Estimates.csv, one scatter per stratum
// index, one allocation row per class line; the files step 9 read with their SHA-256; the
// combination notes among the warnings; nothing it would have to fetch. The earlier steps have no
// record here, which the page says; a record of step 8 that lists another _Phase2.csv than the
// one step 9 reads is flagged.
TEST_F(ResultFiles, TheReportForTheBrowser) {
    writeThreeStrata();
    runExpectingSuccess();
    std::string html = read(DataSetFile::Report);
    EXPECT_EQ(count(html, "<tr class=\"estimate"), estimates().size());
    EXPECT_EQ(count(html, "<svg class=\"scatter\""), 4u);
    EXPECT_EQ(count(html, "<tr class=\"class-line\">"), allocation().size());
    for (const auto& file :
         {session.inputs.strata, session.inputs.trees, path(DataSetFile::Phase2)}) {
        const files::FileFingerprint f = files::fingerprint(file);
        EXPECT_NE(html.find("<td class=\"text\">" + f.name + "</td><td>" + std::to_string(f.size) +
                            "</td><td class=\"hash\">" + f.sha256 + "</td>"),
                  std::string::npos)
            << f.name;
    }
    EXPECT_NE(
        html.find("<li class=\"warning\">LiBA-DS1(sq.ft): ground mean used in stratum 3</li>"),
        std::string::npos);
    EXPECT_NE(html.find("Not every step 5 to 8 has a record"), std::string::npos);
    for (const char* external : {"<script", "src=", "<link", "url(", "@import"})
        EXPECT_EQ(html.find(external), std::string::npos) << external;

    OutputSet set;
    OutputFile& run = set.file(path(DataSetFile::Run));
    files::RunFile::write(run, {8, "wrote", "T2_Phase2.csv", "12", std::string(64, '0')});
    set.commit();
    runExpectingSuccess();
    html = read(DataSetFile::Report);
    EXPECT_NE(html.find("<td class=\"text differs\">differs from the file step 8 wrote</td>"),
              std::string::npos);
}

}  // namespace
}  // namespace orr::test
