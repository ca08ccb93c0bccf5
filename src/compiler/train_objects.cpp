// Places the train run's objects in cells: signals with their approach codes, slow orders with
// their boards, and speed-cut points.
#include <cstdint>

#include "base/conversions.h"
#include "compiler/pass_common.h"
#include "compiler/train_pass.h"
#include "compiler/train_records.h"

namespace scenario {

void memo_segnale(ScenarioBuild& build, std::int32_t posizione, std::int32_t sx, std::int32_t s1,
                  std::int32_t s2, std::int32_t s3, std::int32_t rapp, std::int32_t dx,
                  std::int32_t d1, std::int32_t d2, std::int32_t d3, std::int32_t& tempo) {
    const std::int64_t index = cellAfter(posizione);
    if (!build.isFree(index)) {
        noteErrorCells(build, index);
        build.errorCode = 16;
        return;
    }
    TrackCell& signal = build.cell(index);
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
    for (build.markIndex = 1; build.markIndex <= 4; ++build.markIndex) {
        const std::int64_t approach = index - 2 * std::int64_t{build.markIndex};
        if (!build.cellExists(approach)) continue;
        build.cell(approach).approachCode = lowBits8(sides * 10 + build.markIndex);
    }
}

void memo_rallentamento(ScenarioBuild& build, std::int32_t x, std::int32_t v, std::int32_t l,
                        std::int32_t f_tt, std::int32_t f_ta, std::int32_t d_v) {
    const std::int64_t start = cellAfter(x);
    const std::int64_t end = cellAfter(std::int64_t{x} + l);
    const std::int64_t warning = cellAfter(std::int64_t{x} - 1200);
    const bool hasWarning = x > 1500;
    if (!hasWarning) f_ta = 0;

    // Every board is tested before any is written.
    if (hasWarning && !build.isFree(warning)) {
        noteErrorCells(build, warning);
        build.errorCode = 17;
        return;
    }
    if (!build.isFree(start)) {
        noteErrorCells(build, start);
        build.errorCode = 18;
        return;
    }
    if (!build.isFree(end)) {
        noteErrorCells(build, end);
        build.errorCode = 19;
        return;
    }

    build.cell(end).kind = kSlowOrderEnd;
    if (d_v != 0) build.cell(end).value2 = lowBits16(d_v);
    build.cell(start).kind = kSlowOrderStart;
    if (d_v != 0) build.cell(start).value2 = lowBits16(d_v);
    if (hasWarning) {
        TrackCell& board = build.cell(warning);
        board.kind = kSlowOrderWarning;
        if (d_v != 0) board.value2 = lowBits16(d_v);
        board.value1 = lowBits16(v);
    }
    build.cell(start).value1 = lowBits16(v);
    build.cell(end).value1 = lowBits16(v);
    build.cell(start).value3 = lowBits16(f_tt);
    build.cell(end).value3 = lowBits16(f_tt);

    // The marker cells are tested only now, after the boards: a warning board can block them.
    const std::int64_t markers = cellAt(std::int64_t{x} - 1200);
    build.scanIndex = lowBits32(markers);
    if (f_ta == 0) return;
    build.blockedFlag = 0;
    std::int64_t firstTaken = -1;
    for (std::int64_t j = 0; j < 4; ++j) {
        if (build.isFree(markers - j)) continue;
        build.blockedFlag = 1;
        if (firstTaken < 0) firstTaken = markers - j;
    }
    if (build.blockedFlag != 0) {
        noteErrorCells(build, firstTaken);
        build.errorCode = 20;
        return;
    }
    for (std::int64_t j = 0; j < 4; ++j) {
        TrackCell& marker = build.cell(markers - j);
        marker.kind = kWarningMarker;
        marker.value1 = lowBits16(j + 1);
        if (d_v != 0) marker.value2 = lowBits16(j + 1);
    }
}

namespace train {
namespace {

// After a signal or a slow order: any error stops the pass, one left by the line pass included.
// Such an error is recorded again at this record, pointing back at the record that raised it.
RecordFlow stopOnError(ScenarioBuild& build, SourceInput& in, std::int32_t codeBefore,
                       std::int32_t position) {
    if (build.errorCode <= 0) return RecordFlow::Next;
    const bool leftBefore = build.errorCode == codeBefore && !build.errors.empty();
    const Location raisedAt = leftBefore ? build.errors.back().location : Location{};
    const RecordFlow flow = stopPass(in, build.errorCode, position);
    build.errors.back().related = raisedAt;
    return flow;
}

}  // namespace

// The signal's own cell; its approach cells may fall before the route start.
RecordFlow readSignalRecord(ScenarioBuild& build, SourceInput& in) {
    std::int32_t values[11];
    for (std::int32_t& value : values) value = in.reader().readLong();
    auto& [posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo] = values;
    if (beyondTable(build, posizione, kRecordMargin)) return endOutsideTable(in, posizione);
    if (!build.cellExists(cellAfter(posizione))) return endOutsideTable(in, posizione);
    const std::int32_t codeBefore = build.errorCode;
    memo_segnale(build, posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo);
    return stopOnError(build, in, codeBefore, posizione);
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

RecordFlow readSlowOrderRecord(ScenarioBuild& build, SourceInput& in) {
    std::int32_t values[6];
    for (std::int32_t& value : values) value = in.reader().readLong();
    auto& [x, v, l, f_tt, f_ta, d_v] = values;
    if (beyondTable(build, x, kRecordMargin)) return endOutsideTable(in, x);
    if (!slowOrderFitsTable(build, x, l, f_ta)) return endOutsideTable(in, x);
    const std::int32_t codeBefore = build.errorCode;
    memo_rallentamento(build, x, v, l, f_tt, f_ta, d_v);
    return stopOnError(build, in, codeBefore, x);
}

// A speed-cut point stands in the cell of its position, without the offset of signals.
RecordFlow readSpeedCutRecord(ScenarioBuild& build, SourceInput& in) {
    const std::int32_t position = in.reader().readLong();
    const std::int32_t speed = in.reader().readLong();
    if (beyondTable(build, position, kRecordMargin)) return endOutsideTable(in, position);
    const std::int64_t index = cellAt(position);
    if (!build.cellExists(index)) return endOutsideTable(in, position);
    if (!build.isFree(index)) {
        noteErrorCells(build, index);
        return stopPass(in, 7, position);
    }
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
