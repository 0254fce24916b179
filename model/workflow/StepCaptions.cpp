#include "model/workflow/StepCaptions.h"

#include <filesystem>
#include <system_error>

namespace orr::workflow {

namespace {

// A data-set file that exists and holds something. An empty one is removed, as the steps do
// with every empty output they list.
bool hasContent(const Session& session, const std::string& suffix) {
    std::error_code ec;
    const auto path = session.dataSetFile(suffix);
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return false;
    if (size == 0) {
        std::filesystem::remove(path, ec);
        return false;
    }
    return true;
}

std::string outputFilesCaption(const Session& session) {
    const std::string& name = session.DataSetName;
    std::string caption;
    for (const char* suffix : {"_StratVol.txt", "_Regress.txt", "_VolSum.txt"}) {
        if (!hasContent(session, suffix)) continue;
        if (!caption.empty()) caption += ", ";
        caption += name + suffix;
    }
    return caption;
}

}  // namespace

std::string bareFileName(const std::string& path) {
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::vector<std::pair<Label, std::string>> captionsAfterStep(int step, const Session& session) {
    const std::string& name = session.DataSetName;
    std::vector<std::pair<Label, std::string>> out;
    switch (step) {
        case 5:
            out.emplace_back(Label::LblPlotOutfile1, "OutFile=  " + name + "_PH2Plot.csv");
            out.emplace_back(Label::LblPlotOutfile2, "OutFile=  " + name + "_PH2PlotT.csv");
            out.emplace_back(Label::LblPlotOutfile3, "OutFile=  " + name + "_PH2Sum.csv");
            out.emplace_back(Label::LblInputFilename,
                             "InFile - " + bareFileName(session.TreeInputFileName.string()) +
                                 " OutFile= " + name + "_PH2TreeV.csv");
            break;
        case 6:
            out.emplace_back(Label::LblHighLidar6, "Data Set 1   Infile= " + name +
                                                       "_PH2Plot.csv   Outfile= " + name +
                                                       "_PH2plotDS1.csv");
            if (!session.LowLidarFileName.empty())
                out.emplace_back(Label::LblLowLidar6, "Data Set 2   Infile= " + name +
                                                          "_PH2Plot.csv   Outfile= " + name +
                                                          "_PH2plotDS2.csv");
            break;
        case 7:
            if (hasContent(session, "_Phase1DS2.csv"))
                out.emplace_back(
                    Label::LblLowLidar7,
                    "DataSet 2   Infile= " + bareFileName(session.LowLidarFileName.string()) +
                        "   Outfile= " + name + "_Phase1DS2.csv");
            out.emplace_back(
                Label::LblHighLidar7,
                "DataSet 1   Infile= " + bareFileName(session.HighLidarFileName.string()) +
                    "   Outfile= " + name + "_Phase1DS1.csv");
            break;
        case 8:
            out.emplace_back(Label::LblCombineSumm8, "Outfile= " + name + "_VolSum.txt");
            out.emplace_back(Label::LblCombine8, "Outfile= " + name + "_Phase2.csv");
            break;
        case 9:
            out.emplace_back(Label::LblCompute9, "Outfile= " + name + "_Regress.txt");
            out.emplace_back(Label::LblAllocate9, "Outfile= " + name + "_StratVol.txt");
            out.emplace_back(Label::lblOutputfiles, outputFilesCaption(session));
            break;
        default:
            break;
    }
    return out;
}

}  // namespace orr::workflow
