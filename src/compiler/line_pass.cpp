// The line pass: reads the line source file into the track model (route length, kilometre posts,
// backgrounds, signal repetition, then gradients, curves, tunnels, speed boards and signs).
#include <string>
#include <string_view>

#include "compiler/conversions.h"
#include "compiler/failures.h"
#include "compiler/line_plan_steps.h"
#include "compiler/track_model.h"
#include "output/file_store.h"
#include "source/code_page.h"

namespace scenario {
namespace {

constexpr std::int32_t kLongestRoute = 1000000;
constexpr std::int32_t kPlanCursorLimit = 1000000;
constexpr double kLowStep = 0.015;
// Turn per metre of curve classes 1 to 6, the widest first.
constexpr double kCurvatures[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};

// How the reading goes on after a record.
enum class Next {
    Continue,
    EndReading,  // end of the file or error 15: the end of the pass runs, then the train pass
    Stop,        // any other error: the file is already deleted, the train pass does not run
};

void deleteLineSource(ScenarioBuild& b) {
    b.closeSource();
    b.files().remove(b.identity().lineSourceFile());
}

void stopWithError(ScenarioBuild& b, std::int32_t code) {
    deleteLineSource(b);
    b.recordError(code);
}

void stopWithError(ScenarioBuild& b, std::int32_t code, std::int32_t position) {
    deleteLineSource(b);
    b.recordError(code, position);
}

std::int32_t readLong(ScenarioBuild& b) {
    return b.source().readLong();
}

// --- Finding the start ----------------------------------------------------------------------

// The end-of-file test comes before each read as well, so an empty file is rejected the same way.
bool findGeneralSection(ScenarioBuild& b) {
    for (;;) {
        if (b.sourceAtEnd()) return false;
        b.readFirstField();
        if (b.sourceAtEnd()) return false;
        if (containsNoCase(b.currentLine, "[generale]")) return true;
        b.noteMisplacedKeyword(SourcePlace::LinePreamble);
    }
}

// --- The general section --------------------------------------------------------------------

bool readRouteLength(ScenarioBuild& b) {
    std::int32_t& length = b.stationTable[84].platformEnd;
    length = readLong(b);
    if (length < 0 || length > kLongestRoute) {
        stopWithError(b, 1);
        return false;
    }
    b.planLength = length + 7000;
    b.lastCellIndex = lowBits32(roundToWhole(b.planLength / 50.0));
    b.trackCells = std::vector<TrackCell>(static_cast<std::size_t>(b.lastCellIndex) + 1);
    if (b.buildLinePlan != 0) b.linePlan.create(b.planLength);
    return true;
}

void readKilometrePost(ScenarioBuild& b, std::size_t entry) {
    StationRecord& post = b.stationTable[entry];
    post.platformStart = readLong(b);
    post.platformEnd = readLong(b);
    post.position = readLong(b);
}

bool readSignalRepetition(ScenarioBuild& b) {
    StationRecord& train = b.stationTable[86];
    train.platformStart = readLong(b);
    train.platformEnd = readLong(b);
    if (train.platformStart % 50 != 0) {
        stopWithError(b, 3);
        return false;
    }
    if (train.platformEnd % 50 != 0) {
        stopWithError(b, 4);
        return false;
    }
    if (contains(b.currentLine, "4")) {
        train.position = 4;
    } else if (contains(b.currentLine, "9")) {
        train.position = 9;
    } else {
        stopWithError(b, 5);
        return false;
    }
    if (train.platformEnd == 0) train.position = 0;
    return true;
}

// Only the route length's keywords are case-free here; the others must be written in lower case.
bool readGeneralRecords(ScenarioBuild& b) {
    const std::string& field = b.currentLine;
    const std::string folded = toLowerText(field);
    if (contains(folded, "percorso") && contains(folded, "lunghezza") && !readRouteLength(b))
        return false;
    if (contains(field, "tre") && contains(field, "progressiva")) readKilometrePost(b, 81);
    if (contains(field, "due") && contains(field, "progressiva")) readKilometrePost(b, 82);
    if (contains(field, "uno") && contains(field, "progressiva")) readKilometrePost(b, 83);
    if (contains(field, "sfondo") && contains(field, "uno"))
        b.stationTable[85].platformStart = readLong(b);
    if (contains(field, "sfondo") && contains(field, "due"))
        b.stationTable[85].position = readLong(b);
    if (contains(field, "sfondo") && contains(field, "tre"))
        b.stationTable[85].platformEnd = readLong(b);
    if (contains(field, "segnali") && contains(field, "ripetizione"))
        return readSignalRepetition(b);
    return true;
}

bool endsGeneralSection(std::string_view field) {
    const std::size_t start = field.find_first_not_of(" \t");
    if (start != std::string_view::npos && field[start] == '-') return false;
    return contains(field, "[") && contains(field, "]");
}

// False after an error, which has already deleted the file.
bool readGeneralSection(ScenarioBuild& b) {
    for (;;) {
        if (b.sourceAtEnd()) return true;
        b.readFirstField();
        if (b.sourceAtEnd()) return true;
        // Comment runs here are read without the end-of-file test: a read past the end fails.
        for (int i = 0; i < 10 && contains(b.currentLine, "-"); ++i) b.readFirstField();
        b.noteMisplacedKeyword(SourcePlace::LineGeneral);
        if (!readGeneralRecords(b)) return false;
        if (endsGeneralSection(b.currentLine)) return true;
    }
}

void startRouteRecords(ScenarioBuild& b) {
    b.progressive_ordina();
    b.tunnelCount = 0;
    b.signSlot = kFirstSignSlot;
    b.gradientCursor = 0;
    b.planCursor = 2;
    if (b.trackCells.empty()) throw RunTimeFailure("the line has no route length record");
    if (b.buildLinePlan != 0) b.linePlan.seed();
}

// --- The route records ----------------------------------------------------------------------

// Positions up to 50 * lastCellIndex - 100 are inside the table.
bool outsideTable(const ScenarioBuild& b, std::int32_t position) {
    return b.lastCellIndex < (position + 100.0) / 50.0;
}

Next endOutsideTable(ScenarioBuild& b, std::int32_t position) {
    b.recordError(15, position);
    return Next::EndReading;
}

std::int64_t objectCell(std::int32_t position) {
    return roundToWhole(position / 50.0 + 1.0);
}

// Writes the current gradient from the cursor on, at least one cell, never past the table.
void fillGradient(ScenarioBuild& b, std::int64_t below) {
    do {
        if (!b.cellExists(b.gradientCursor)) return;
        b.cell(b.gradientCursor).gradient = lowBits8(std::int64_t{b.currentGradient} + 100);
        ++b.gradientCursor;
    } while (b.gradientCursor < below);
}

Next readGradient(ScenarioBuild& b) {
    const std::int32_t p = readLong(b);
    const std::int32_t g = readLong(b);
    if (outsideTable(b, p)) return endOutsideTable(b, p);
    const std::int64_t k = roundToWhole(p / 50.0);
    if (k > 0) fillGradient(b, k);
    b.currentGradient = g;
    return Next::Continue;
}

// One step of a curve record's plan; false after error 103.
bool takeCurveRecordStep(ScenarioBuild& b, bool straight, double curvature) {
    const double d1 = straight ? straightPlanStep(b.linePlan, b.planCursor)
                               : curvePlanStep(b.linePlan, b.planCursor, curvature);
    ++b.planCursor;
    if (b.planCursor > kPlanCursorLimit) {
        stopWithError(b, 103);
        return false;
    }
    if (d1 < kLowStep && b.lowStepMetre == 0) b.lowStepMetre = b.planCursor;
    return true;
}

Next readCurve(ScenarioBuild& b, const std::string& folded) {
    const std::int32_t p = readLong(b);
    const std::int32_t n = readLong(b);
    if (outsideTable(b, p)) return endOutsideTable(b, p);
    // The range test keeps p itself well inside the plan; the curve's end must be too.
    const std::int64_t end = std::int64_t{p} + n;
    if (end > std::int64_t{b.planLength} - 2) return endOutsideTable(b, p);

    const char* const digits[] = {"1", "2", "3", "4", "5", "6"};
    int curveClass = 0;
    while (curveClass < 6 && !contains(b.currentLine, digits[curveClass])) ++curveClass;
    if (curveClass == 6) {
        stopWithError(b, 103);
        return Next::Stop;
    }
    // A left curve ("s" anywhere, either case) turns the other way.
    double curvature = kCurvatures[curveClass];
    if (contains(folded, "s")) curvature = -curvature;

    while (b.planCursor <= p)
        if (!takeCurveRecordStep(b, true, 0)) return Next::Stop;
    while (b.planCursor <= end)
        if (!takeCurveRecordStep(b, false, curvature)) return Next::Stop;
    return Next::Continue;
}

Next readTunnel(ScenarioBuild& b) {
    const std::int32_t inizio = readLong(b);
    const std::int32_t fine = readLong(b);
    std::int32_t tipo = readLong(b);
    if (outsideTable(b, inizio)) return endOutsideTable(b, inizio);
    b.memo_montagna(inizio, fine, tipo);
    return Next::Continue;
}

Next readSpeedBoard(ScenarioBuild& b) {
    std::int32_t v[9];
    for (std::int32_t& value : v) value = readLong(b);
    const std::int32_t posizione = v[0];
    if (outsideTable(b, posizione)) return endOutsideTable(b, posizione);
    if (!b.cellExists(objectCell(posizione))) return endOutsideTable(b, posizione);
    b.memo_indicatori_v_max(posizione, v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
    if (b.errorCode <= 0) return Next::Continue;
    stopWithError(b, b.errorCode, posizione);
    return Next::Stop;
}

Next readSign(ScenarioBuild& b) {
    const std::int32_t p = readLong(b);
    b.currentLine = b.source().readName();
    if (outsideTable(b, p)) return endOutsideTable(b, p);
    const std::int64_t c = objectCell(p);
    if (!b.cellExists(c)) return endOutsideTable(b, p);
    if (!b.isFree(c)) {
        stopWithError(b, 6, p);
        return Next::Stop;
    }
    // Sign texts fill the station table downwards from 80; entry 0 is never written.
    if (b.signSlot < 1) {
        stopWithError(b, 14, p);
        return Next::Stop;
    }
    TrackCell& sign = b.cell(c);
    sign.kind = kSign;
    sign.value1 = lowBits16(b.signSlot);
    b.stationTable[static_cast<std::size_t>(b.signSlot)].name = b.currentLine;
    --b.signSlot;
    return Next::Continue;
}

// Every test is made on every first field, in this order; the sign record comes last because
// it replaces currentLine with the sign's text.
Next readRouteRecord(ScenarioBuild& b) {
    const std::string folded = toLowerText(b.currentLine);
    Next next = Next::Continue;
    if (contains(folded, "pendenza")) next = readGradient(b);
    if (next != Next::Continue) return next;
    if (contains(folded, "curva") && b.buildLinePlan != 0) next = readCurve(b, folded);
    if (next != Next::Continue) return next;
    if (contains(folded, "montagna")) next = readTunnel(b);
    if (next != Next::Continue) return next;
    if (contains(folded, "indicatori_v")) next = readSpeedBoard(b);
    if (next != Next::Continue) return next;
    if (contains(folded, "indicat") && contains(folded, "cartello")) next = readSign(b);
    return next;
}

// A first field after up to two comment fields; false at the end of the file.
bool readRecordField(ScenarioBuild& b) {
    if (b.sourceAtEnd()) return false;
    b.readFirstField();
    if (b.sourceAtEnd()) return false;
    for (int i = 0; i < 2 && contains(b.currentLine, "-"); ++i) {
        b.readFirstField();
        if (b.sourceAtEnd()) return false;
    }
    return true;
}

Next readRouteRecords(ScenarioBuild& b) {
    while (readRecordField(b)) {
        b.noteMisplacedKeyword(SourcePlace::LineRoute);
        const Next next = readRouteRecord(b);
        if (next != Next::Continue) return next;
    }
    return Next::EndReading;
}

// --- The end of the pass --------------------------------------------------------------------

// The last three cells keep gradient 0 unless the cursor had already passed them.
void finishLinePass(ScenarioBuild& b) {
    deleteLineSource(b);
    fillGradient(b, std::int64_t{b.lastCellIndex} - 2);
    if (b.buildLinePlan == 0) return;
    // The plan's last two metres stay empty.
    while (b.planCursor <= std::int64_t{b.planLength} - 2) {
        straightPlanStep(b.linePlan, b.planCursor);
        ++b.planCursor;
    }
}

}  // namespace

bool ScenarioBuild::linePass() {
    const std::string fileName = identity().lineSourceFile();
    if (!files().exists(fileName)) {
        recordError(101);
        errorFile = fileName;  // no file is open to name it
        errorLine = 0;
        return false;
    }
    openSource(fileName);

    if (!findGeneralSection(*this)) {
        stopWithError(*this, 102);
        return false;
    }
    if (!readGeneralSection(*this)) return false;
    startRouteRecords(*this);
    if (readRouteRecords(*this) == Next::Stop) return false;
    finishLinePass(*this);
    return true;
}

}  // namespace scenario
