// Reads the train source file into the track model: the train's data and clock, the speed-limit
// and adhesion profiles, stations, signals, slow orders and speed-cut points.
#include <cstdint>

#include "compiler/conversions.h"
#include "compiler/track_model.h"
#include "compiler/train_records.h"
#include "output/file_store.h"
#include "source/code_page.h"

namespace scenario {
namespace train {

bool failsRangeTest(const ScenarioBuild& build, std::int32_t position, std::int32_t margin) {
    return static_cast<double>(build.lastCellIndex) <
           (static_cast<double>(position) + static_cast<double>(margin)) / 50.0;
}

RecordFlow endOutsideTable(ScenarioBuild& build, std::int32_t position) {
    build.recordError(15, position);
    return RecordFlow::EndLoop;
}

namespace {

void closeAndDeleteSource(ScenarioBuild& build) {
    build.closeSource();
    build.files().remove(build.identity().trainSourceFile());
}

}  // namespace

RecordFlow errorExit(ScenarioBuild& build, std::int32_t code) {
    build.recordError(code);
    closeAndDeleteSource(build);
    return RecordFlow::Exit;
}

RecordFlow errorExit(ScenarioBuild& build, std::int32_t code, std::int32_t position) {
    build.recordError(code, position);
    closeAndDeleteSource(build);
    return RecordFlow::Exit;
}

namespace {

std::uint8_t speedLimitValue(std::int32_t speed) {
    return checkedByte(roundToWhole(static_cast<double>(speed) / 5.0));
}

RecordFlow readBrakedMass(ScenarioBuild& build) {
    build.stationTable[84].platformStart = build.source().readLong();
    return RecordFlow::Next;
}

RecordFlow readCarCount(ScenarioBuild& build) {
    build.stationTable[84].position = build.source().readLong();
    return RecordFlow::Next;
}

RecordFlow readClock(ScenarioBuild& build) {
    StationRecord& clock = build.stationTable[86];
    clock.groupB1 = build.source().readInteger();
    clock.groupB2 = build.source().readInteger();
    clock.groupB3 = build.source().readInteger();
    return RecordFlow::Next;
}

RecordFlow readSand(ScenarioBuild& build) {
    build.stationTable[86].groupA1 = build.source().readInteger();
    return RecordFlow::Next;
}

// The previous record's speed runs up to the cell before this one's. The loop tests its end after
// the write, so a record at or behind the cursor still writes one cell.
RecordFlow readSpeedRecord(ScenarioBuild& build) {
    const std::int32_t position = build.source().readLong();
    const std::int32_t speed = build.source().readLong();
    if (failsRangeTest(build, position, kRecordMargin)) return endOutsideTable(build, position);
    const std::int64_t until = cellAt(position);
    if (until > 0) {
        do {
            if (build.speedCursor >= build.lastCellIndex) break;
            build.cell(build.speedCursor).speedLimit = speedLimitValue(build.currentSpeed);
            ++build.speedCursor;
        } while (build.speedCursor < until);
    }
    build.currentSpeed = speed;
    return RecordFlow::Next;
}

// As the speed profile, except that this loop may write the table's last cell.
RecordFlow readAdhesionRecord(ScenarioBuild& build) {
    const std::int32_t position = build.source().readLong();
    const std::int32_t adhesion = build.source().readLong();
    if (failsRangeTest(build, position, kRecordMargin)) return endOutsideTable(build, position);
    const std::int64_t until = cellAt(position);
    if (until > 0) {
        do {
            if (!build.cellExists(build.adhesionCursor)) break;
            build.cell(build.adhesionCursor).adhesion = lowBits8(build.currentAdhesion);
            ++build.adhesionCursor;
        } while (build.adhesionCursor < until);
    }
    build.currentAdhesion = adhesion;
    return RecordFlow::Next;
}

struct KeywordTest {
    const char* keyword;
    const char* alsoNeeded;  // nullptr when one keyword is enough
    RecordFlow (*read)(ScenarioBuild&);
};

// Every test is made on every first field, in this order: a field holding two keywords reads
// two records.
constexpr KeywordTest kKeywordTests[] = {
    {"massa", "frenata", readBrakedMass},
    {"vetture", nullptr, readCarCount},
    {"velocit", nullptr, readSpeedRecord},
    {"aderenza", nullptr, readAdhesionRecord},
    {"orologio", nullptr, readClock},
    {"sabbia", nullptr, readSand},
    {"segnale", nullptr, readSignalRecord},
    {"rallentamento", nullptr, readSlowOrderRecord},
    {"abbattimento", nullptr, readSpeedCutRecord},
    {"stazione", nullptr, readStationRecord},
};

RecordFlow readRecordsOf(ScenarioBuild& build, const std::string& field) {
    for (const KeywordTest& test : kKeywordTests) {
        if (!containsNoCase(field, test.keyword)) continue;
        if (test.alsoNeeded != nullptr && !containsNoCase(field, test.alsoNeeded)) continue;
        const RecordFlow flow = test.read(build);
        if (flow != RecordFlow::Next) return flow;
    }
    return RecordFlow::Next;
}

// An empty file has no field to read, so the end is tested before each read as well as after.
void skipToGeneralSection(ScenarioBuild& build) {
    while (!build.sourceAtEnd()) {
        build.readFirstField();
        if (containsNoCase(build.currentLine, "[generale]")) return;
        build.noteMisplacedKeyword(SourcePlace::TrainPreamble);
    }
}

// Reads the next first field into currentLine, passing over at most two comment fields; false at
// the end of the file. The field that exhausts the file is never examined.
bool readNextFirstField(ScenarioBuild& build) {
    if (build.sourceAtEnd()) return false;
    build.readFirstField();
    for (int skipped = 0; skipped < 2; ++skipped) {
        if (build.sourceAtEnd() || !contains(build.currentLine, "-")) break;
        build.readFirstField();
    }
    return !build.sourceAtEnd();
}

RecordFlow readRecords(ScenarioBuild& build) {
    while (readNextFirstField(build)) {
        const std::string field = build.currentLine;
        build.noteMisplacedKeyword(SourcePlace::TrainRecords);
        const RecordFlow flow = readRecordsOf(build, field);
        if (flow != RecordFlow::Next) return flow;
    }
    return RecordFlow::EndLoop;
}

// The last three cells keep their value unless a cursor had already reached them.
void fillProfiles(ScenarioBuild& build) {
    const std::int32_t fillEnd = build.lastCellIndex - 2;
    do {
        if (build.cellExists(build.speedCursor))
            build.cell(build.speedCursor).speedLimit = speedLimitValue(build.currentSpeed);
        ++build.speedCursor;
    } while (build.speedCursor < fillEnd);
    do {
        if (build.cellExists(build.adhesionCursor))
            build.cell(build.adhesionCursor).adhesion = lowBits8(build.currentAdhesion);
        ++build.adhesionCursor;
    } while (build.adhesionCursor < fillEnd);
}

// The kilometre posts of the line pass must stand on whole cells.
void checkKilometrePosts(ScenarioBuild& build) {
    build.innerCursor = 0;
    for (build.cursor = 81; build.cursor <= 83; ++build.cursor) {
        const StationRecord& post = build.stationTable[static_cast<std::size_t>(build.cursor)];
        if (post.platformStart % 50 != 0 || post.platformEnd % 50 != 0) build.innerCursor = 1;
    }
    if (build.innerCursor > 0) build.recordModelError(2, build.errorPosition);
}

}  // namespace
}  // namespace train

void ScenarioBuild::trainPass() {
    openSource(identity().trainSourceFile());
    train::skipToGeneralSection(*this);
    if (train::readRecords(*this) == train::RecordFlow::Exit) return;
    train::closeAndDeleteSource(*this);
    train::fillProfiles(*this);
    train::checkKilometrePosts(*this);
}

}  // namespace scenario
