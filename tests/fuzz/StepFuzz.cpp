#include "tests/fuzz/StepFuzz.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "core/OutputSet.h"
#include "model/session/ParameterRanges.h"
#include "model/session/Session.h"
#include "model/workflow/StepRunner.h"
#include "model/workflow/StepTable.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tools/generator/Generator.h"

namespace orr::fuzz {

namespace {

namespace fs = std::filesystem;

// A view that answers nothing and shows nothing.
struct SilentView : workflow::StepView {
    void log(std::string_view) override {}
    void replaceLog(std::string_view) override {}
    void status(std::string_view) override {}
    void message(std::string_view, workflow::Icon) override {}
    std::optional<int> askProductCode(int, double) override { return std::nullopt; }
    void progress(std::size_t, std::size_t) override {}
    bool cancelled() const override { return false; }
};

// Input files in "in/", step outputs in "app/DATA FILES/"; names relative to the scratch folder.
const std::map<int, std::vector<std::string>> kStepInputs = {
    {5, {"in/trees.csv", "in/coefficients.csv", "in/dbh.csv"}},
    {6,
     {"in/coefficients.csv", "in/dbh.csv", "in/strata.csv", "in/lidar-ds1.csv", "in/lidar-ds2.csv",
      "app/DATA FILES/FZ_PH2Plot.csv"}},
    {7,
     {"in/coefficients.csv", "in/dbh.csv", "in/strata.csv", "app/DATA FILES/FZ_PH2specDS1.csv",
      "in/lidar-ds1.csv", "in/lidar-ds2.csv"}},
    {8,
     {"app/DATA FILES/FZ_PH2plotDS1.csv", "app/DATA FILES/FZ_PH2plotDS2.csv",
      "app/DATA FILES/FZ_PH2Sum.csv", "app/DATA FILES/FZ_Phase1DS1.csv",
      "app/DATA FILES/FZ_Phase1DS2.csv"}},
    {9,
     {"in/strata.csv", "app/DATA FILES/FZ_Phase1DS1.csv", "app/DATA FILES/FZ_Phase1DS2.csv",
      "app/DATA FILES/FZ_Phase2.csv", "app/DATA FILES/FZ_PH2Plot.csv",
      "app/DATA FILES/FZ_PH2Sum.csv", "in/trees.csv"}},
};

using Files = std::map<std::string, std::string>;  // relative name -> bytes

Files snapshot(const fs::path& root) {
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root).generic_string()].assign(
            std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

Session sessionIn(const fs::path& root, const ParamRecord& params) {
    Session session;
    session.appDir = root / "app";
    session.dataSetName = "FZ";
    session.inputs.coefficients = root / "in/coefficients.csv";
    session.inputs.strata = root / "in/strata.csv";
    session.inputs.dbh = root / "in/dbh.csv";
    session.inputs.trees = root / "in/trees.csv";
    session.inputs.lidarHigh = root / "in/lidar-ds1.csv";
    session.inputs.lidarLow = root / "in/lidar-ds2.csv";
    session.params = params;
    session.run.seed = 1;
    session.run.threads = 1;
    return session;
}

// The step as the command line runs it: the runner turns every stop into a result, so an
// exception that still escapes is a fault.
bool runStep(int step, const Session& session) {
    const workflow::StepEntry* entry = workflow::findStep(workflow::stepTable(), step);
    SilentView view;
    return workflow::runStep(*entry, workflow::stepInputs(session, ProductCodePolicy::Drop),
                             session.run.seed, view)
        .completed();
}

[[noreturn]] void fail(int step, const std::string& what) {
    std::fprintf(stderr, "step %d: %s\n", step, what.c_str());
    std::abort();
}

struct Baseline {
    ParamRecord params;
    Files files;
};

// The data set and every file steps 5 to 9 make of it.
const Baseline& baseline() {
    static Baseline base;
    static std::once_flag once;
    std::call_once(once, [] {
        ScratchDir dir;
        generator::DataSetShape shape = *generator::presetShape("sample");
        generator::resizeShape(shape, 30);
        generator::generateDataSet(shape, generator::kSampleSeed, dir.path() / "in");
        fs::remove(dir.path() / "in/params.txt");
        base.params = shape.params;
        base.params.MaxItern = 3;
        fs::create_directories(dir.path() / "app/DATA FILES");
        const Session session = sessionIn(dir.path(), base.params);
        for (int step = 5; step <= 9; ++step)
            if (!runStep(step, session)) fail(step, "the valid data set does not run");
        base.files = snapshot(dir.path());
    });
    return base;
}

// Aborts when a field of `text` reads "nan", "inf" or "infinity" in any case, signed or not.
void checkFinite(int step, const std::string& name, const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = std::min(text.find_first_of(", \r\n\"", start), text.size());
        std::string t = text.substr(start, end - start);
        if (!t.empty() && (t[0] == '-' || t[0] == '+')) t.erase(0, 1);
        for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (t == "nan" || t == "inf" || t == "infinity")
            fail(step, name + " holds a number that is not finite");
        start = end + 1;
    }
}

constexpr std::size_t kParameterBytes = 16;

// PACF, MaxSpec, MaxProd, MaxItern, PTIP and STIP from 16 bytes, little-endian.
void readParameters(const std::uint8_t* bytes, ParamRecord& p) {
    const auto int16 = [&](std::size_t at) {
        return static_cast<std::int16_t>(bytes[at] | bytes[at + 1] << 8);
    };
    const auto float32 = [&](std::size_t at) {
        return std::bit_cast<float>(static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 |
                                                               bytes[at + 2] << 16 |
                                                               std::uint32_t{bytes[at + 3]} << 24));
    };
    std::tie(p.PACF, p.MaxSpec, p.MaxProd, p.MaxItern) =
        std::tuple(int16(0), int16(2), int16(4), int16(6));
    std::tie(p.PTIP, p.STIP) = std::tuple(float32(8), float32(12));
}

}  // namespace

