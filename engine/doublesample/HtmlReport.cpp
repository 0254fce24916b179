#include "engine/doublesample/HtmlReport.h"

#include <algorithm>
#include <string_view>

#include "core/NumberText.h"
#include "engine/doublesample/ChartData.h"
#include "engine/doublesample/HtmlCells.h"
#include "engine/doublesample/PlanReport.h"
#include "engine/doublesample/SvgScatter.h"
#include "files/DataSetFiles.h"

namespace orr {

namespace {

constexpr std::string_view kStyle =
    R"(body{font-family:sans-serif;margin:1.5em auto;max-width:1180px;padding:0 1em;color:#1a202c;line-height:1.4}
h1{font-size:1.5em;margin-bottom:.2em}h2{font-size:1.2em;margin-top:1.8em;border-bottom:1px solid #ccc}
h3{font-size:1em;margin-top:1.2em}
table{border-collapse:collapse;font-size:.85em;margin:.5em 0}
th,td{border:1px solid #d0d0d0;padding:.2em .45em;text-align:right;vertical-align:top}
th{background:#f0f0f0}td.text,th.text{text-align:left}td.text{white-space:nowrap}
tr.selected td{background:#eef6ee;font-weight:bold}
td.hash{font-family:monospace;font-size:.9em;text-align:left;word-break:break-all}
td.differs,span.differs{color:#b00020;font-weight:bold}
.summary{font-size:1.1em;background:#f6f8fa;padding:.6em .8em;border-left:4px solid #2b6cb0}
.notice{background:#fff8e1;padding:.4em .8em;border-left:4px solid #c05621}
.charts{display:flex;flex-wrap:wrap;gap:1em}
figure{margin:0;border:1px solid #ddd;padding:.5em}figcaption{font-size:.85em;max-width:420px}
.legend{font-size:.85em;color:#444}
.scroll{overflow-x:auto;max-width:100%}
svg{max-width:100%;height:auto}figure{max-width:100%;box-sizing:border-box}
p,li,h1,h2,h3{overflow-wrap:anywhere}
.run-header{font-size:.9em;margin:.3em 0}.run-header dt{font-weight:bold;float:left;clear:left;margin-right:.4em}
.run-header dd{margin:0 0 .1em 0}
.method p,.method li{max-width:50em}.formula{font-family:serif;font-size:1.05em;white-space:normal}
@media (max-width:600px){body{margin:.5em auto;padding:0 .5em}h1{font-size:1.25em}})";

std::string textCell(std::string_view text) {
    return cell(htmlEscaped(text), "text");
}

std::string stratumText(const std::optional<int>& stratum, bool areaWeighted = false) {
    if (!stratum) return areaWeighted ? "combined by area" : "combined";
    return *stratum == 0 ? "non-stratified" : std::to_string(*stratum);
}

// --- the estimates ------------------------------------------------------------------------

// A wide table in a box of its own that scrolls sideways on a narrow screen, so that the page
// itself never does.
std::string scrolling(const std::string& table) {
    return "<div class=\"scroll\">\n" + table + "</div>\n";
}

std::string areaSummary(const ReportContents& c) {
    for (const files::EstimateRecord& r : c.estimateRows) {
        if (!r.areaWeighted || !r.selected || !r.total) continue;
        return "<p class=\"summary\">Mean ground volume of the forest, strata weighted by their "
               "areas: <strong>" +
               halfAwayText(r.ybarLR, 1) +
               " cu.ft per acre</strong>, 95&nbsp;% confidence interval " +
               halfAwayText(r.ci95Low, 1) + " to " + halfAwayText(r.ci95High, 1) +
               " cu.ft per acre. Total ground volume over " + halfAwayText(*r.acres, 1) +
               " acres: <strong>" + halfAwayText(*r.total, 0) +
               " cu.ft</strong>, 95&nbsp;% confidence interval " +
               halfAwayText(*r.totalCi95Low, 0) + " to " + halfAwayText(*r.totalCi95High, 0) +
               " cu.ft (standard error " + halfAwayText(*r.seTotal, 0) + " cu.ft, SE " +
               halfAwayText(r.sePercent, 2) + "&nbsp;%), from the regressions on " +
               htmlEscaped(r.variable) + ".</p>\n";
    }
    std::string why;
    for (const std::string& note : areaNotes(*c.areas)) why += " " + htmlEscaped(note) + ".";
    return "<p class=\"summary\">No combination of the strata by area was formed, so there is no "
           "total over the forest." +
           why + "</p>\n";
}

std::string summary(const ReportContents& c) {
    if (c.areas) return areaSummary(c);
    for (const files::EstimateRecord& r : c.estimateRows) {
        if (r.stratum || r.areaWeighted || !r.selected) continue;
        return "<p class=\"summary\">Combined estimate of mean ground volume: <strong>" +
               halfAwayText(r.ybarLR, 1) +
               " cu.ft</strong> per acre, 95&nbsp;% confidence "
               "interval " +
               halfAwayText(r.ci95Low, 1) + " to " + halfAwayText(r.ci95High, 1) +
               " (standard error " + halfAwayText(r.seYbarLR, 2) + ", " +
               halfAwayText(r.sePercent, 2) + "&nbsp;%), from the regressions on " +
               htmlEscaped(r.variable) + ".</p>\n";
    }
    return "<p class=\"summary\">No combined estimate was formed; the estimates of the strata are "
           "below.</p>\n";
}

std::string estimatesTable(const ReportContents& c) {
    std::string html = "<table class=\"estimates\">\n<thead>\n";
    html += headerRow({"Stratum", "Variable", "Selected", "N2L", "N1", "Beta", "Rho", "YbarLR",
                       "S_ybarLR", "SE&nbsp;%", "t", "95&nbsp;% CI low", "95&nbsp;% CI high",
                       "Ground mean", "Ground SE", "Efficiency"});
    if (c.areas) {
        html.resize(html.size() - std::string_view("</tr>\n").size());
        html +=
            "<th>Acres</th><th>Total (cu.ft)</th><th>SE total</th><th>Total 95&nbsp;% CI "
            "low</th><th>Total 95&nbsp;% CI high</th></tr>\n";
    }
    html += "</thead>\n<tbody>\n";
    for (const files::EstimateRecord& r : c.estimateRows) {
        html += r.selected ? "<tr class=\"estimate selected\">" : "<tr class=\"estimate\">";
        html += textCell(stratumText(r.stratum, r.areaWeighted)) + textCell(r.variable) +
                cell(r.selected ? "yes" : "") + optionalCell(r.n2, 0) + optionalCell(r.n1, 0) +
                optionalCell(r.beta, 4) + optionalCell(r.rho, 4) + cell(halfAwayText(r.ybarLR, 1)) +
                cell(halfAwayText(r.seYbarLR, 2)) + cell(halfAwayText(r.sePercent, 2)) +
                cell(halfAwayText(r.t, 4)) + cell(halfAwayText(r.ci95Low, 1)) +
                cell(halfAwayText(r.ci95High, 1)) + optionalCell(r.groundMean, 1) +
                optionalCell(r.groundSE, 2) + optionalCell(r.efficiency, 2);
        if (c.areas) {
            html += optionalCell(r.acres, 1) + optionalCell(r.total, 0) +
                    optionalCell(r.seTotal, 0) + optionalCell(r.totalCi95Low, 0) +
                    optionalCell(r.totalCi95High, 0);
        }
        html += "</tr>\n";
    }
    html += "</tbody>\n</table>\n";
    html = scrolling(html);
    html +=
        "<p class=\"legend\">Mean ground volume in cu.ft per acre. N2L: Phase 2 plots with "
        "LiDAR data; N1: Phase 1 plots; the interval is YbarLR &minus;/+ t&middot;S_ybarLR; SE "
        "&nbsp;% is its half-width relative to the estimate (see <a href=\"#method\">Method</a>). "
        "Ground mean and ground SE: the stratum's Phase 2 ground plots alone. Efficiency: how "
        "many times as many ground plots a ground-only inventory would need for the same "
        "precision. The values are rounded as shown; " +
        htmlEscaped(files::fileName(c.dataSetName, files::DataSetFile::Estimates)) +
        " holds them unrounded." +
        std::string(c.areas ? " With the stratum areas, the total is the mean per acre times the "
                              "acres, in cu.ft, with its standard error and 95&nbsp;% interval."
                            : "") +
        "</p>\n";
    return html;
}

std::string scatterFigures(const ReportContents& c) {
    const DoubleSampleEstimates& est = *c.estimates;
    std::string html = "<div class=\"charts\">\n";
    for (int h = 0; h <= est.H; ++h) {
        const StratumScatter s = stratumScatter(*c.inputs, est, h, std::nullopt);
        const std::string name(variableName(s.k));
        html += "<figure>\n" + svgScatter(s, name) + "\n<figcaption><strong>" +
                (h == 0 ? std::string("Non-stratified") : "Stratum " + std::to_string(h)) +
                "</strong>: ";
        if (s.hasRegression) {
            html += "ground volume on " + htmlEscaped(name) + ", " +
                    std::to_string(s.plots.size()) + " Phase 2 plots. R&sup2; " +
                    halfAwayText(s.rSquared, 3) + ", SE " + halfAwayText(s.sePercent, 2) +
                    "&nbsp;%, efficiency " +
                    (s.efficiency ? halfAwayText(*s.efficiency, 2) : std::string("&ndash;")) +
                    ". Estimate " + halfAwayText(s.estimate, 1) + " at the Phase 1 mean " +
                    halfAwayText(s.phase1Mean, 1) + " (diamond on the dashed line)." +
                    (s.selected ? "" : " This regression was not selected.");
        } else {
            html += std::to_string(s.plots.size()) +
                    " Phase 2 plots; no regression could be used for this stratum.";
        }
        html += "</figcaption>\n</figure>\n";
    }
    return html + "</div>\n";
}

std::string allocationTable(const ReportContents& c) {
    std::string html = "<table class=\"allocation\">\n<thead>\n";
    html += headerRow({"Stratum", "Species", "Product", "Volume allocated by basal-area share",
                       "Volume allocated by volume share", "N", "BA", "Height", "Volume"});
    html += "</thead>\n<tbody>\n";
    for (const files::AllocationRecord& r : c.allocationRows) {
        html += "<tr class=\"class-line\">" + textCell(r.stratum) +
                cell(std::to_string(r.species)) + cell(std::to_string(r.product)) +
                cell(halfAwayText(r.baAlloc, 1)) + cell(halfAwayText(r.volAlloc, 1)) +
                cell(halfAwayText(r.n, 1)) + cell(halfAwayText(r.ba, 1)) +
                cell(halfAwayText(r.height, 1)) + cell(halfAwayText(r.volume, 1)) + "</tr>\n";
    }
    html += "</tbody>\n</table>\n";
    html = scrolling(html);
    html +=
        "<p class=\"legend\">Each stratum's selected estimate of volume (cu.ft per acre) "
        "allocated to its species-product classes by their shares of basal area and of volume on "
        "the stratum's Phase 2 plots, with the classes' Phase 2 means per acre: N trees, BA "
        "sq.ft, height ft, volume cu.ft. " +
        htmlEscaped(files::fileName(c.dataSetName, files::DataSetFile::Allocation)) +
        " holds the values unrounded.</p>\n";
    return html;
}

// --- the header and the method -------------------------------------------------------------

std::string runHeader(const ReportContents& c) {
    std::string areas = "not given; the strata are combined by their numbers of plots only";
    if (c.areas) {
        areas = "given in " + htmlEscaped(c.areasFileName) + ", " +
                halfAwayText(c.areas->totalAcres, 1) + " acres in all";
    }
    return "<dl class=\"run-header\">\n<dt>Data set</dt><dd>" + htmlEscaped(c.dataSetName) +
           "</dd>\n<dt>Step 9 run</dt><dd class=\"run-time\">" + htmlEscaped(c.runTime) +
           "</dd>\n<dt>Program</dt><dd>Orravant " + htmlEscaped(c.programVersion) +
           "</dd>\n<dt>Stratum areas</dt><dd>" + areas + "</dd>\n</dl>\n";
}

std::string methodSection(const ReportContents& c) {
    std::string html = "<h2 id=\"method\">Method</h2>\n<div class=\"method\">\n";
    html +=
        "<p>Every value is per acre: PACF expands each tree counted on a plot to trees per acre, "
        "so a plot's basal area is in sq.ft per acre and its volume in cu.ft per acre.</p>\n"
        "<p><strong>Regression estimator.</strong> In each stratum, ground volume y of the Phase 2 "
        "plots is regressed on a LiDAR variable x (LiDAR basal area or volume, DataSet 1 or 2) "
        "over the n Phase 2 plots with LiDAR data, and the line is moved to the mean of the N1 "
        "Phase 1 plots:</p>\n"
        "<p class=\"formula\">YbarLR = ȳ<sub>G</sub> + b&thinsp;(x̄′ &minus; x̄), &nbsp; "
        "b = SP<sub>xy</sub>&thinsp;/&thinsp;SS<sub>x</sub></p>\n"
        "<p>where ȳ<sub>G</sub> is the mean ground volume of all the stratum's Phase 2 plots, x̄′ "
        "the mean of x on the Phase 1 plots and x̄ its mean on the Phase 2 plots.</p>\n"
        "<p><strong>Its variance</strong>, as computed, with M = n + N1, s² the variance of y on "
        "the n plots and MSE the residual mean square (n &minus; 2 degrees of freedom):</p>\n"
        "<p class=\"formula\">S<sub>ybarLR</sub>² = (1 &minus; N1/M)&thinsp;s²/N1 + "
        "(1 &minus; n/N1)&thinsp;MSE&thinsp;(1/n + (x̄′ &minus; x̄)²/SS<sub>x</sub>)</p>\n"
        "<p>Of the four regressions, each stratum takes the one with the smallest SE&nbsp;%.</p>\n"
        "<p><strong>SE&nbsp;%</strong> is not the standard error over the estimate: it is the "
        "half-width of the 95&nbsp;% confidence interval relative to the estimate, "
        "SE&nbsp;% = 100&thinsp;t&thinsp;S<sub>ybarLR</sub>&thinsp;/&thinsp;YbarLR, with Student's "
        "t "
        "of the estimate's degrees of freedom (n &minus; 2 in a stratum). The interval is "
        "YbarLR &minus;/+ t&thinsp;S<sub>ybarLR</sub>.</p>\n"
        "<p><strong>Combined by plots.</strong> The strata are combined per regression with the "
        "weights W<sub>h</sub> = (n<sub>h</sub> + N1<sub>h</sub>)&thinsp;/&thinsp;Σ(n + N1), each "
        "stratum's share of the plots: mean ΣW<sub>h</sub>&thinsp;ȳ<sub>h</sub>, variance "
        "ΣW<sub>h</sub>²&thinsp;V<sub>h</sub>, t of Σ(n + N1) &minus; 2H degrees of freedom. A "
        "stratum where the regression cannot be used enters through the mean of its ground plots "
        "and that mean's variance. The regression with the smallest SE&nbsp;% is selected.</p>\n"
        "<p><strong>Combined by area</strong> (when the stratum areas are given). The weights are "
        "the strata's shares of the area, W<sub>h</sub> = A<sub>h</sub>&thinsp;/&thinsp;ΣA: mean "
        "per acre ΣW<sub>h</sub>&thinsp;ȳ<sub>h</sub>, variance "
        "ΣW<sub>h</sub>²&thinsp;V<sub>h</sub> "
        "with V<sub>h</sub> = S<sub>ybarLR,h</sub>² (or the squared standard error of the ground "
        "mean for a stratum entering through it). Its degrees of freedom are Satterthwaite's, "
        "(ΣW<sub>h</sub>²V<sub>h</sub>)²&thinsp;/&thinsp;Σ((W<sub>h</sub>²V<sub>h</sub>)²&thinsp;/"
        "&thinsp;df<sub>h</sub>) with df<sub>h</sub> = n<sub>h</sub> &minus; 2 (N2G<sub>h</sub> "
        "&minus; 1 for a ground mean), rarely a whole number; t is the exact Student t quantile "
        "for that real number of degrees of freedom. The total over the forest is "
        "ΣA<sub>h</sub>&thinsp;ȳ<sub>h</sub> cu.ft with standard error "
        "√(ΣA<sub>h</sub>²&thinsp;V<sub>h</sub>); a stratum's total is A<sub>h</sub>&thinsp;YbarLR "
        "with standard error A<sub>h</sub>&thinsp;S<sub>ybarLR</sub> and the stratum's t. The "
        "regression with the smallest SE&nbsp;% is selected, as above.</p>\n"
        "<p><strong>Efficiency</strong> is how many times as many ground plots a ground-only "
        "inventory of the stratum would need for the same precision: the squared standard error "
        "of the ground-plot mean over S<sub>ybarLR</sub>². Above 1, the LiDAR plots paid off.</p>\n"
        "<p><strong>Volume allocated by basal-area share</strong> and <strong>by volume "
        "share</strong>: a stratum's selected estimate divided among its species-product classes "
        "by each class's share of basal area or of volume on the stratum's Phase 2 plots.</p>\n";
    if (!c.areas) {
        html +=
            "<p>No stratum areas were given: there are no totals and no combination by area. "
            "Choose an areas file (stratum, acres) in step 4 to have them.</p>\n";
    }
    return html + "</div>\n";
}

// --- what the results came from -----------------------------------------------------------

struct Runs {
    std::vector<const files::StepRun*> all;  // steps in order 5..9, those with a record
    const files::StepRun* of(int step) const {
        for (const files::StepRun* r : all) {
            if (r->step == step) return r;
        }
        return nullptr;
    }
};

Runs runsOf(const ReportContents& c) {
    Runs runs;
    for (int step = 5; step <= 8; ++step) {
        for (const files::StepRun& r : c.earlierRuns) {
            if (r.step == step) runs.all.push_back(&r);
        }
    }
    runs.all.push_back(&c.thisRun);
    return runs;
}

std::string parameterMeaning(const std::string& name, const std::string& value) {
    if (name == "LiHgtAdj") return value == "0" ? " (Yes)" : value == "1" ? " (No)" : "";
    if (name == "ModelSet")
        return value == "0" ? " (ModelSet 1)" : value == "1" ? " (ModelSet 2)" : "";
    if (name == files::kLidarClassesName)
        return value == "0" ? " (random draws)" : value == "1" ? " (expected shares)" : "";
    return "";
}

std::string parametersTable(const Runs& runs) {
    std::string html = "<table class=\"parameters\">\n<thead><tr><th class=\"text\">Parameter</th>";
    for (const files::StepRun* r : runs.all)
        html += "<th>Step " + std::to_string(r->step) + "</th>";
    html += "</tr></thead>\n<tbody>\n";
    std::vector<std::pair<std::string, std::string>> rows = runs.all.back()->parameters;
    // LidarClasses is recorded only when it is not the default (random draws, 0); it has a row
    // when some step recorded it.
    const auto hasLidarClasses = [](const std::vector<std::pair<std::string, std::string>>& ps) {
        return std::any_of(ps.begin(), ps.end(),
                           [](const auto& p) { return p.first == files::kLidarClassesName; });
    };
    if (!hasLidarClasses(rows) &&
        std::any_of(runs.all.begin(), runs.all.end(),
                    [&](const files::StepRun* r) { return hasLidarClasses(r->parameters); }))
        rows.emplace_back(files::kLidarClassesName, "0");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& [name, value] = rows[i];
        html += "<tr>" + textCell(name);
        for (const files::StepRun* r : runs.all) {
            std::string shown = name == files::kLidarClassesName ? "0" : "";
            for (const auto& [n, v] : r->parameters) {
                if (n == name) shown = v;
            }
            const bool differs = shown != value;
            html +=
                cell(htmlEscaped(shown) + parameterMeaning(name, shown), differs ? "differs" : "");
        }
        html += "</tr>\n";
    }
    html += "</tbody>\n</table>\n";
    return scrolling(html);
}

std::string seeds(const Runs& runs) {
    std::string html = "<ul class=\"seeds\">\n";
    for (const int step : {6, 7}) {
        const files::StepRun* r = runs.of(step);
        html += "<li>Step " + std::to_string(step) + ": ";
        if (!r) {
            html += "no record.";
        } else if (files::usedExpectedShares(*r)) {
            html +=
                "expected shares: every LiDAR tree entered each class with its share; no "
                "random draws, the result does not depend on a seed.";
        } else if (r->seed) {
            html += "seed " + std::to_string(*r->seed) + ".";
        } else {
            html += "no seed recorded.";
        }
        html += "</li>\n";
    }
    html +=
        "</ul>\n<p class=\"legend\">Steps 6 and 7 draw from this seed; the same inputs and seed "
        "give the same files (orravant-cli run --seed).</p>\n";
    return html;
}

// How a file a step read compares with the records: a data-set file with what the step that
// writes it wrote, a chosen file with what earlier steps read under the same name.
struct Check {
    std::string text;
    bool differs = false;
};

Check checkFile(const ReportContents& c, const Runs& runs, int step,
                const files::FileFingerprint& f) {
    if (const auto file = files::dataSetFileNamed(c.dataSetName, f.name)) {
        const int writer = files::writtenByStep(*file);
        if (writer < 5) return {};
        const files::StepRun* w = runs.of(writer);
        if (!w) return {"no record of step " + std::to_string(writer), true};
        for (const files::FileFingerprint& wrote : w->wrote) {
            if (wrote.name != f.name) continue;
            if (wrote.sha256 == f.sha256)
                return {"as step " + std::to_string(writer) + " wrote it"};
            return {"differs from the file step " + std::to_string(writer) + " wrote", true};
        }
        return {"step " + std::to_string(writer) + " recorded no such file", true};
    }
    for (const files::StepRun* r : runs.all) {
        if (r->step >= step) break;
        for (const files::FileFingerprint& read : r->read) {
            if (read.name == f.name && read.sha256 != f.sha256)
                return {"differs from the file step " + std::to_string(r->step) + " read", true};
        }
    }
    return {};
}

std::string filesTable(const ReportContents& c, const Runs& runs, int& differences) {
    std::string html = "<table class=\"files\">\n<thead>\n";
    html += headerRow({"Step", "File", "Size (bytes)", "SHA-256", "Check"});
    html += "</thead>\n<tbody>\n";
    for (const files::StepRun* r : runs.all) {
        for (const files::FileFingerprint& f : r->read) {
            const Check check = checkFile(c, runs, r->step, f);
            if (check.differs) ++differences;
            html += "<tr class=\"input-file\">" + cell(std::to_string(r->step)) + textCell(f.name) +
                    cell(std::to_string(f.size)) + cell(f.sha256, "hash") +
                    cell(htmlEscaped(check.text), check.differs ? "text differs" : "text") +
                    "</tr>\n";
        }
    }
    html += "</tbody>\n</table>\n";
    return scrolling(html);
}

std::string warningsList(const Runs& runs, std::size_t& count) {
    std::string html;
    for (const files::StepRun* r : runs.all) {
        if (r->warnings.empty()) continue;
        html += "<h4>Step " + std::to_string(r->step) + "</h4>\n<ul class=\"warnings\">\n";
        for (const Warning& w : r->warnings) {
            html += "<li class=\"warning\">" + htmlEscaped(w.text) + "</li>\n";
            ++count;
        }
        html += "</ul>\n";
    }
    return count == 0 ? "<p>No step raised a warning.</p>\n" : html;
}

}  // namespace

std::string htmlReport(const ReportContents& c) {
    const std::string name = htmlEscaped(c.dataSetName);
    const Runs runs = runsOf(c);
    int differences = 0;
    std::size_t warnings = 0;
    const std::string filesPart = filesTable(c, runs, differences);
    const std::string warningsPart = warningsList(runs, warnings);

    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        "<title>" +
        name + " &ndash; double-sample estimates</title>\n<style>\n";
    html += kStyle;
    html += "\n</style>\n</head>\n<body>\n";
    html += "<h1>Double-sample estimates of data set " + name + "</h1>\n";
    html += runHeader(c);
    html +=
        "<p class=\"legend\">Orravant, step 9: regression estimates of mean ground volume per "
        "acre from Phase 1 LiDAR plots and Phase 2 ground plots, by stratum and for the strata "
        "combined.</p>\n";
    html += summary(c);
    if (warnings > 0 || differences > 0 || c.runFileProblem || runs.all.size() < 5) {
        html += "<p class=\"notice\">";
        if (warnings > 0)
            html += std::to_string(warnings) + (warnings == 1 ? " warning was" : " warnings were") +
                    " raised by the steps; see <a href=\"#warnings\">Warnings</a>. ";
        if (differences > 0)
            html += std::to_string(differences) +
                    (differences == 1 ? " file read does" : " files read do") +
                    " not match the records of the steps; see <a href=\"#files\">Files read</a>. ";
        if (runs.all.size() < 5) {
            html += "Not every step 5 to 8 has a record of its run in " +
                    htmlEscaped(files::fileName(c.dataSetName, files::DataSetFile::Run)) + ". ";
        }
        if (c.runFileProblem) html += htmlEscaped(*c.runFileProblem);
        html += "</p>\n";
    }
    html += "<h2 id=\"estimates\">Estimates</h2>\n" + estimatesTable(c);
    html += "<h2 id=\"regressions\">Regressions by stratum</h2>\n";
    html +=
        "<p class=\"legend\">Each stratum's Phase 2 plots: ground volume against the LiDAR "
        "variable of the stratum's selected regression, with the fitted line; the dashed line "
        "marks the mean of the Phase 1 plots, where the regression gives the estimate.</p>\n";
    html += scatterFigures(c);
    html +=
        "<h2 id=\"allocation\">Allocation to species-product classes</h2>\n" + allocationTable(c);
    if (c.plan) html += planSection(*c.plan, c.dataSetName);
    html += methodSection(c);
    html += "<h2 id=\"run\">What these results come from</h2>\n";
    html += "<h3 id=\"parameters\">Parameters</h3>\n" + parametersTable(runs);
    html += "<h3 id=\"seed\">Random draws</h3>\n" + seeds(runs);
    html += "<h3 id=\"files\">Files read</h3>\n" + filesPart;
    html += "<h3 id=\"warnings\">Warnings</h3>\n" + warningsPart;
    html += "</body>\n</html>\n";
    return html;
}

}  // namespace orr
