// memorizza_percorso: clears the state, compiles both sources, completes, stamps and writes.
#include "compiler/track_model.h"

namespace scenario {

void ScenarioBuild::memorizza_percorso(std::int32_t& j) {
    buildLinePlan = j;
    errorCode = 0;
    errorSpare = 0;
    for (cursor = 0; cursor < kStationTableSize; ++cursor)
        stationTable[static_cast<std::size_t>(cursor)] = StationRecord{};
    memorizza_dati();
    signalSpacingPass();
    stampScenario();
    writeScenarioFiles();
}

}  // namespace scenario
