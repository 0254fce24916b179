// Reading speed of the comma-style reader on a LiDAR-height-like file (plot, height) and a
// tree-file-like one (eight fields), in bytes per second on one core.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "core/CommaReader.h"
#include "core/NumberText.h"

namespace {

std::string makeFile(int records, int fields) {
    std::mt19937_64 g(7);
    std::uniform_real_distribution<double> height(5.0, 120.0);
    std::string text;
    for (int r = 0; r < records; ++r) {
        text += std::to_string(1 + r / 75);
        for (int f = 1; f < fields; ++f) {
            text += ',';
            text += orr::roundedText(height(g), 2);
        }
        text += "\r\n";
    }
    return text;
}

void readAll(benchmark::State& state, int fields) {
    const std::string text = makeFile(200000, fields);
    for (auto _ : state) {
        orr::CommaReader reader(text, "bench.csv");
        double sum = 0;
        while (reader.next(fields)) {
            sum += reader.int16(0, "plot");
            for (int f = 1; f < fields; ++f) sum += reader.number(f, "value");
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

void BM_ReadLidarHeights(benchmark::State& state) {
    readAll(state, 2);
}
void BM_ReadTreeRecords(benchmark::State& state) {
    readAll(state, 8);
}

}  // namespace

BENCHMARK(BM_ReadLidarHeights)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTreeRecords)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
