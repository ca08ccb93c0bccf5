// The train pass over 78 stations (all the station table holds) and 2000 signals.
#include <benchmark/benchmark.h>

#include <optional>

#include "base/file_store.h"
#include "bench_build.h"
#include "compiler/line_pass.h"
#include "compiler/source_input.h"
#include "compiler/train_pass.h"
#include "generated_sources.h"

namespace scenario::bench {
namespace {

constexpr std::int32_t kStations = 78;
constexpr std::int32_t kSignals = 2000;
constexpr std::int32_t kRouteMetres = 410000;

struct TrainPassBuild {
    MemoryStore store;
    ScenarioBuild build;
    SourceInput in{build, store};
};

void BM_TrainPass(benchmark::State& state) {
    const std::string line = generatedLineSource(kRouteMetres);
    const std::string train = generatedTrainSource(kStations, kSignals);
    std::optional<TrainPassBuild> b;
    for (auto _ : state) {
        state.PauseTiming();
        b.emplace();
        prepareBuild(b->build, b->store, line, train, 0);
        linePass(b->build, b->in);
        state.ResumeTiming();
        trainPass(b->build, b->in);
        if (b->build.errorCode != 0) state.SkipWithError("train error");
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * (kStations + kSignals));
}
BENCHMARK(BM_TrainPass)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace scenario::bench
