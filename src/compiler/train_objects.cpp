// Places the train run's objects in cells: signals with their approach codes, slow orders with
// their boards, and speed-cut points.
#include <cstdint>

#include "compiler/conversions.h"
#include "compiler/track_model.h"
#include "compiler/train_records.h"

namespace scenario {

void ScenarioBuild::memo_segnale(std::int32_t posizione, std::int32_t& sx, std::int32_t& s1,
                                 std::int32_t& s2, std::int32_t& s3, std::int32_t& rapp,
                                 std::int32_t& dx, std::int32_t& d1, std::int32_t& d2,
                                 std::int32_t& d3, std::int32_t& tempo) {
    const std::int64_t index = train::cellAfter(posizione);
    if (!isFree(index)) {
        recordError(16);
        return;
    }
    TrackCell& signal = cell(index);
    signal.kind = kSignal;
    signal.value4 = lowBits16(std::int64_t{rapp} * 10 + std::int64_t{sx} * 3 + dx);
    signal.value1 = lowBits16(std::int64_t{s1} * 10 + d1);
    signal.value2 = lowBits16(std::int64_t{s2} * 10 + d2);
    signal.value3 = lowBits16(std::int64_t{s3} * 10 + d3);
    if (tempo >= 1 && tempo <= 100) tempo = 101;
    signal.signalTime = sx == 2 ? lowBits8(tempo) : 0;
    // The approach cells are written whatever stands in them; those before the route start are
    // passed over.
    const std::int64_t sides = std::int64_t{sx} * 3 + dx;
    for (markIndex = 1; markIndex <= 4; ++markIndex) {
        const std::int64_t approach = index - 2 * std::int64_t{markIndex};
        if (!cellExists(approach)) continue;
        cell(approach).approachCode = lowBits8(sides * 10 + markIndex);
    }
}

void ScenarioBuild::memo_rallentamento(std::int32_t x, std::int32_t& v, std::int32_t& l,
                                       std::int32_t& f_tt, std::int32_t f_ta, std::int32_t& d_v) {
    const std::int64_t start = train::cellAfter(x);
    const std::int64_t end = train::cellAfter(std::int64_t{x} + l);
    const std::int64_t warning = train::cellAfter(std::int64_t{x} - 1200);
    const bool hasWarning = x > 1500;
    if (!hasWarning) f_ta = 0;

    // Every board is tested before any is written.
    if (hasWarning && !isFree(warning)) {
        recordError(17);
        return;
    }
    if (!isFree(start)) {
        recordError(18);
        return;
    }
    if (!isFree(end)) {
        recordError(19);
        return;
    }

    cell(end).kind = kSlowOrderEnd;
    if (d_v != 0) cell(end).value2 = lowBits16(d_v);
    cell(start).kind = kSlowOrderStart;
    if (d_v != 0) cell(start).value2 = lowBits16(d_v);
    if (hasWarning) {
        TrackCell& board = cell(warning);
        board.kind = kSlowOrderWarning;
        if (d_v != 0) board.value2 = lowBits16(d_v);
        board.value1 = lowBits16(v);
    }
    cell(start).value1 = lowBits16(v);
    cell(end).value1 = lowBits16(v);
    cell(start).value3 = lowBits16(f_tt);
    cell(end).value3 = lowBits16(f_tt);

    // The marker cells are tested only now, after the boards: a warning board can block them.
    const std::int64_t markers = train::cellAt(std::int64_t{x} - 1200);
    scanIndex = lowBits32(markers);
    if (f_ta == 0) return;
    blockedFlag = 0;
    for (std::int64_t j = 0; j < 4; ++j)
        if (!isFree(markers - j)) blockedFlag = 1;
    if (blockedFlag != 0) {
        recordError(20);
        return;
    }
    for (std::int64_t j = 0; j < 4; ++j) {
        TrackCell& marker = cell(markers - j);
        marker.kind = kWarningMarker;
        marker.value1 = lowBits16(j + 1);
        if (d_v != 0) marker.value2 = lowBits16(j + 1);
    }
}

namespace train {

// The signal's own cell; its approach cells may fall before the route start.
RecordFlow readSignalRecord(ScenarioBuild& build) {
    std::int32_t values[11];
    for (std::int32_t& value : values) value = build.source().readLong();
    auto& [posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo] = values;
    if (failsRangeTest(build, posizione, kRecordMargin)) return endOutsideTable(build, posizione);
    if (!build.cellExists(cellAfter(posizione))) return endOutsideTable(build, posizione);
    build.memo_segnale(posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo);
    // Any error counts, one left by the line pass included.
    if (build.errorCode > 0) return errorExit(build, build.errorCode, posizione);
    return RecordFlow::Next;
}

namespace {

// The cells a slow order occupies: its start and end, and beyond 1500 m its warning board and,
// with f_ta, the four marker cells before the board.
bool slowOrderFitsTable(const ScenarioBuild& build, std::int64_t x, std::int64_t l,
                        std::int64_t f_ta) {
    if (!build.cellExists(cellAfter(x)) || !build.cellExists(cellAfter(x + l))) return false;
    if (x <= 1500) return true;
    if (!build.cellExists(cellAfter(x - 1200))) return false;
    if (f_ta == 0) return true;
    const std::int64_t markers = cellAt(x - 1200);
    return build.cellExists(markers) && build.cellExists(markers - 3);
}

}  // namespace

RecordFlow readSlowOrderRecord(ScenarioBuild& build) {
    std::int32_t values[6];
    for (std::int32_t& value : values) value = build.source().readLong();
    auto& [x, v, l, f_tt, f_ta, d_v] = values;
    if (failsRangeTest(build, x, kRecordMargin)) return endOutsideTable(build, x);
    if (!slowOrderFitsTable(build, x, l, f_ta)) return endOutsideTable(build, x);
    build.memo_rallentamento(x, v, l, f_tt, f_ta, d_v);
    if (build.errorCode > 0) return errorExit(build, build.errorCode, x);
    return RecordFlow::Next;
}

// A speed-cut point stands in the cell of its position, without the offset of signals.
RecordFlow readSpeedCutRecord(ScenarioBuild& build) {
    const std::int32_t position = build.source().readLong();
    const std::int32_t speed = build.source().readLong();
    if (failsRangeTest(build, position, kRecordMargin)) return endOutsideTable(build, position);
    const std::int64_t index = cellAt(position);
    if (!build.cellExists(index)) return endOutsideTable(build, position);
    if (!build.isFree(index)) return errorExit(build, 7, position);
    TrackCell& point = build.cell(index);
    if (speed < 1) {
        point.kind = kSpeedCutMark;
        return RecordFlow::Next;
    }
    point.kind = kSpeedCut;
    point.value1 = lowBits16(speed);
    return RecordFlow::Next;
}

}  // namespace train
}  // namespace scenario
