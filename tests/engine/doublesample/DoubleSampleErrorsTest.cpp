// Step 9 stops before replacing anything when an input file is missing or holds a record it
// cannot use, with one message naming the file and what is wrong.
#include <filesystem>
#include <variant>

#include "core/OutputSet.h"
#include "tests/engine/doublesample/DoubleSampleFixture.h"

namespace orr::test {
namespace {

using ChosenFile = std::filesystem::path Session::*;
const ChosenFile kStrata = &Session::strataFile;
const ChosenFile kTrees = &Session::treeFile;
const std::vector<std::string> kUnset = {"<unset>"};

// The input `file` (a data-set file or a file the user chose) is removed (no `lines`), not
// chosen (kUnset) or replaced; the message holds the file's path and every fragment.
struct BadInput {
    const char* name;
    std::variant<DataSetFile, ChosenFile> file;
    std::vector<std::string> lines;
    std::vector<std::string> fragments;
};
void PrintTo(const BadInput& bad, std::ostream* os) {
    *os << bad.name;
}

const BadInput kBadInputs[] = {
    {"MissingPhase2", DataSetFile::Phase2, {}, {"Missing file", "written by step 8"}},
    {"MissingPlotFile", DataSetFile::PlotClasses, {}, {"Missing file", "written by step 5"}},
    {"MissingTreeFile", kTrees, {}, {"Missing file", "chosen in step 5"}},
    {"NoStrataFile",
     kStrata,
     kUnset,
     {"No strata file is chosen: it is chosen or created in step 4."}},
    {"NoTreeFile",
     kTrees,
     kUnset,
     {"No Phase 2 tree input file is chosen: it is chosen in step 5 (Compute Plots)."}},
    {"PlotAboveMaxPlots",
     DataSetFile::Phase2,
     {"1,40,5,50,20,5,45,0,0,0", "31,40,7,70,20,6,60,0,0,0"},
     {"record 2", "field 1", "\"31\""}},
    {"NegativePhase1Plot",
     DataSetFile::Phase1DS1,
     {"1,1,20,5,50", "-3,1,20,6,60"},
     {"record 2", "\"-3\""}},
    {"NotANumber",
     DataSetFile::Phase2Summary,
     {"1,1,29.33,5.97,59.67,15", "1,2,abc,3.67,36.67,15"},
     {"record 2", "field 3", "\"abc\""}},
    // The tree file has passed the checks of step 5: a species above MaxSpec is refused.
    {"TreeSpeciesAboveMaxSpec", kTrees, {"4,3,1,9,99,30,0,0"}, {"record 1", "field 2", "\"3\""}},
    {"RecordCutShort", DataSetFile::Phase2, {"1,40,5,50,20,5,45,0,0,0", "2,40,7,70"}, {"record"}},
};

class DoubleSampleBadInput : public DoubleSampleTest,
                             public ::testing::WithParamInterface<BadInput> {};

TEST_P(DoubleSampleBadInput, StopsWithOneMessageAndKeepsTheEarlierReports) {
    writeThreeStrata();
    write(DataSetFile::Regression, {"earlier regression report"});
    write(DataSetFile::StratumVolume, {"earlier stratum volume report"});
    const BadInput& bad = GetParam();
    const std::filesystem::path file = std::holds_alternative<DataSetFile>(bad.file)
                                           ? path(std::get<DataSetFile>(bad.file))
                                           : session.*std::get<ChosenFile>(bad.file);
    std::filesystem::remove(file);
    if (bad.lines == kUnset) {
        (session.*std::get<ChosenFile>(bad.file)).clear();
    } else if (!bad.lines.empty()) {
        writeFile(file, crlf(bad.lines));
    }

    EXPECT_FALSE(run());

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].icon, Icon::Critical);
    std::vector<std::string> fragments = bad.fragments;
    if (bad.lines != kUnset) fragments.push_back(file.string());
    for (const std::string& part : fragments) {
        EXPECT_NE(host.messages[0].text.find(part), std::string::npos)
            << "\"" << part << "\" not in: " << host.messages[0].text;
    }
    EXPECT_EQ(read(DataSetFile::Regression), crlf({"earlier regression report"}));
    EXPECT_EQ(read(DataSetFile::StratumVolume), crlf({"earlier stratum volume report"}));
    EXPECT_FALSE(std::filesystem::exists(path(DataSetFile::Phase1DS2)));
    for (const auto& entry : std::filesystem::directory_iterator(session.dataFilesDir())) {
        EXPECT_FALSE(isTemporaryOutputName(entry.path().filename().string())) << entry.path();
    }
    EXPECT_EQ(host.logText, "");
}

INSTANTIATE_TEST_SUITE_P(, DoubleSampleBadInput, ::testing::ValuesIn(kBadInputs),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orr::test
