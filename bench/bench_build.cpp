// The benchmarks' builds over any file store.
#include "bench_build.h"

#include "compiler/compile_step.h"
#include "compiler/signal_spacing.h"
#include "output/stamping.h"
#include "source/source_writers.h"

namespace scenario::bench {
namespace {

const ScenarioIdentity kBenchIdentity{"Bench", "1"};

std::string builtinSource(void (*writer)(FileStore&, const ScenarioIdentity&),
                          std::string (ScenarioIdentity::*name)() const) {
    MemoryStore store;
    writer(store, kBenchIdentity);
    return store.files[(kBenchIdentity.*name)()];
}

}  // namespace

void prepareBuild(ScenarioBuild& build, FileStore& files, const std::string& line,
                  const std::string& train, std::int32_t plan) {
    build.scenarioName = kBenchIdentity.scenarioName;
    build.trainNumber = kBenchIdentity.trainNumber;
    startBuild(build, plan);
    files.write(build.identity().lineSourceFile(), line);
    files.write(build.identity().trainSourceFile(), train);
}

void compileWithoutFiles(ScenarioBuild& build, FileStore& files) {
    memorizza_dati(build, files);
    signalSpacingPass(build);
    stampScenario(build);
}

std::string builtinLineSource() {
    return builtinSource(dati_linea, &ScenarioIdentity::lineSourceFile);
}
std::string builtinTrainSource() {
    return builtinSource(dati_treno, &ScenarioIdentity::trainSourceFile);
}

}  // namespace scenario::bench