int fuzzStep(int step, const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const Baseline& base = baseline();
    const std::vector<std::string>& inputs = kStepInputs.at(step);
    const std::string& chosen = inputs[(data[0] & 0x0F) % inputs.size()];
    ParamRecord params = base.params;
    params.ModelSet = static_cast<std::int16_t>((data[0] >> 4) & 1);
    params.LiHgtAdj = static_cast<std::int16_t>((data[0] >> 5) & 1);
    const bool fuzzedParameters = (data[0] >> 6) & 1;
    ++data;
    --size;
    if (fuzzedParameters) {
        if (size < kParameterBytes) return 0;
        readParameters(data, params);
        data += kParameterBytes;
        size -= kParameterBytes;
        if (parameterProblem(params)) return 0;  // refused before any step starts
    }

    ScratchDir dir;
    for (const auto& [name, bytes] : base.files) {
        fs::create_directories((dir.path() / name).parent_path());
        writeBytes(dir.path() / name, bytes);
    }
    writeBytes(dir.path() / chosen, {reinterpret_cast<const char*>(data), size});
    const Files before = snapshot(dir.path());

    const Session session = sessionIn(dir.path(), params);
    bool completed = false;
    try {
        completed = runStep(step, session);
    } catch (const std::exception& e) {
        fail(step, std::string("an exception left the step: ") + e.what());
    }

    const Files after = snapshot(dir.path());
    for (const auto& [name, bytes] : after) {
        if (isTemporaryOutputName(fs::path(name).filename().string()))
            fail(step, "a temporary file was left: " + name);
        const auto was = before.find(name);
        if (completed && (was == before.end() || was->second != bytes))
            checkFinite(step, name, bytes);
    }
    if (!completed && after != before) fail(step, "the step stopped but changed the files");
    return 0;
}

}  // namespace orr::fuzz
