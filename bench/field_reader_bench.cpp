// The field reader over a large source text: records of every form, read as the passes read them,
// beside memchr finding the line ends of the same bytes, the floor that the reader's rate is
// stated against.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <utility>

#include "generated_sources.h"

namespace scenario::bench {
namespace {

constexpr std::size_t kTextBytes = 16u << 20;

const ReaderText& readerText() {
    static const ReaderText source = generatedReaderText(kTextBytes);
    return source;
}

void BM_FieldReader(benchmark::State& state) {
    const ReaderText& source = readerText();
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

// Every line end of the same text found with memchr: the least any reader of it must do.
void BM_MemchrLineEnds(benchmark::State& state) {
    const std::string& text = readerText().text;
    for (auto _ : state) {
        std::size_t lines = 0;
        const char* at = text.data();
        const char* const end = at + text.size();
        while (const void* found = std::memchr(at, '\n', static_cast<std::size_t>(end - at))) {
            at = static_cast<const char*>(found) + 1;
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_MemchrLineEnds)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
