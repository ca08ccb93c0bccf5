// The body of the two compile targets: one input's line and train sources compiled in memory
// through the whole compile driver, and the checks on what the build left. Whatever the sources
// hold, the build ends with a recorded error or none, a stamping error, or no track cell table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "base/file_store.h"
#include "compiler/track_model.h"
#include "fuzz_check.h"
#include "fuzz_inputs.h"
#include "output/binary_files.h"
#include "output/compile_driver.h"
#include "report/error_meanings.h"

namespace scenario::fuzz {

// Keeps the line data file's name but not its bytes: the plan is still computed, while encoding
// it, which fuzz_dump covers, would take most of a short route's time.
class PlanSkippingStore : public MemoryStore {
  public:
    explicit PlanSkippingStore(std::string planFile) : planFile_(std::move(planFile)) {}
    void writeInPieces(const std::string& name, const FileContent& content) override {
        if (name == planFile_)
            files[name];
        else
            MemoryStore::writeInPieces(name, content);
    }

  private:
    std::string planFile_;
};

inline void checkFiles(const ScenarioBuild& build, const MemoryStore& store, bool buildPlan) {
    const ScenarioIdentity names = build.identity();
    const bool hasCells = build.hasTrackCellTable();
    require(store.exists(names.trackCellFile()) == hasCells, "cells file iff a cell table");
    require(store.exists(names.stationTableFile()) == hasCells, "station file iff a cell table");
    require(store.exists(names.lineDataFile()) == (hasCells && buildPlan),
            "line data file iff a cell table and a plan");
    if (!hasCells) return;
    require(store.files.at(names.trackCellFile()).size() ==
                build.trackCells.size() * kTrackCellRecordSize,
            "fifteen bytes a cell");
}

struct CompileTargetSetting {
    std::int32_t longestRoute;  // route lengths above it are lowered to it; 0 keeps them all
    bool encodePlan;
};

inline void compileOneInput(std::string_view bytes, const CompileTargetSetting& setting) {
    CompileInput input = splitCompileInput(bytes);
    if (setting.longestRoute > 0) clampRouteLength(input.lineSource, setting.longestRoute);
    ScenarioBuild build;
    build.scenarioName = "S";
    build.trainNumber = "1";
    MemoryStore wholeFiles;
    PlanSkippingStore planSkipped(build.identity().lineDataFile());
    MemoryStore& store = setting.encodePlan ? wholeFiles : planSkipped;
    store.files[build.identity().lineSourceFile()] = input.lineSource;
    if (input.trainSource) store.files[build.identity().trainSourceFile()] = *input.trainSource;

    const std::optional<StampingFailure> stop =
        memorizza_percorso(build, store, input.buildPlan ? 1 : 0);
    if (stop) {
        require(stop->number == 1250 || stop->number == 1251, "only the stamping stops a build");
        return;
    }
    require(build.errorCode == 0 || errorMeaning(build.errorCode) != "unknown error",
            "every recorded error has a meaning");
    checkFiles(build, store, input.buildPlan);
}

}  // namespace scenario::fuzz
