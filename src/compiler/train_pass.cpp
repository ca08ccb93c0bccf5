// Reads the train source file into the track model: the train's data and clock, the speed-limit
// and adhesion profiles, stations, signals, slow orders and speed-cut points.
#include "compiler/train_pass.h"

#include <cstdint>
#include <string>

#include "base/code_page.h"
#include "base/conversions.h"
#include "compiler/pass_common.h"
#include "compiler/train_records.h"

namespace scenario {
namespace train {

namespace {

std::uint8_t speedLimitValue(std::int32_t speed) {
    const std::int64_t fifths = roundToWhole(static_cast<double>(speed) / 5.0);
    if (fifths >= 0 && fifths <= UINT8_MAX) return static_cast<std::uint8_t>(fifths);
    throw RunTimeFailure("the speed limit " + std::to_string(speed) +
                         " km/h does not fit: it is kept as speed / 5 in 0 to 255, so -2 to "
                         "1277 km/h");
}

RecordFlow readBrakedMass(ScenarioBuild& build, SourceInput& in) {
    build.trainData().platformStart = in.reader().readLong();
    return RecordFlow::Next;
}

RecordFlow readCarCount(ScenarioBuild& build, SourceInput& in) {
    build.trainData().position = in.reader().readLong();
    return RecordFlow::Next;
}

RecordFlow readClock(ScenarioBuild& build, SourceInput& in) {
    StationRecord& clock = build.trainEntry();
    clock.groupB1 = in.reader().readInteger();
    clock.groupB2 = in.reader().readInteger();
    clock.groupB3 = in.reader().readInteger();
    return RecordFlow::Next;
}

RecordFlow readSand(ScenarioBuild& build, SourceInput& in) {
    build.trainEntry().groupA1 = in.reader().readInteger();
    return RecordFlow::Next;
}

// The previous record's speed runs up to the cell before this one's. The loop tests its end after
// the write, so a record at or behind the cursor still writes one cell.
RecordFlow readSpeedRecord(ScenarioBuild& build, SourceInput& in) {
    const std::int32_t position = in.reader().readLong();
    const std::int32_t speed = in.reader().readLong();
    if (beyondTable(build, position, kRecordMargin)) return endOutsideTable(in, position);
    const std::int64_t until = cellAt(position);
    if (until > 0)
        fillProfile(build, &TrackCell::speedLimit, build.speedCursor, until, build.lastCellIndex,
                    [&build] { return speedLimitValue(build.currentSpeed); });
    build.currentSpeed = speed;
    return RecordFlow::Next;
}

// As the speed profile, except that this loop may write the table's last cell.
RecordFlow readAdhesionRecord(ScenarioBuild& build, SourceInput& in) {
    const std::int32_t position = in.reader().readLong();
    const std::int32_t adhesion = in.reader().readLong();
    if (beyondTable(build, position, kRecordMargin)) return endOutsideTable(in, position);
    const std::int64_t until = cellAt(position);
    if (until > 0)
        fillProfile(build, &TrackCell::adhesion, build.adhesionCursor, until, cellCount(build),
                    [&build] { return lowBits8(build.currentAdhesion); });
    build.currentAdhesion = adhesion;
    return RecordFlow::Next;
}

RecordFlow readRecord(ScenarioBuild& build, SourceInput& in, RecordId id) {
    switch (id) {
        case RecordId::BrakedMass:
            return readBrakedMass(build, in);
        case RecordId::CarCount:
            return readCarCount(build, in);
        case RecordId::SpeedLimit:
            return readSpeedRecord(build, in);
        case RecordId::Adhesion:
            return readAdhesionRecord(build, in);
        case RecordId::Clock:
            return readClock(build, in);
        case RecordId::Sand:
            return readSand(build, in);
        case RecordId::Signal:
            return readSignalRecord(build, in);
        case RecordId::SlowOrder:
            return readSlowOrderRecord(build, in);
        case RecordId::SpeedCut:
            return readSpeedCutRecord(build, in);
        case RecordId::Station:
            return readStationRecord(build, in);
        default:
            return RecordFlow::Next;
    }
}

// The pass as the walker's visitor.
struct TrainReading {
    ScenarioBuild& build;
    SourceInput& in;

    RecordFlow examine(SourcePlace place, std::string_view field) {
        in.noteMisplacedKeyword(place);
        if (place != SourcePlace::TrainRecords) return RecordFlow::Next;
        return readRecordsNamedBy(field, trainRecords(), RecordSection::Train,
                                  [&](const RecordSpec& r) { return readRecord(build, in, r.id); });
    }
    void generalStarts() {}
    void routeStarts() {}
};

// The last three cells keep their value unless a cursor had already reached them.
void fillProfiles(ScenarioBuild& build) {
    const std::int32_t fillEnd = build.lastCellIndex - 2;
    fillProfile(build, &TrackCell::speedLimit, build.speedCursor, fillEnd, cellCount(build),
                [&build] { return speedLimitValue(build.currentSpeed); });
    fillProfile(build, &TrackCell::adhesion, build.adhesionCursor, fillEnd, cellCount(build),
                [&build] { return lowBits8(build.currentAdhesion); });
}

// The kilometre posts of the line pass must stand on whole cells.
void checkKilometrePosts(ScenarioBuild& build) {
    build.innerCursor = 0;
    for (build.cursor = kFirstKilometrePostSlot; build.cursor <= kLastKilometrePostSlot;
         ++build.cursor) {
        const StationRecord& post = build.stationTable[static_cast<std::size_t>(build.cursor)];
        if (post.platformStart % kCellLength != 0 || post.platformEnd % kCellLength != 0)
            build.innerCursor = 1;
    }
    if (build.innerCursor > 0) recordModelError(build, 2, build.errorPosition);
}

}  // namespace
}  // namespace train

void trainPass(ScenarioBuild& build, SourceInput& in) {
    in.open(build.identity().trainSourceFile());
    train::TrainReading reading{build, in};
    if (walkRecords(in, WalkedFile::Train, reading) == WalkEnd::Stopped) return;
    in.closeAndDelete();
    train::fillProfiles(build);
    train::checkKilometrePosts(build);
}

}  // namespace scenario
