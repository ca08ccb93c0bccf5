// The train pass over 78 stations (all the station table holds) and 2000 signals.
#include <benchmark/benchmark.h>

#include <optional>

#include "bench_build.h"
#include "generated_sources.h"
#include "output/file_store.h"

namespace scenario::bench {
namespace {

constexpr std::int32_t kStations = 78;
constexpr std::int32_t kSignals = 2000;
constexpr std::int32_t kRouteMetres = 410000;

struct TrainPassBuild {
    MemoryStore store;
    ScenarioBuild build{store};
};

void BM_TrainPass(benchmark::State& state) {
    const std::string line = generatedLineSource(kRouteMetres);
    const std::string train = generatedTrainSource(kStations, kSignals);
    std::optional<TrainPassBuild> b;
    for (auto _ : state) {
        state.PauseTiming();
        b.emplace();
        startBuild(b->build, line, train, 0);
        b->build.linePass();
        state.ResumeTiming();
        b->build.trainPass();
        if (b->build.errorCode != 0) state.SkipWithError("train error");
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * (kStations + kSignals));
}
BENCHMARK(BM_TrainPass)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace scenario::bench
