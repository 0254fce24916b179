// The bundled sample through every step without a warning, and the same results with plot numbers
// past 16 bits.
#include <cstdlib>
#include <string_view>

#include "model/session/Startup.h"
#include "tests/cli/CliSupport.h"
#include "tools/generator/Generator.h"

namespace orr::test {
namespace {

// Every line of `text` with `by` added to the whole number in field `field` (0-based) when it
// is at least `from`; other lines as they are.
std::string shiftField(const std::string& text, int field, long by, long from = 0) {
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        std::string line = text.substr(at, end - at);
        at = end;
        std::size_t start = 0;
        for (int f = 0; f < field && start != std::string::npos; ++f) {
            start = line.find(',', start);
            if (start != std::string::npos) ++start;
        }
        if (start == std::string::npos) {
            out += line;
            continue;
        }
        // The plot files pad their numbers with blanks: the digits are shifted, the blanks kept.
        const std::size_t digits = line.find_first_not_of(' ', start);
        const std::size_t stop = line.find_first_not_of("0123456789", digits);
        const std::size_t next = line.find_first_not_of(' ', stop);
        const bool whole = digits != std::string::npos && stop != digits &&
                           (next == std::string::npos ||
                            std::string_view(",\r\n").find(line[next]) != std::string_view::npos);
        if (!whole || std::stol(line.substr(digits, stop - digits)) < from) {
            out += line;
            continue;
        }
        out += line.substr(0, digits) +
               std::to_string(std::stol(line.substr(digits, stop - digits)) + by) +
               line.substr(stop);
    }
    return out;
}

// Runs steps 5 to 9 on the data set `files` in a new application directory with MaxPlots.
std::filesystem::path runSample(const std::filesystem::path& app,
                                const generator::DataSetFiles& files, std::int32_t maxPlots) {
    std::filesystem::create_directories(app);
    ParamRecord params = generator::presetShape("sample")->params;
    params.MaxPlots = maxPlots;
    saveParameters(app, params);
    const Outcome r =
        cliIn(app, {"run", "--dataset", "S", "--coeff", files.coefficients.string(), "--strata",
                    files.strata.string(), "--dbh", files.dbh.string(), "--trees",
                    files.trees.string(), "--ds1", files.lidarDs1.string(), "--ds2",
                    files.lidarDs2.string(), "--seed", "3", "--product-code", "drop"});
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.err, "");  // no warning, no tree dropped for want of a product code
    return app / "DATA FILES";
}

// The sample with every plot number raised by two million (MaxPlots then lies past the 16 bits
// of PARAMETER.PRM's field) gives the same estimates and, plot numbers apart, the same files.
TEST(SampleRun, PlotNumbersPast16BitsGiveTheSameResults) {
    const char* source = std::getenv("ORRAVANT_SOURCE_DIR");
    const auto sample =
        generator::dataSetFiles(std::filesystem::path(source ? source : ".") / "examples/sample");
    TempDir dir;
    constexpr long kShift = 2000000;
    const auto far = generator::dataSetFiles(dir / "far");
    std::filesystem::create_directories(dir / "far");
    std::filesystem::copy_file(sample.coefficients, far.coefficients);
    std::filesystem::copy_file(sample.dbh, far.dbh);
    writeFile(far.trees, shiftField(readFile(sample.trees), 0, kShift));
    writeFile(far.lidarDs1, shiftField(readFile(sample.lidarDs1), 0, kShift));
    writeFile(far.lidarDs2, shiftField(readFile(sample.lidarDs2), 0, kShift));
    writeFile(far.strata, shiftField(shiftField(readFile(sample.strata), 1, kShift), 2, kShift));

    const auto nearData = runSample(dir / "near", sample, 500);
    const auto farData = runSample(dir / "far-app", far, 500 + kShift);
    std::size_t compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(nearData)) {
        const std::string name = entry.path().filename().string();
        if (name == "S_Run.csv" || name == "S_Report.html") continue;  // name the input files
        const std::string nearText = readFile(entry.path());
        const std::string farText = readFile(farData / name);
        // The plot files start with the plot number; no other file has a number that large.
        EXPECT_TRUE(shiftField(farText, 0, -kShift, kShift) == nearText) << name;
        ++compared;
    }
    EXPECT_EQ(compared, 15u);
}

}  // namespace
}  // namespace orr::test
