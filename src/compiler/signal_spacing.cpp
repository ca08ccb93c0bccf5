// The signal-spacing pass: speed-cut points before signals that stand shortly before a slow
// order's warning board, in three windows before every slow order's start, every 400 m inside a
// slow order under 110 km/h, and before the first signal after its end board.
#include "compiler/signal_spacing.h"

#include <cstdint>
#include <initializer_list>

#include "compiler/pass_common.h"

namespace scenario {
namespace {

constexpr std::int16_t kCutPointSpeed = 180;
constexpr std::int16_t kWalkSpeedLimit = 110;
constexpr std::int32_t kWalkStep = 8;        // cells between points inside a slow order
constexpr std::int32_t kLookBack = 20;       // cells searched for signals before a board
constexpr std::int32_t kLowestLookBack = 3;  // keeps t - 2 at cell 1 or above
constexpr std::int32_t kForwardSearch = 12;  // cells searched past the end board

// The smaller of the two, and x when they are equal.
std::int16_t minimo(std::int16_t x, std::int16_t y) {
    return x > y ? y : x;
}

void placeCutPoint(ScenarioBuild& build, std::int64_t index) {
    TrackCell& c = build.cell(index);
    c.kind = kSpeedCut;
    c.value1 = kCutPointSpeed;
}

// Places a point at the first free cell of the list; false when none is free.
bool placeAtFirstFree(ScenarioBuild& build, std::initializer_list<std::int64_t> cells) {
    for (std::int64_t index : cells) {
        if (!build.isFree(index)) continue;
        placeCutPoint(build, index);
        return true;
    }
    return false;
}

// These errors belong to no source record, so no file or line goes with them; the watcher is
// told of the object each is about (`culprit`) and of another one involved, or -1.
void recordSpacingError(ScenarioBuild& build, std::int32_t code, std::int64_t cellIndex,
                        std::int64_t culprit, std::int64_t other) {
    noteErrorCells(build, culprit, other);
    recordModelError(build, code, positionOfCell(cellIndex));
}

// Every signal 1 to 20 cells before a warning board gets a point just before it.
void guardSignalsBeforeWarning(ScenarioBuild& build, std::int32_t i) {
    for (build.innerCursor = 1; build.innerCursor <= kLookBack; ++build.innerCursor) {
        const std::int32_t t = i - build.innerCursor;
        if (t < kLowestLookBack) return;
        if (!build.hasKind(t, kSignal)) continue;
        if (placeAtFirstFree(build, {t - 1, t - 2})) continue;
        if (build.hasKind(t - 1, kSpeedCut)) {
            TrackCell& c = build.cell(t - 1);
            c.value1 = minimo(kCutPointSpeed, c.value1);
        } else if (build.hasKind(t - 2, kSpeedCut)) {
            TrackCell& c = build.cell(t - 2);
            c.value1 = minimo(kCutPointSpeed, c.value1);
        } else {
            recordSpacingError(build, 11, t, t, i);
        }
    }
}

// The near, middle and far windows before a slow order's start each get a point.
void fillWindowsBeforeStart(ScenarioBuild& build, std::int32_t i) {
    // Each window tries i - near, then the two cells before it, and needs all three above 0.
    for (const std::int32_t near : {5, 11, 18}) {
        if (i <= near + 2) continue;
        if (!placeAtFirstFree(build, {i - near, i - near - 1, i - near - 2}))
            recordSpacingError(build, 12, i, i, -1);
    }
}

// A point every 8 cells from the start to the end board. The walk stops at the
// table's last cell `u` if no end board came first; the cell beyond it counts as taken.
void walkSlowOrder(ScenarioBuild& build, std::int32_t i, std::int32_t u) {
    build.walkCount = 0;
    build.innerCursor = i;
    while (true) {
        const std::int32_t k = ++build.innerCursor;
        ++build.walkCount;
        if (build.walkCount == kWalkStep) {
            if (build.isFree(k)) {
                placeCutPoint(build, k);
                build.walkCount = 0;
            } else if (build.isFree(k - 1)) {
                placeCutPoint(build, k - 1);
                build.walkCount = 1;
            } else if (build.isFree(k + 1)) {
                placeCutPoint(build, k + 1);
                build.walkCount = -1;
            } else {
                // The count stays at 8, so this walk places no further point.
                recordSpacingError(build, 13, k, i, -1);
            }
        }
        if (build.hasKind(k, kSlowOrderEnd) || k >= u) return;
    }
}

// Without a walk, the forward search starts from the slow order's end board; false when the
// table holds none after the start.
bool findEndBoard(ScenarioBuild& build, std::int32_t i, std::int32_t u) {
    for (std::int32_t k = i + 1; k <= u; ++k) {
        if (!build.hasKind(k, kSlowOrderEnd)) continue;
        build.innerCursor = k;
        return true;
    }
    return false;
}

// A point before the first signal within 12 cells of the walk's end.
void guardSignalAfterEnd(ScenarioBuild& build, std::int32_t i, std::int32_t u) {
    build.walkCount = 0;
    const std::int32_t from = build.innerCursor;
    const std::int32_t to = from + kForwardSearch < u ? from + kForwardSearch : u;
    for (build.scanIndex = from; build.scanIndex <= to; ++build.scanIndex) {
        if (!build.hasKind(build.scanIndex, kSignal)) continue;
        build.walkCount = build.scanIndex - 1;
        break;
    }
    if (build.walkCount <= 0) return;
    const std::int32_t w = build.walkCount;
    if (!placeAtFirstFree(build, {w, w - 1})) recordSpacingError(build, 13, from, i, w + 1);
}

void completeSlowOrder(ScenarioBuild& build, std::int32_t i, std::int32_t u) {
    fillWindowsBeforeStart(build, i);
    if (build.cell(i).value1 < kWalkSpeedLimit) {
        walkSlowOrder(build, i, u);
    } else if (!findEndBoard(build, i, u)) {
        return;
    }
    guardSignalAfterEnd(build, i, u);
}

}  // namespace

void signalSpacingPass(ScenarioBuild& build) {
    if (build.trackCells.empty()) return;
    const std::int32_t u = static_cast<std::int32_t>(build.trackCells.size()) - 1;
    for (build.cursor = 1; build.cursor <= u - 2; ++build.cursor) {
        if (build.trackCells[static_cast<std::size_t>(build.cursor)].kind == kSlowOrderWarning)
            guardSignalsBeforeWarning(build, build.cursor);
        if (build.trackCells[static_cast<std::size_t>(build.cursor)].kind == kSlowOrderStart)
            completeSlowOrder(build, build.cursor, u);
    }
}

}  // namespace scenario
