// Compiles the input's line and train source files in memory through the whole compile driver:
// both passes, the signal spacing, the stamping and the three files. Whatever the sources hold,
// the build ends with a recorded error or none, a stamping error, or no track cell table.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/file_store.h"
#include "compiler/track_model.h"
#include "fuzz_check.h"
#include "fuzz_inputs.h"
#include "output/binary_files.h"
#include "output/compile_driver.h"
#include "report/error_meanings.h"

namespace {

using namespace scenario;
using namespace scenario::fuzz;

void checkFiles(const ScenarioBuild& build, const MemoryStore& store, bool buildPlan) {
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CompileInput input =
        splitCompileInput(std::string_view(reinterpret_cast<const char*>(data), size));
    MemoryStore store;
    ScenarioBuild build;
    build.scenarioName = "S";
    build.trainNumber = "1";
    store.files[build.identity().lineSourceFile()] = input.lineSource;
    if (input.trainSource) store.files[build.identity().trainSourceFile()] = *input.trainSource;

    const std::optional<StampingFailure> stop =
        memorizza_percorso(build, store, input.buildPlan ? 1 : 0);
    if (stop) {
        require(stop->number == 1250 || stop->number == 1251, "only the stamping stops a build");
        return 0;
    }
    require(build.errorCode == 0 || errorMeaning(build.errorCode) != "unknown error",
            "every recorded error has a meaning");
    checkFiles(build, store, input.buildPlan);
    return 0;
}
