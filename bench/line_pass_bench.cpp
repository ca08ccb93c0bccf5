// The line pass with the plan: the built-in 34 km route and generated routes with curves over
// their whole length. Items are plan metres, so the rate shows whether the cost stays linear.
#include <benchmark/benchmark.h>

#include <optional>

#include "base/file_store.h"
#include "bench_build.h"
#include "compiler/line_pass.h"
#include "compiler/source_input.h"
#include "generated_sources.h"

namespace scenario::bench {
namespace {

struct LinePassBuild {
    MemoryStore store;
    ScenarioBuild build;
    SourceInput in{build, store};
};

void timeLinePass(benchmark::State& state, const std::string& lineSource) {
    std::optional<LinePassBuild> b;
    for (auto _ : state) {
        state.PauseTiming();
        b.emplace();  // the previous build is freed here, untimed
        prepareBuild(b->build, b->store, lineSource, kEmptyTrainSource, 1);
        state.ResumeTiming();
        if (!linePass(b->build, b->in) || b->build.errorCode != 0)
            state.SkipWithError("line error");
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            (b ? b->build.planLength : 0));
}

void BM_LinePassBuiltIn(benchmark::State& state) {
    timeLinePass(state, builtinLineSource());
}
BENCHMARK(BM_LinePassBuiltIn)->Unit(benchmark::kMicrosecond);

// The argument is the route length in kilometres.
void BM_LinePassGenerated(benchmark::State& state) {
    timeLinePass(state, generatedLineSource(static_cast<std::int32_t>(state.range(0)) * 1000));
}
BENCHMARK(BM_LinePassGenerated)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
