// Reads the three binary scenario files back into the model's records, checking each file against
// its layout: a file of the wrong size or cut short is an error, never a stray read.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/track_model.h"

namespace scenario {

// One element of the plan as the line data file stores it; an Integer is held as its value.
struct PlanElement {
    PlanValueType type = PlanValueType::Empty;
    double value = 0.0;
};

// The line data file's two halves, indexed by metre.
struct PlanFile {
    std::vector<PlanElement> first;
    std::vector<PlanElement> second;
};

// The records, or why the bytes are not such a file.
template <typename Records>
struct Decoded {
    Records records{};
    std::string error;
    bool ok() const { return error.empty(); }
};

using StationTable = std::array<StationRecord, kStationTableSize>;

Decoded<std::vector<TrackCell>> decodeTrackCells(std::string_view bytes);
Decoded<StationTable> decodeStationTable(std::string_view bytes);
Decoded<PlanFile> decodeLinePlan(std::string_view bytes);

enum class ScenarioFileKind { LineData, StationTable, TrackCells, Unknown };

// Which file a name is, by the endings the build gives its files.
ScenarioFileKind scenarioFileKindOf(std::string_view fileName);

}  // namespace scenario
