#include "engine/doublesample/HtmlReport.h"

#include <string_view>

#include "core/NumberText.h"
#include "engine/doublesample/ChartData.h"
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
.legend{font-size:.85em;color:#444})";

std::string fixed(double x, int decimals) {
    return fixedDecimalsHalfAway(
        x, decimals == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0'));
}

std::string cell(std::string_view text, std::string_view cls = {}) {
    return cls.empty() ? "<td>" + std::string(text) + "</td>"
                       : "<td class=\"" + std::string(cls) + "\">" + std::string(text) + "</td>";
}
std::string textCell(std::string_view text) {
    return cell(htmlEscaped(text), "text");
}
std::string optionalCell(const std::optional<double>& x, int decimals) {
    return cell(x ? fixed(*x, decimals) : "");
}
std::string headerRow(std::initializer_list<std::string_view> names) {
    std::string row = "<tr>";
    for (std::string_view n : names) row += "<th>" + std::string(n) + "</th>";
    return row + "</tr>\n";
}

std::string stratumText(const std::optional<int>& stratum) {
    if (!stratum) return "combined";
    return *stratum == 0 ? "non-stratified" : std::to_string(*stratum);
}

// --- the estimates ------------------------------------------------------------------------

std::string summary(const ReportContents& c) {
    for (const files::EstimateRecord& r : c.estimateRows) {
        if (r.stratum || !r.selected) continue;
        return "<p class=\"summary\">Combined estimate of mean ground volume: <strong>" +
               fixed(r.ybarLR, 1) +
               " cu.ft</strong> per unit area, 95&nbsp;% confidence "
               "interval " +
               fixed(r.ci95Low, 1) + " to " + fixed(r.ci95High, 1) + " (standard error " +
               fixed(r.seYbarLR, 2) + ", " + fixed(r.sePercent, 2) +
               "&nbsp;%), from the regressions on " + htmlEscaped(r.variable) + ".</p>\n";
    }
    return "<p class=\"summary\">No combined estimate was formed; the estimates of the strata are "
           "below.</p>\n";
}

std::string estimatesTable(const ReportContents& c) {
    std::string html = "<table class=\"estimates\">\n<thead>\n";
    html += headerRow({"Stratum", "Variable", "Selected", "N2L", "N1", "Beta", "Rho", "YbarLR",
                       "S_ybarLR", "SE&nbsp;%", "t", "95&nbsp;% CI low", "95&nbsp;% CI high",
                       "Ground mean", "Ground SE", "Efficiency"});
    html += "</thead>\n<tbody>\n";
    for (const files::EstimateRecord& r : c.estimateRows) {
        html += r.selected ? "<tr class=\"estimate selected\">" : "<tr class=\"estimate\">";
        html += textCell(stratumText(r.stratum)) + textCell(r.variable) +
                cell(r.selected ? "yes" : "") + optionalCell(r.n2, 0) + optionalCell(r.n1, 0) +
                optionalCell(r.beta, 4) + optionalCell(r.rho, 4) + cell(fixed(r.ybarLR, 1)) +
                cell(fixed(r.seYbarLR, 2)) + cell(fixed(r.sePercent, 2)) + cell(fixed(r.t, 4)) +
                cell(fixed(r.ci95Low, 1)) + cell(fixed(r.ci95High, 1)) +
                optionalCell(r.groundMean, 1) + optionalCell(r.groundSE, 2) +
                optionalCell(r.efficiency, 2) + "</tr>\n";
    }
    html += "</tbody>\n</table>\n";
    html +=
        "<p class=\"legend\">Mean ground volume per unit area (cu.ft). N2L: Phase 2 plots with "
        "LiDAR data; N1: Phase 1 plots; the interval is YbarLR &minus;/+ t&middot;S_ybarLR. "
        "Ground mean and ground SE: the stratum's Phase 2 ground plots alone. Efficiency: how "
        "many times as many ground plots a ground-only inventory would need for the same "
        "precision. The values are rounded as shown; " +
        htmlEscaped(files::fileName(c.dataSetName, files::DataSetFile::Estimates)) +
        " holds them unrounded.</p>\n";
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
                    fixed(s.rSquared, 3) + ", SE " + fixed(s.sePercent, 2) +
                    "&nbsp;%, efficiency " +
                    (s.efficiency ? fixed(*s.efficiency, 2) : std::string("&ndash;")) +
                    ". Estimate " + fixed(s.estimate, 1) + " at the Phase 1 mean " +
                    fixed(s.phase1Mean, 1) + " (diamond on the dashed line)." +
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
    html += headerRow({"Stratum", "Species", "Product", "BA allocation", "Volume allocation", "N",
                       "BA", "Height", "Volume"});
    html += "</thead>\n<tbody>\n";
    for (const files::AllocationRecord& r : c.allocationRows) {
        html += "<tr class=\"class-line\">" + textCell(r.stratum) +
                cell(std::to_string(r.species)) + cell(std::to_string(r.product)) +
                cell(fixed(r.baAlloc, 1)) + cell(fixed(r.volAlloc, 1)) + cell(fixed(r.n, 1)) +
                cell(fixed(r.ba, 1)) + cell(fixed(r.height, 1)) + cell(fixed(r.volume, 1)) +
                "</tr>\n";
    }
    html += "</tbody>\n</table>\n";
    html +=
        "<p class=\"legend\">Each stratum's selected estimate allocated to its species-product "
        "classes by their shares of basal area and of volume on the stratum's Phase 2 plots, "
        "with the classes' Phase 2 means per plot. " +
        htmlEscaped(files::fileName(c.dataSetName, files::DataSetFile::Allocation)) +
        " holds the values unrounded.</p>\n";
    return html;
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
    return "";
}

std::string parametersTable(const Runs& runs) {
    std::string html = "<table class=\"parameters\">\n<thead><tr><th class=\"text\">Parameter</th>";
    for (const files::StepRun* r : runs.all)
        html += "<th>Step " + std::to_string(r->step) + "</th>";
    html += "</tr></thead>\n<tbody>\n";
    const files::StepRun& last = *runs.all.back();
    for (std::size_t i = 0; i < last.parameters.size(); ++i) {
        const auto& [name, value] = last.parameters[i];
        html += "<tr>" + textCell(name);
        for (const files::StepRun* r : runs.all) {
            std::string shown;
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
    return html;
}

std::string seeds(const Runs& runs) {
    std::string html = "<ul class=\"seeds\">\n";
    for (const int step : {6, 7}) {
        const files::StepRun* r = runs.of(step);
        html += "<li>Step " + std::to_string(step) + ": ";
        if (!r) {
            html += "no record.";
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
    return html;
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
    html +=
        "<p class=\"legend\">Orravant, step 9: regression estimates of mean ground volume from "
        "Phase 1 LiDAR plots and Phase 2 ground plots, by stratum and for the strata "
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
    html += "<h2 id=\"run\">What these results come from</h2>\n";
    html += "<h3 id=\"parameters\">Parameters</h3>\n" + parametersTable(runs);
    html += "<h3 id=\"seed\">Random draws</h3>\n" + seeds(runs);
    html += "<h3 id=\"files\">Files read</h3>\n" + filesPart;
    html += "<h3 id=\"warnings\">Warnings</h3>\n" + warningsPart;
    html += "</body>\n</html>\n";
    return html;
}

}  // namespace orr
