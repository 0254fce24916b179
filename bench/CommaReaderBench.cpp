// Reading speed of the LiDAR height layout (plot, height), of the tree file layout (eight fields)
// and of the Phase 1 totals of step 7 (five fields), in bytes per second on one core: each file
// is read from the disk cache through the comma reader and its format, with every check the steps
// make, as a step reads it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/NumberText.h"
#include "core/OutputSet.h"
#include "files/LidarHeightFile.h"
#include "files/Phase1File.h"
#include "files/TreeInputFile.h"

namespace {

// About 75 LiDAR trees per plot, heights in tenths of a foot as the LiDAR files hold them (or in
// hundredths).
std::string lidarText(int records, int decimals = 1) {
    std::mt19937_64 g(7);
    std::uniform_real_distribution<double> height(5.0, 120.0);
    std::string text;
    for (int r = 0; r < records; ++r) {
        text += std::to_string(1 + r / 75) + ',' + orr::roundedText(height(g), decimals) + "\r\n";
    }
    return text;
}

// Ground trees: plot, species, product, DBH, height, age and two extra values.
std::string treeText(int records) {
    std::mt19937_64 g(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::string text;
    for (int r = 0; r < records; ++r) {
        text += std::to_string(1 + r / 20) + ',' + std::to_string(1 + r % 5) + ',' +
                std::to_string(1 + r % 3) + ',' + orr::roundedText(5 + 25 * unit(g), 1) + ',' +
                std::to_string(static_cast<int>(40 + 60 * unit(g))) + ',' +
                std::to_string(20 + r % 30) + ',' + std::to_string(r % 20 + 1) + ',' +
                orr::roundedText(unit(g), 2) + "\r\n";
    }
    return text;
}

// Step 7's Phase 1 totals, read by steps 8 and 9: five species a plot, N a multiple of the plot
// expansion factor, BA and volume to hundredths.
std::string phase1Text(int records) {
    std::mt19937_64 g(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::string text;
    for (int r = 0; r < records; ++r) {
        const double trees = 20.0 * static_cast<int>(1 + 60 * unit(g));
        const double basalArea = trees * (0.1 + 0.9 * unit(g));
        text += std::to_string(1 + r / 5) + ',' + std::to_string(1 + r % 5) + ',' +
                orr::shortest(trees) + ',' + orr::roundedText(basalArea, 2) + ',' +
                orr::roundedText(basalArea * (20 + 15 * unit(g)), 2) + "\r\n";
    }
    return text;
}

template <class Format>
void readFile(benchmark::State& state, const std::string& text, const char* name) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / name;
    orr::writeFileAtomically(file, text);
    const orr::files::Limits limits{2000000000, 5, 3};
    for (auto _ : state) {
        orr::files::RecordReader<Format> reader(file, limits);
        typename Format::Record r{};
        double sum = 0;
        while (reader.next(r)) sum += r.plot;
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    std::filesystem::remove(file);
}

// The LiDAR trees of every plot as steps 6 and 7 take them: the first record of a plot read in
// full, the plot's further records passed over by their plot field (step 6, for the plots that
// are not Phase 2 plots) or taken with their heights (step 7). Heights in hundredths.
template <bool kTake>
void readPlots(benchmark::State& state) {
    const std::string text = lidarText(2000000, 2);
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / (kTake ? "bench-take.csv" : "bench-skip.csv");
    orr::writeFileAtomically(file, text);
    const orr::files::Limits limits{2000000000, 5, 3};
    std::vector<double> heights;
    for (auto _ : state) {
        orr::files::RecordReader<orr::files::LidarHeightFile> reader(file, limits);
        orr::files::LidarHeight r{};
        long records = 0;
        while (reader.next(r)) {
            heights.clear();
            records +=
                1 + (kTake ? reader.takeSameFirstField(heights) : reader.skipSameFirstField());
        }
        benchmark::DoNotOptimize(records);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    std::filesystem::remove(file);
}

void BM_SkipLidarPlots(benchmark::State& state) {
    readPlots<false>(state);
}
void BM_TakeLidarPlots(benchmark::State& state) {
    readPlots<true>(state);
}

void BM_ReadLidarHeights(benchmark::State& state) {
    readFile<orr::files::LidarHeightFile>(state, lidarText(2000000), "bench-lidar.csv");
}
void BM_ReadTreeRecords(benchmark::State& state) {
    readFile<orr::files::TreeInputFile>(state, treeText(400000), "bench-trees.csv");
}
void BM_ReadPhase1Records(benchmark::State& state) {
    readFile<orr::files::Phase1File>(state, phase1Text(1000000), "bench-phase1.csv");
}

}  // namespace

BENCHMARK(BM_ReadLidarHeights)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTreeRecords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPhase1Records)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SkipLidarPlots)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TakeLidarPlots)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
