// Cost of one merchantable-volume evaluation over a spread of tree sizes.
#include <benchmark/benchmark.h>

#include "engine/equations/TreeEquations.h"

namespace {

void BM_TaperVol(benchmark::State& state) {
    for (auto _ : state) {
        double sum = 0;
        for (int species = 1; species <= 5; ++species) {
            for (double dbh = 4; dbh <= 30; dbh += 2) {
                for (double height = 20; height <= 120; height += 10) {
                    sum += orr::taperVolume(static_cast<std::int16_t>(species), dbh, height, 4.0f);
                }
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 5 * 14 * 11);
}

}  // namespace

BENCHMARK(BM_TaperVol)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
