// What the compile passes share: the cell length and the cell of a position, the range test with
// its margin, the one way a pass stops on an error, and the fill of a profile up to a cell.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

#include "base/conversions.h"
#include "compiler/source_input.h"
#include "compiler/track_model.h"
#include "source/record_tables.h"
#include "source/record_walker.h"

namespace scenario {

inline constexpr std::int32_t kRecordMargin = 100;
inline constexpr std::int32_t kStationMargin = 800;

// The cell of a position, without and with the one-cell offset that objects placed before the
// driver take.
inline std::int64_t cellAt(std::int64_t position) {
    return roundToWhole(static_cast<double>(position) / kCellLength);
}
inline std::int64_t cellAfter(std::int64_t position) {
    return roundToWhole(static_cast<double>(position) / kCellLength + 1.0);
}
// The position a cell stands for, as the errors found over the whole model give it.
inline std::int32_t positionOfCell(std::int64_t index) {
    return lowBits32(index * kCellLength);
}

inline std::int64_t cellCount(const ScenarioBuild& build) {
    return static_cast<std::int64_t>(build.trackCells.size());
}

// The range test: true when the position plus its margin lies beyond the track cell table,
// compared as real numbers.
inline bool beyondTable(const ScenarioBuild& build, std::int32_t position, std::int32_t margin) {
    return static_cast<double>(build.lastCellIndex) <
           (static_cast<double>(position) + static_cast<double>(margin)) / kCellLength;
}

// Error 15 at the position: the loop ends and the end of the pass runs.
inline RecordFlow endOutsideTable(SourceInput& in, std::int32_t position) {
    in.recordError(15, position);
    return RecordFlow::EndLoop;
}

// Records the error at the record, then closes and deletes the source file being read.
inline RecordFlow stopPass(SourceInput& in, std::int32_t code) {
    in.recordError(code);
    in.closeAndDelete();
    return RecordFlow::Exit;
}
inline RecordFlow stopPass(SourceInput& in, std::int32_t code, std::int32_t position) {
    in.recordError(code, position);
    in.closeAndDelete();
    return RecordFlow::Exit;
}

// Writes a profile value into the cells from the cursor on, at least one, while the cursor is
// below `below`; the cells from `end` on are never written. The value is made only when a cell
// takes it, so a value out of its range fails only then.
template <typename Value>
void fillProfile(ScenarioBuild& build, std::uint8_t TrackCell::*field, std::int32_t& cursor,
                 std::int64_t below, std::int64_t end, Value value) {
    end = std::min(end, cellCount(build));
    if (cursor < 0 || cursor >= end) return;
    const std::uint8_t v = value();
    do {
        build.cell(cursor).*field = v;
        ++cursor;
    } while (cursor < below && cursor < end);
}

}  // namespace scenario
