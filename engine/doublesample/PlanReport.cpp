#include "engine/doublesample/PlanReport.h"

#include <cmath>
#include <optional>

#include "core/NumberText.h"
#include "engine/doublesample/HtmlCells.h"
#include "engine/doublesample/SvgScatter.h"
#include "files/DataSetFiles.h"

namespace orr {

namespace {

// A number of plots to take: the required number rounded up.
std::string plots(double required) {
    return halfAwayText(std::ceil(required), 0);
}

std::string paysCell(bool pays) {
    return pays ? cell("yes") : cell("no", "differs");
}

std::string stratumName(int h) {
    return h == 0 ? "non-stratified" : std::to_string(h);
}

std::string strataTable(const InventoryPlan& plan) {
    // Wide tables scroll in a box of their own on a narrow screen (the report's "scroll" class).
    std::string html = "<div class=\"scroll\">\n<table class=\"plan\">\n<thead>\n";
    html += headerRow({"Stratum", "Variable", "Rho&sup2;", "S_y", "N2L", "N1", "SE&nbsp;%",
                       "LiDAR per ground plot", "Ground plots", "LiDAR plots", "Cost",
                       "Ground-only plots", "Ground-only cost", "Double sampling pays"});
    html += "</thead>\n<tbody>\n";
    for (const StratumPlan& p : plan.strata) {
        html += "<tr class=\"plan-stratum\">" + cell(stratumName(p.stratum), "text") +
                cell(htmlEscaped(variableName(p.k)), "text") + cell(halfAwayText(p.rho2, 4)) +
                cell(halfAwayText(p.sY, 1)) + cell(halfAwayText(p.n2, 0)) +
                cell(halfAwayText(p.n1, 0)) + cell(halfAwayText(p.sePercent, 2)) +
                optionalCell(p.ratio, 2) + cell(plots(p.n2Required)) + cell(plots(p.n1Required)) +
                cell(halfAwayText(p.cost, 1)) + cell(plots(p.groundOnlyN)) +
                cell(halfAwayText(p.groundOnlyCost, 1)) + paysCell(p.pays) + "</tr>\n";
    }
    return html + "</tbody>\n</table>\n</div>\n";
}

std::string forestTable(const ForestPlan& f) {
    std::string html = "<div class=\"scroll\">\n<table class=\"plan-forest\">\n<thead>\n";
    html += headerRow({"Stratum", "Weight W_h", "Rho&sup2;", "S_h", "Ground plots", "LiDAR plots",
                       "LiDAR per ground plot", "Cost", "Ground-only plots", "Ground-only cost",
                       "LiDAR phase pays"});
    html += "</thead>\n<tbody>\n";
    for (const ForestPlanStratum& p : f.strata) {
        html += "<tr class=\"plan-share\">" + cell(std::to_string(p.stratum), "text") +
                cell(halfAwayText(p.weight, 4)) + cell(halfAwayText(p.rho2, 4)) +
                cell(halfAwayText(p.sY, 1)) + cell(plots(p.n2Required)) +
                cell(plots(p.n1Required)) +
                cell(p.n2Required > 0 ? halfAwayText(p.n1Required / p.n2Required, 2) : "") +
                cell(halfAwayText(p.cost, 1)) + cell(plots(p.groundOnlyN)) +
                cell(halfAwayText(p.groundOnlyCost, 1)) + paysCell(p.pays) + "</tr>\n";
    }
    html += "<tr class=\"plan-total selected\">" + cell("total", "text") + cell("") + cell("") +
            cell("") + cell(plots(f.n2Required)) + cell(plots(f.n1Required)) +
            cell(f.n2Required > 0 ? halfAwayText(f.n1Required / f.n2Required, 2) : "") +
            cell(halfAwayText(f.cost, 1)) + cell(plots(f.groundOnlyN)) +
            cell(halfAwayText(f.groundOnlyCost, 1)) + paysCell(f.pays) + "</tr>\n";
    return html + "</tbody>\n</table>\n</div>\n";
}

}  // namespace

std::vector<std::string> planNotes(const InventoryPlan& plan) {
    std::vector<std::string> notes;
    for (const StratumPlan& p : plan.strata) {
        if (p.pays) continue;
        notes.push_back("Stratum " + stratumName(p.stratum) + ": double sampling does not pay; " +
                        plots(p.groundOnlyN) + " ground plots alone reach the target for " +
                        halfAwayText(p.groundOnlyCost, 1) + ", the double sample costs " +
                        halfAwayText(p.cost, 1) + ".");
    }
    if (plan.forest) {
        for (const ForestPlanStratum& p : plan.forest->strata) {
            if (p.pays) continue;
            notes.push_back(
                "Stratum " + std::to_string(p.stratum) +
                ": in the design for the whole forest the LiDAR phase does not pay; it would "
                "take fewer LiDAR plots (" +
                halfAwayText(p.n1Required, 1) + ") than ground plots (" +
                halfAwayText(p.n2Required, 1) +
                "), so ground plots alone serve this stratum better.");
        }
    }
    return notes;
}

std::string planSection(const InventoryPlan& plan, std::string_view dataSetName) {
    const PlanSettings& s = plan.settings;
    std::string html = "<h2 id=\"plan\">Plan</h2>\n";
    html += "<p class=\"legend\">The next inventory for a ground plot that costs " +
            shortest(s.groundPlotCost) + " and a LiDAR plot that costs " +
            shortest(s.lidarPlotCost) +
            " (GroundPlotCost, LidarPlotCost) and a target sampling error of " +
            shortest(s.targetError) +
            "&nbsp;% at 95&nbsp;% confidence (TargetError): the numbers of ground and LiDAR "
            "plots that reach the target at the least cost, rounded up; the costs are those of "
            "the unrounded numbers. " +
            htmlEscaped(files::fileName(dataSetName, files::DataSetFile::Plan)) +
            " holds the values unrounded.</p>\n";
    html += "<h3 id=\"plan-strata\">Each stratum on its own</h3>\n";
    if (plan.strata.empty()) {
        html += "<p>No stratum has a selected regression to plan with.</p>\n";
    } else {
        html += strataTable(plan);
        html +=
            "<p class=\"legend\">From the present sample: the selected regression's Rho&sup2;, "
            "S_y the standard deviation of ground volume, N2L and N1 the Phase 2 and Phase 1 "
            "plots, "
            "SE&nbsp;% the present sampling error. Ground-only: the plots (N_rs) and cost of an "
            "inventory of ground plots alone with the same target.</p>\n";
    }
    html += "<h3 id=\"plan-forest\">The whole forest</h3>\n";
    if (!plan.forest) {
        html += "<p>No design for the whole forest: the strata have no combined estimate.</p>\n";
    } else {
        const ForestPlan& f = *plan.forest;
        html +=
            "<p>The cheapest allocation of ground and LiDAR plots over the strata that "
            "reaches " +
            shortest(s.targetError) + "&nbsp;% for the combined estimate (" +
            halfAwayText(f.Ybar, 1) + " cu.ft on " + htmlEscaped(variableName(f.k)) + ", now " +
            halfAwayText(f.sePercent, 2) + "&nbsp;%): <strong>" + plots(f.n2Required) +
            " ground plots and " + plots(f.n1Required) + " LiDAR plots for " +
            halfAwayText(f.cost, 1) + "</strong>; ground plots alone would take " +
            plots(f.groundOnlyN) + " plots for " + halfAwayText(f.groundOnlyCost, 1) + ".</p>\n";
        html += forestTable(f);
        html +=
            "<p class=\"legend\">W_h: the weights of the combined estimate (shares of the area "
            "where the stratum areas are given, of the plots otherwise); S_h and Rho&sup2; of "
            "each stratum's selected regression (a stratum without one enters with its ground "
            "plots' standard deviation and no LiDAR plots). Ground-only: the cheapest inventory "
            "of ground plots alone for the same target, its plots shared in proportion to "
            "W_h&middot;S_h.</p>\n";
    }
    const std::vector<std::string> notes = planNotes(plan);
    if (!notes.empty()) {
        html += "<ul class=\"plan-notes\">\n";
        for (const std::string& note : notes) html += "<li>" + htmlEscaped(note) + "</li>\n";
        html += "</ul>\n";
    }
    return html;
}

}  // namespace orr
