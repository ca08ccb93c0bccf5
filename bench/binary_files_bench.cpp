// Writing the three binary files: into memory, where only the encoding counts, and once into a
// real directory. Bytes are those of the three files together.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "base/file_store.h"
#include "bench_build.h"
#include "generated_sources.h"
#include "output/binary_files.h"

namespace scenario::bench {
namespace {

namespace fs = std::filesystem;

std::int64_t writtenBytes(const FileStore& store, const ScenarioBuild& build) {
    std::int64_t total = 0;
    const ScenarioIdentity names = build.identity();
    for (const std::string& name :
         {names.lineDataFile(), names.stationTableFile(), names.trackCellFile()})
        total += static_cast<std::int64_t>(store.read(name).value_or("").size());
    return total;
}

// The argument is the route length in kilometres; 34 is the built-in scenario.
void compileRoute(ScenarioBuild& build, FileStore& store, std::int64_t kilometres) {
    if (kilometres == 34) {
        prepareBuild(build, store, builtinLineSource(), builtinTrainSource(), 1);
    } else {
        const auto route = static_cast<std::int32_t>(kilometres * 1000);
        prepareBuild(build, store, generatedLineSource(route), kEmptyTrainSource, 1);
    }
    compileWithoutFiles(build, store);
}

void BM_WriteFilesToMemory(benchmark::State& state) {
    MemoryStore store;
    ScenarioBuild build;
    compileRoute(build, store, state.range(0));
    for (auto _ : state) writeScenarioFiles(build, store);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            writtenBytes(store, build));
}
BENCHMARK(BM_WriteFilesToMemory)->Arg(34)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

struct TempDirectory {
    fs::path path;
    TempDirectory() {
        std::string pattern = (fs::temp_directory_path() / "bench-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TempDirectory() { fs::remove_all(path); }
};

// Each write creates its files anew, as a first run does: the old ones are deleted untimed.
void BM_WriteFilesToDirectory(benchmark::State& state) {
    TempDirectory dir;
    DirectoryStore store(dir.path);
    ScenarioBuild build;
    compileRoute(build, store, state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        for (const fs::directory_entry& entry : fs::directory_iterator(dir.path))
            fs::remove(entry.path());
        state.ResumeTiming();
        writeScenarioFiles(build, store);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            writtenBytes(store, build));
}
BENCHMARK(BM_WriteFilesToDirectory)->Arg(34)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario::bench
