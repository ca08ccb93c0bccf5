// The line pass: reads the line source file into the track model (route length, kilometre posts,
// backgrounds, signal repetition, then gradients, curves, tunnels, speed boards and signs).
#include "compiler/line_pass.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "base/code_page.h"
#include "base/conversions.h"
#include "base/failures.h"
#include "compiler/line_plan_steps.h"
#include "compiler/pass_common.h"

namespace scenario {
namespace {

constexpr std::int32_t kLongestRoute = 1000000;
constexpr std::int32_t kPlanCursorLimit = 1000000;
constexpr double kLowStep = 0.015;

// --- The general section --------------------------------------------------------------------

bool readRouteLength(ScenarioBuild& b, SourceInput& in) {
    std::int32_t& length = b.routeLength();
    length = in.reader().readLong();
    if (length < 0 || length > kLongestRoute) {
        stopPass(in, 1);
        return false;
    }
    b.planLength = length + kRouteTail;
    b.lastCellIndex = lowBits32(cellAt(b.planLength));
    b.trackCells = std::vector<TrackCell>(static_cast<std::size_t>(b.lastCellIndex) + 1);
    if (b.buildLinePlan != 0) b.linePlan.create(b.planLength);
    return true;
}

void readKilometrePost(StationRecord& post, FieldReader& fields) {
    post.platformStart = fields.readLong();
    post.platformEnd = fields.readLong();
    post.position = fields.readLong();
}

bool readSignalRepetition(ScenarioBuild& b, SourceInput& in) {
    StationRecord& train = b.trainEntry();
    train.platformStart = in.reader().readLong();
    train.platformEnd = in.reader().readLong();
    if (train.platformStart % kCellLength != 0) {
        stopPass(in, 3);
        return false;
    }
    if (train.platformEnd % kCellLength != 0) {
        stopPass(in, 4);
        return false;
    }
    if (contains(b.currentLine, "4")) {
        train.position = 4;
    } else if (contains(b.currentLine, "9")) {
        train.position = 9;
    } else {
        stopPass(in, 5);
        return false;
    }
    if (train.platformEnd == 0) train.position = 0;
    return true;
}

RecordFlow readGeneralRecord(ScenarioBuild& b, SourceInput& in, RecordId id) {
    FieldReader& fields = in.reader();
    switch (id) {
        case RecordId::RouteLength:
            return readRouteLength(b, in) ? RecordFlow::Next : RecordFlow::Exit;
        case RecordId::KilometrePostThree:
            readKilometrePost(b.kilometrePost(1), fields);
            break;
        case RecordId::KilometrePostTwo:
            readKilometrePost(b.kilometrePost(2), fields);
            break;
        case RecordId::KilometrePostOne:
            readKilometrePost(b.kilometrePost(3), fields);
            break;
        case RecordId::BackgroundOne:
            b.scenarioEntry().platformStart = fields.readLong();
            break;
        case RecordId::BackgroundTwo:
            b.scenarioEntry().position = fields.readLong();
            break;
        case RecordId::BackgroundThree:
            b.scenarioEntry().platformEnd = fields.readLong();
            break;
        case RecordId::SignalRepetition:
            return readSignalRepetition(b, in) ? RecordFlow::Next : RecordFlow::Exit;
        default:
            break;
    }
    return RecordFlow::Next;
}

void startRouteRecords(ScenarioBuild& b) {
    progressive_ordina(b);
    b.tunnelCount = 0;
    b.signSlot = kFirstSignSlot;
    b.gradientCursor = 0;
    b.planCursor = 2;
    if (b.trackCells.empty()) throw RunTimeFailure("the line has no route length record");
    if (b.buildLinePlan != 0) b.linePlan.seed();
}

// --- The route records ----------------------------------------------------------------------

// Writes the current gradient from the cursor on, at least one cell, never past the table.
void fillGradient(ScenarioBuild& b, std::int64_t below) {
    fillProfile(b, &TrackCell::gradient, b.gradientCursor, below, cellCount(b),
                [&b] { return lowBits8(std::int64_t{b.currentGradient} + 100); });
}

RecordFlow readGradient(ScenarioBuild& b, SourceInput& in) {
    const std::int32_t p = in.reader().readLong();
    const std::int32_t g = in.reader().readLong();
    if (beyondTable(b, p, kRecordMargin)) return endOutsideTable(in, p);
    const std::int64_t k = cellAt(p);
    if (k > 0) fillGradient(b, k);
    b.currentGradient = g;
    return RecordFlow::Next;
}

// One step of a curve record's plan; false after error 103.
bool takeCurveRecordStep(ScenarioBuild& b, SourceInput& in, bool straight, double curvature) {
    const double d1 = straight ? straightPlanStep(b.linePlan, b.planCursor)
                               : curvePlanStep(b.linePlan, b.planCursor, curvature);
    ++b.planCursor;
    if (b.planCursor > kPlanCursorLimit) {
        stopPass(in, 103);
        return false;
    }
    if (d1 < kLowStep && b.lowStepMetre == 0) b.lowStepMetre = b.planCursor;
    return true;
}

// Steps the plan on to metre `last`, the cursor then past it; false after error 103. The metres
// that can end in no error are made in one run.
bool stepPlanTo(ScenarioBuild& b, SourceInput& in, std::int64_t last, bool curve,
                double curvature) {
    const std::int64_t run =
        std::min({last, std::int64_t{kPlanCursorLimit} - 1, std::int64_t{b.linePlan.upperBound()}});
    if (b.planCursor >= 2 && b.planCursor <= run && b.planCursor == b.linePlan.doubleEnd()) {
        const auto to = static_cast<std::int32_t>(run);
        const std::int32_t low =
            curve ? planStepRun<true>(b.linePlan, b.planCursor, to, curvature, kLowStep)
                  : planStepRun<false>(b.linePlan, b.planCursor, to, 0.0, kLowStep);
        if (low != 0 && b.lowStepMetre == 0) b.lowStepMetre = low;
        b.planCursor = to + 1;
    }
    while (b.planCursor <= last)
        if (!takeCurveRecordStep(b, in, !curve, curvature)) return false;
    return true;
}

// Curves are read only when the plan is built.
RecordFlow readCurve(ScenarioBuild& b, SourceInput& in) {
    if (b.buildLinePlan == 0) return RecordFlow::Next;
    const std::int32_t p = in.reader().readLong();
    const std::int32_t n = in.reader().readLong();
    if (beyondTable(b, p, kRecordMargin)) return endOutsideTable(in, p);
    // The range test keeps p itself well inside the plan; the curve's end must be too.
    const std::int64_t end = std::int64_t{p} + n;
    if (end > std::int64_t{b.planLength} - 2) return endOutsideTable(in, p);

    const std::optional<CurveReading> curve = readCurveField(b.currentLine);
    if (!curve) return stopPass(in, 103);
    // A left curve turns the other way.
    double curvature = kCurveTurns[curve->curveClass - 1];
    if (curve->left) curvature = -curvature;

    if (!stepPlanTo(b, in, p, false, 0.0)) return RecordFlow::Exit;
    if (!stepPlanTo(b, in, end, true, curvature)) return RecordFlow::Exit;
    return RecordFlow::Next;
}

RecordFlow readTunnel(ScenarioBuild& b, SourceInput& in) {
    const std::int32_t inizio = in.reader().readLong();
    const std::int32_t fine = in.reader().readLong();
    std::int32_t tipo = in.reader().readLong();
    if (beyondTable(b, inizio, kRecordMargin)) return endOutsideTable(in, inizio);
    memo_montagna(b, inizio, fine, tipo);
    return RecordFlow::Next;
}

RecordFlow readSpeedBoard(ScenarioBuild& b, SourceInput& in) {
    std::int32_t v[9];
    for (std::int32_t& value : v) value = in.reader().readLong();
    const std::int32_t posizione = v[0];
    if (beyondTable(b, posizione, kRecordMargin)) return endOutsideTable(in, posizione);
    if (!b.cellExists(cellAfter(posizione))) return endOutsideTable(in, posizione);
    memo_indicatori_v_max(b, posizione, v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
    if (b.errorCode <= 0) return RecordFlow::Next;
    return stopPass(in, b.errorCode, posizione);
}

RecordFlow readSign(ScenarioBuild& b, SourceInput& in) {
    const std::int32_t p = in.reader().readLong();
    b.currentLine = in.reader().readNameView();
    if (beyondTable(b, p, kRecordMargin)) return endOutsideTable(in, p);
    const std::int64_t c = cellAfter(p);
    if (!b.cellExists(c)) return endOutsideTable(in, p);
    if (!b.isFree(c)) {
        noteErrorCells(b, c);
        return stopPass(in, 6, p);
    }
    // Sign texts fill the station table downwards from 80; entry 0 is never written.
    if (b.signSlot < 1) return stopPass(in, 14, p);
    TrackCell& sign = b.cell(c);
    sign.kind = kSign;
    sign.value1 = lowBits16(b.signSlot);
    b.stationTable[static_cast<std::size_t>(b.signSlot)].name = b.currentLine;
    --b.signSlot;
    return RecordFlow::Next;
}

RecordFlow readRouteRecord(ScenarioBuild& b, SourceInput& in, RecordId id) {
    switch (id) {
        case RecordId::Gradient:
            return readGradient(b, in);
        case RecordId::Curve:
            return readCurve(b, in);
        case RecordId::Tunnel:
            return readTunnel(b, in);
        case RecordId::SpeedBoards:
            return readSpeedBoard(b, in);
        case RecordId::Sign:
            return readSign(b, in);
        default:
            return RecordFlow::Next;
    }
}

// The pass as the walker's visitor: misplaced keywords are noted where each field stands.
struct LineReading {
    ScenarioBuild& b;
    SourceInput& in;

    RecordFlow examine(SourcePlace place, std::string_view field) {
        in.noteMisplacedKeyword(place);
        if (place == SourcePlace::LineGeneral)
            return readRecordsNamedBy(
                field, lineRecords(), RecordSection::LineGeneral,
                [&](const RecordSpec& r) { return readGeneralRecord(b, in, r.id); });
        if (place != SourcePlace::LineRoute) return RecordFlow::Next;
        // The sign record comes last in the table because it replaces currentLine.
        return readRecordsNamedBy(
            field, lineRecords(), RecordSection::LineRoute,
            [&](const RecordSpec& r) { return readRouteRecord(b, in, r.id); });
    }
    void generalStarts() {}
    void routeStarts() { startRouteRecords(b); }
};

// --- The end of the pass --------------------------------------------------------------------

// The last three cells keep gradient 0 unless the cursor had already passed them.
void finishLinePass(ScenarioBuild& b, SourceInput& in) {
    in.closeAndDelete();
    fillGradient(b, std::int64_t{b.lastCellIndex} - 2);
    if (b.buildLinePlan == 0) return;
    // The plan's last two metres stay empty.
    const std::int64_t last = std::int64_t{b.planLength} - 2;
    if (b.planCursor >= 2 && b.planCursor <= last && b.planCursor == b.linePlan.doubleEnd()) {
        planStepRun<false>(b.linePlan, b.planCursor, static_cast<std::int32_t>(last), 0.0, 0.0);
        b.planCursor = static_cast<std::int32_t>(last) + 1;
    }
    while (b.planCursor <= last) {
        straightPlanStep(b.linePlan, b.planCursor);
        ++b.planCursor;
    }
}

}  // namespace

bool linePass(ScenarioBuild& b, SourceInput& in) {
    const std::string fileName = b.identity().lineSourceFile();
    if (!in.files().exists(fileName)) {
        in.recordMissingFile(101, fileName);
        return false;
    }
    in.open(fileName);

    LineReading reading{b, in};
    const WalkEnd end = walkRecords(in, WalkedFile::Line, reading);
    if (end == WalkEnd::NoGeneral) {
        stopPass(in, 102);
        return false;
    }
    if (end == WalkEnd::Stopped) return false;
    finishLinePass(b, in);
    return true;
}

}  // namespace scenario
