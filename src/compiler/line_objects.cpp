// The line pass's placements: the kilometre-post ordering, the tunnels with their markers, and
// the maximum-speed board groups.
#include <algorithm>
#include <array>
#include <cstdint>

#include "base/conversions.h"
#include "compiler/line_pass.h"
#include "compiler/pass_common.h"

namespace scenario {
namespace {

constexpr const char* kBoardValue = "a speed board's value (20 x first speed + second speed / 5)";

struct KilometrePost {
    std::int32_t position = 0;
    std::int32_t reference = 0;
    std::int32_t flag = 0;
};

KilometrePost postIn(const StationRecord& entry) {
    return {entry.platformStart, entry.platformEnd, entry.position};
}

void putPost(StationRecord& entry, const KilometrePost& post) {
    entry.platformStart = post.position;
    entry.platformEnd = post.reference;
    entry.position = post.flag;
}

}  // namespace

void progressive_ordina(ScenarioBuild& build) {
    const KilometrePost t = postIn(build.kilometrePost(1));
    const KilometrePost d = postIn(build.kilometrePost(2));
    const KilometrePost u = postIn(build.kilometrePost(3));
    const KilometrePost none;
    std::array<KilometrePost, 3> order{none, none, none};

    const std::int64_t sum = std::int64_t{t.position} + d.position + u.position;
    if (sum != 0) {
        // The largest position goes first; a shared largest position clears all three.
        if (t.position > d.position && t.position > u.position)
            order = d.position > u.position ? std::array{t, d, u} : std::array{t, u, d};
        else if (d.position > t.position && d.position > u.position)
            order = t.position > u.position ? std::array{d, t, u} : std::array{d, u, t};
        else if (u.position > t.position && u.position > d.position)
            order = t.position > d.position ? std::array{u, t, d} : std::array{u, d, t};
    } else {
        // Every position 0: the records with a reference value decide, the last one winning.
        if (t.reference > 0) order = {t, d, u};
        if (d.reference > 0) order = {d, t, u};
        if (u.reference > 0) order = {u, d, t};
    }

    for (int i = 0; i < 3; ++i) {
        StationRecord& entry = build.kilometrePost(1 + i);
        putPost(entry, order[static_cast<std::size_t>(i)]);
    }
    for (int i = kFirstKilometrePostSlot; i <= kLastKilometrePostSlot; ++i) {
        StationRecord& entry = build.stationTable[static_cast<std::size_t>(i)];
        if (entry.position == 1)
            entry.platformEnd = checkedLong(std::int64_t{entry.platformEnd} + 100,
                                            "the kilometre post's reference value plus 100");
    }
}

void memo_montagna(ScenarioBuild& build, std::int32_t inizio, std::int32_t fine,
                   std::int32_t& tipo) {
    build.innerCursor = 0;
    if (tipo > 10) {
        tipo -= 10;
        build.innerCursor = 1;
    }

    // The lists are read only by the 150 m rule; past 80 tunnels their last slot holds the
    // latest tunnel, which is all that rule needs.
    ++build.tunnelCount;
    const auto slot = static_cast<std::size_t>(std::clamp(build.tunnelCount, 0, kTunnelSlots));
    const auto previous =
        static_cast<std::size_t>(std::clamp(build.tunnelCount - 1, 0, kTunnelSlots));
    const std::int32_t previousEnd = build.tunnelEnds[previous];
    build.tunnelStarts[slot] = inizio;
    build.tunnelEnds[slot] = fine;
    if (build.tunnelCount > 1 && std::int64_t{inizio} - previousEnd <= 150) tipo = 3;

    // Cells outside the table are skipped; the marker count still runs from the first cell.
    const std::int64_t first = cellAt(inizio);
    const std::int64_t last = roundToWhole(static_cast<double>(fine) / kCellLength - 1.0);
    const std::int64_t from = std::max<std::int64_t>(first, 0);
    const std::int64_t to = std::min<std::int64_t>(last, std::int64_t(build.trackCells.size()) - 1);
    for (std::int64_t i = from; i <= to; ++i) {
        TrackCell& c = build.cell(i);
        c.tunnelKind = lowBits8(tipo);
        const std::int64_t count = i - first + 1;
        if (build.innerCursor == 1 && count % 4 == 0 && c.kind == kEmptyCell)
            c.kind = kTunnelMarker;
    }
    build.cursor = lowBits32(first <= last ? last + 1 : first);
}

void memo_indicatori_v_max(ScenarioBuild& build, std::int32_t posizione, std::int32_t vas,
                           std::int32_t vbs, std::int32_t vcs, std::int32_t strisces,
                           std::int32_t vad, std::int32_t vbd, std::int32_t vcd,
                           std::int32_t strisced) {
    const std::int64_t c = cellAfter(posizione);
    TrackCell& board = build.cell(c);  // the line pass keeps c inside the table
    if (!build.isFree(c)) {
        noteErrorCells(build, c);
        build.errorCode = 21;
        return;
    }
    board.kind = kSpeedBoard;
    board.value1 = checkedInteger(roundToWhole(vad / 5.0 + 20.0 * vas), kBoardValue);
    board.value2 = checkedInteger(roundToWhole(vbd / 5.0 + 20.0 * vbs), kBoardValue);
    board.value3 = checkedInteger(roundToWhole(vcd / 5.0 + 20.0 * vcs), kBoardValue);
    board.value4 = lowBits16(10 * std::int64_t{strisces} + strisced);
}

}  // namespace scenario
