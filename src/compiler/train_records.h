// What the train pass's record readers share: how a record ends the loop, the range test and the
// error exits, and the cell a position maps to.
#pragma once

#include <cstdint>

#include "compiler/conversions.h"
#include "compiler/track_model.h"

namespace scenario::train {

// What the record loop does after a record.
enum class RecordFlow {
    Next,     // go on with the next first field
    EndLoop,  // leave the loop; the end of the pass still runs
    Exit,     // an error exit: the file is closed and deleted, the pass ends at once
};

inline constexpr std::int32_t kRecordMargin = 100;
inline constexpr std::int32_t kStationMargin = 800;

// The cell of a position, without and with the one-cell offset that objects placed before the
// driver take.
inline std::int64_t cellAt(std::int64_t position) {
    return roundToWhole(static_cast<double>(position) / 50.0);
}
inline std::int64_t cellAfter(std::int64_t position) {
    return roundToWhole(static_cast<double>(position) / 50.0 + 1.0);
}

// True when the position plus its margin lies beyond the track cell table.
bool failsRangeTest(const ScenarioBuild& build, std::int32_t position, std::int32_t margin);
// Error 15 at the position: the loop ends and the end of the pass runs.
RecordFlow endOutsideTable(ScenarioBuild& build, std::int32_t position);
// Records the error, closes and deletes the train source file.
RecordFlow errorExit(ScenarioBuild& build, std::int32_t code);
RecordFlow errorExit(ScenarioBuild& build, std::int32_t code, std::int32_t position);

RecordFlow readSignalRecord(ScenarioBuild& build);
RecordFlow readSlowOrderRecord(ScenarioBuild& build);
RecordFlow readSpeedCutRecord(ScenarioBuild& build);
RecordFlow readStationRecord(ScenarioBuild& build);

}  // namespace scenario::train
