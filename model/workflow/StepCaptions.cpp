#include "model/workflow/StepCaptions.h"

#include <filesystem>
#include <system_error>

#include "core/OutputSet.h"
#include "files/DataSetFiles.h"

namespace orr::workflow {

namespace {

using files::DataSetFile;

std::string outputFilesCaption(const Session& session) {
    std::string caption;
    for (DataSetFile report :
         {DataSetFile::StratumVolume, DataSetFile::Regression, DataSetFile::VolumeSummary}) {
        if (fileLength(files::path(session.dataFilesDir(), session.dataSetName, report)) == 0)
            continue;
        if (!caption.empty()) caption += ", ";
        caption += files::fileName(session.dataSetName, report);
    }
    return caption;
}

bool wrote(const StepResult& result, const Session& session, DataSetFile file) {
    const auto path = files::path(session.dataFilesDir(), session.dataSetName, file);
    for (const auto& output : result.outputs) {
        if (output == path) return true;
    }
    return false;
}

}  // namespace

std::string stoppedCaption(int step) {
    return "Status: Step " + std::to_string(step) + " did not complete!";
}

std::string cancelledCaption(int step) {
    return "Status: Step " + std::to_string(step) + " was cancelled!";
}

std::string bareFileName(const std::string& path) {
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::vector<std::pair<Label, std::string>> captionsAfterStep(int step, const Session& session,
                                                             const StepResult& result) {
    const std::string& name = session.dataSetName;
    std::vector<std::pair<Label, std::string>> out;
    switch (step) {
        case 5:
            out.emplace_back(Label::PlotClassesFile,
                             "OutFile=  " + files::fileName(name, DataSetFile::PlotClasses));
            out.emplace_back(Label::PlotTotalsFile,
                             "OutFile=  " + files::fileName(name, DataSetFile::PlotTotals));
            out.emplace_back(Label::Phase2SummaryFile,
                             "OutFile=  " + files::fileName(name, DataSetFile::Phase2Summary));
            out.emplace_back(Label::TreeFile,
                             "InFile - " + bareFileName(session.inputs.trees.string()) +
                                 " OutFile= " + files::fileName(name, DataSetFile::TreeVolumes));
            break;
        case 6:
            out.emplace_back(
                Label::LidarPlotsDS1,
                "Data Set 1   Infile= " + files::fileName(name, DataSetFile::PlotClasses) +
                    "   Outfile= " + files::fileName(name, DataSetFile::LidarPlotsDS1));
            if (!session.inputs.lidarLow.empty())
                out.emplace_back(
                    Label::LidarPlotsDS2,
                    "Data Set 2   Infile= " + files::fileName(name, DataSetFile::PlotClasses) +
                        "   Outfile= " + files::fileName(name, DataSetFile::LidarPlotsDS2));
            break;
        case 7:
            if (wrote(result, session, DataSetFile::Phase1DS2))
                out.emplace_back(
                    Label::Phase1DS2,
                    "DataSet 2   Infile= " + bareFileName(session.inputs.lidarLow.string()) +
                        "   Outfile= " + files::fileName(name, DataSetFile::Phase1DS2));
            out.emplace_back(
                Label::Phase1DS1,
                "DataSet 1   Infile= " + bareFileName(session.inputs.lidarHigh.string()) +
                    "   Outfile= " + files::fileName(name, DataSetFile::Phase1DS1));
            break;
        case 8:
            out.emplace_back(Label::VolumeSummary,
                             "Outfile= " + files::fileName(name, DataSetFile::VolumeSummary));
            out.emplace_back(Label::Phase2File,
                             "Outfile= " + files::fileName(name, DataSetFile::Phase2));
            break;
        case 9:
            out.emplace_back(Label::Regression,
                             "Outfile= " + files::fileName(name, DataSetFile::Regression));
            out.emplace_back(Label::StratumVolume,
                             "Outfile= " + files::fileName(name, DataSetFile::StratumVolume));
            out.emplace_back(Label::Reports, outputFilesCaption(session));
            break;
        default:
            break;
    }
    return out;
}

}  // namespace orr::workflow
