// The field reader over a large source text: records of every form, read as the passes read them.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>

#include "generated_sources.h"

namespace scenario::bench {
namespace {

void BM_FieldReader(benchmark::State& state) {
    const ReaderText source = generatedReaderText(16u << 20);
    for (auto _ : state) {
        // The reader owns the bytes it reads, as when a pass opens a file; the copy is not timed.
        state.PauseTiming();
        std::string bytes = source.text;
        state.ResumeTiming();
        const std::int64_t sum = readWholeText(std::move(bytes), source.records);
        benchmark::DoNotOptimize(sum);
        if (sum < 0) state.SkipWithError("the text was not read to its end");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(source.text.size()));
}
BENCHMARK(BM_FieldReader)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
