// The signal-spacing pass over 200 slow orders, each with a signal before its warning board and
// one after its end board, on a 1000 km route.
#include <benchmark/benchmark.h>

#include <vector>

#include "base/file_store.h"
#include "bench_build.h"
#include "compiler/compile_step.h"
#include "compiler/signal_spacing.h"
#include "generated_sources.h"

namespace scenario::bench {
namespace {

constexpr std::int32_t kSlowOrders = 200;

void BM_SignalSpacing(benchmark::State& state) {
    MemoryStore store;
    ScenarioBuild build;
    prepareBuild(build, store, generatedLineSource(5000 * kSlowOrders),
                 generatedSlowOrderSource(kSlowOrders), 0);
    memorizza_dati(build, store);
    if (build.errorCode != 0) state.SkipWithError("slow-order source error");
    const std::vector<TrackCell> compiled = build.trackCells;
    for (auto _ : state) {
        state.PauseTiming();
        build.trackCells = compiled;
        state.ResumeTiming();
        signalSpacingPass(build);
    }
    if (build.errorCode != 0) state.SkipWithError("signal-spacing error");
    // Seven per slow order: one before the signal, three windows, two walk points, one after.
    std::int64_t points = 0;
    for (const TrackCell& c : build.trackCells) points += c.kind == kSpeedCut ? 1 : 0;
    state.counters["points"] = static_cast<double>(points);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kSlowOrders);
}
BENCHMARK(BM_SignalSpacing)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace scenario::bench
