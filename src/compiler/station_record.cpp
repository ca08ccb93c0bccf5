// Reads a station record into the station table and gives the station its cell and approach codes.
#include <cstddef>
#include <cstdint>

#include "base/conversions.h"
#include "compiler/train_records.h"

namespace scenario::train {
namespace {

constexpr std::int32_t kMinimumSpacing = 350;
constexpr const char* kPlatformEdge = "the platform's start or end";

bool hasStationCell(const StationRecord& r) {
    return r.stationKind < kFirstStopWithoutCell;
}
bool hasApproachCodes(const StationRecord& r) {
    return hasStationCell(r) && r.stationKind != 5 && r.stationKind != 6;
}

// The station cell lies one cell before the platform end, the approach codes 1 to 4 cells before
// that.
double stationCellPoint(const StationRecord& r) {
    return static_cast<double>(r.platformEnd) / kCellLength - 1.0;
}

// Kinds 5 to 8 have a platform behind the position only, or on both sides of it by its full
// length, and never the extra 50 m of flagC.
void setPlatformExtent(StationRecord& r, std::int64_t length) {
    const std::int64_t position = r.position;
    switch (r.stationKind) {
        case 5:
        case 6:
            r.platformEnd = checkedLong(position + 150, kPlatformEdge);
            r.platformStart = checkedLong(position - length, kPlatformEdge);
            r.flagC = 0;
            return;
        case 7:
        case 8:
            r.platformStart = checkedLong(position - length, kPlatformEdge);
            r.platformEnd = checkedLong(position + length, kPlatformEdge);
            r.flagC = 0;
            return;
        default:
            break;
    }
    const double half = static_cast<double>(length) / 2.0;
    r.platformStart =
        checkedLong(roundToWhole(static_cast<double>(position) - half), kPlatformEdge);
    const std::int64_t end = roundToWhole(static_cast<double>(position) + half);
    r.platformEnd = checkedLong(end + (r.flagC != 0 ? 50 : 0), kPlatformEdge);
}

// The values are stored as they are read, so a record cut short keeps what came before the cut.
void readStationValues(FieldReader& in, StationRecord& r) {
    r.flagA = in.readByte();
    r.flagB = in.readByte();
    r.flagC = in.readByte();
    r.groupA1 = in.readInteger();
    r.groupA2 = in.readInteger();
    r.groupA3 = in.readByte();
    r.groupB1 = in.readInteger();
    r.groupB2 = in.readInteger();
    r.groupB3 = in.readInteger();
    r.dwellTime = in.readByte();
    const std::int64_t hours = in.readLong();
    const std::int64_t minutes = in.readLong();
    const std::int64_t seconds = in.readLong();
    r.departureTime = lowBits32((hours * 60 + minutes) * 60 + seconds);
    r.name = in.readNameView();
}

void writeApproachCodes(ScenarioBuild& build, const StationRecord& r) {
    for (build.innerCursor = 1; build.innerCursor <= 4; ++build.innerCursor) {
        const double point =
            static_cast<double>(r.platformEnd) / kCellLength - build.innerCursor - 1.0;
        if (point > 1.0)
            build.cell(roundToWhole(point)).approachCode = lowBits8(80 + build.innerCursor);
    }
}

}  // namespace

RecordFlow readStationRecord(ScenarioBuild& build, SourceInput& in) {
    // Entries above the sign slot hold sign texts, which a station must never overwrite.
    if (build.stationCounter < 1 || build.stationCounter > build.signSlot ||
        build.stationCounter > kFirstSignSlot)
        return stopPass(in, 10);
    StationRecord& r = build.stationTable[static_cast<std::size_t>(build.stationCounter)];
    FieldReader& fields = in.reader();

    r.position = fields.readLong();
    if (beyondTable(build, r.position, kStationMargin)) return endOutsideTable(in, r.position);
    if (r.position % kCellLength != 0) return stopPass(in, 8, r.position);
    r.stationKind = fields.readByte();
    build.cursor = fields.readLong();
    if (build.cursor % 100 != 0) return stopPass(in, 9, r.position);
    readStationValues(fields, r);

    setPlatformExtent(r, build.cursor);
    if (build.cursor < 600) r.flagB = 0;
    // After the extent: a flagC on station 1 still lengthens its platform.
    if (build.stationCounter == 1) {
        r.flagB = 0;
        r.flagC = 0;
    }

    const double cellPoint = stationCellPoint(r);
    if (hasStationCell(r) && cellPoint > 1.0 && !build.cellExists(roundToWhole(cellPoint)))
        return endOutsideTable(in, r.position);
    if (hasApproachCodes(r)) writeApproachCodes(build, r);
    if (hasStationCell(r)) {
        if (!(cellPoint > 1.0)) return stopPass(in, 24);
        // Written whatever the cell held: a station replaces a signal read before it.
        TrackCell& station = build.cell(roundToWhole(cellPoint));
        station.kind = kStation;
        station.value1 = lowBits16(build.stationCounter);
    }

    if (build.stationCounter > 1) {
        const StationRecord& previous =
            build.stationTable[static_cast<std::size_t>(build.stationCounter - 1)];
        if (std::int64_t{r.platformStart} - kMinimumSpacing < previous.platformEnd)
            return stopPass(in, 22, r.position);
    }
    ++build.stationCounter;
    if (build.stationCounter >= build.signSlot) return stopPass(in, 10);
    return RecordFlow::Next;
}

}  // namespace scenario::train
