// The benchmarks' builds over any file store.
#include "bench_build.h"

#include "output/file_store.h"

namespace scenario::bench {
namespace {

void setBenchIdentity(ScenarioBuild& build) {
    build.scenarioName = std::string("Bench");
    build.trainNumber = std::string("1");
}

std::string builtinSource(void (ScenarioBuild::*writer)(),
                          std::string (ScenarioIdentity::*name)() const) {
    MemoryStore store;
    ScenarioBuild build(store);
    setBenchIdentity(build);
    (build.*writer)();
    return store.files[(build.identity().*name)()];
}

}  // namespace

void startBuild(ScenarioBuild& build, const std::string& line, const std::string& train,
                std::int32_t plan) {
    setBenchIdentity(build);
    build.files().write(build.identity().lineSourceFile(), line);
    build.files().write(build.identity().trainSourceFile(), train);
    build.buildLinePlan = plan;
    build.errorCode = 0;
    for (StationRecord& r : build.stationTable) r = StationRecord{};
}

void compileWithoutFiles(ScenarioBuild& build) {
    build.memorizza_dati();
    build.signalSpacingPass();
    build.stampScenario();
}

std::string builtinLineSource() {
    return builtinSource(&ScenarioBuild::dati_linea, &ScenarioIdentity::lineSourceFile);
}
std::string builtinTrainSource() {
    return builtinSource(&ScenarioBuild::dati_treno, &ScenarioIdentity::trainSourceFile);
}

}  // namespace scenario::bench
