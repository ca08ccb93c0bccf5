// The three binary scenario files as bytes: the route's plan, the station table and the track
// cells, each the plain concatenation of its records.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/file_store.h"
#include "compiler/track_model.h"

namespace scenario {

inline constexpr std::size_t kTrackCellRecordSize = 15;
inline constexpr std::size_t kStationRecordFixedSize = 34;  // plus the name's bytes

// Every element of the plan, first coordinates then second ones, as variant records: a type
// code, then nothing, an Integer or a Double. A plan never created gives no record. The file is
// handed to the sink in pieces of a fixed size, so that it is never held whole beside the plan.
void encodeLinePlan(const LinePlan& plan, ByteSink& out);
std::string encodeLinePlan(const LinePlan& plan);
// All 87 entries in index order. A name longer than 65535 bytes is a FileFailure.
std::string encodeStationTable(const std::array<StationRecord, kStationTableSize>& table);
// Every cell in index order.
std::string encodeTrackCells(const std::vector<TrackCell>& cells);

// Writes the line data file (only when the plan is built), the station table file and the track
// cell file.
void writeScenarioFiles(const ScenarioBuild& build, FileStore& files);

}  // namespace scenario
