// memorizza_percorso: clears the state, compiles both sources, completes, stamps and writes.
#include "compiler/compile_driver.h"

namespace scenario {

void ScenarioBuild::memorizza_percorso(std::int32_t& j) {
    buildLinePlan = j;
    errorCode = 0;
    errorSpare = 0;
    errorFile.clear();
    errorLine = 0;
    failureReason.clear();
    sourceWarnings.clear();
    recordedErrors.clear();
    for (cursor = 0; cursor < kStationTableSize; ++cursor)
        stationTable[static_cast<std::size_t>(cursor)] = StationRecord{};
    memorizza_dati();
    // A line pass that stopped before the route length left nothing to complete or store.
    if (!hasTrackCellTable(*this)) return;
    signalSpacingPass();
    stampScenario();
    writeScenarioFiles();
}

}  // namespace scenario
