// The model a build fills: the track cell table (one cell per 50 m), the station table with its
// fixed slots, and the route's plan metre by metre, with the variables the procedures share.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/diagnostic.h"
#include "base/failures.h"
#include "compiler/model_constants.h"
#include "source/file_names.h"
#include "source/record_tables.h"

namespace scenario {

struct TrackCell {
    std::uint8_t kind = 0;
    std::int16_t value1 = 0;
    std::int16_t value2 = 0;
    std::int16_t value3 = 0;
    std::int16_t value4 = 0;
    std::uint8_t signalTime = 0;
    std::uint8_t approachCode = 0;
    std::uint8_t tunnelKind = 0;
    std::uint8_t speedLimit = 0;
    std::uint8_t gradient = 0;
    std::uint8_t adhesion = 0;
};

// Cell kinds.
enum : std::uint8_t {
    kEmptyCell = 0,
    kSignal = 1,
    kSlowOrderEnd = 2,
    kSlowOrderStart = 3,
    kSlowOrderWarning = 4,
    kWarningMarker = 5,
    kSpeedBoard = 6,
    kStation = 10,
    kTunnelMarker = 11,
    kSpeedCut = 12,
    kSpeedCutMark = 13,
    kSign = 14,
};

struct StationRecord {
    std::uint8_t stationKind = 0;
    std::int32_t platformStart = 0;
    std::int32_t platformEnd = 0;
    std::int32_t position = 0;
    std::uint8_t flagA = 0;
    std::string name;  // Windows-1252 bytes
    std::int16_t groupA1 = 0;
    std::int16_t groupA2 = 0;
    std::int16_t groupB1 = 0;
    std::int16_t groupB2 = 0;
    std::int16_t groupB3 = 0;
    std::uint8_t groupA3 = 0;
    std::uint8_t dwellTime = 0;
    std::uint8_t flagC = 0;
    std::uint8_t flagB = 0;
    std::int32_t departureTime = 0;
};

// Type codes of the plan's elements, as the line data file stores them.
enum class PlanValueType : std::uint16_t { Empty = 0, Integer = 2, Double = 5 };

// linePlan(0..planLength, 0..1). Metres 0 and 1 are Integer seeds, the metres the plan steps
// have reached (always a run from metre 2 on) are Doubles, the rest are empty; so two arrays of
// doubles and the end of that run say everything the line data file needs.
class LinePlan {
  public:
    void create(std::int32_t planLength);
    void clear();
    bool exists() const { return exists_; }
    std::int32_t upperBound() const { return upper_; }

    void seed();  // (0, 0) and (0, 1), Integers
    // Stores metre m as Doubles; the metres are computed in order, so m is the end of the run.
    void setDouble(std::int32_t m, double first, double second) {
        if (m != doubleEnd_ || m > upper_) throw RunTimeFailure("plan metre outside the plan");
        first_[static_cast<std::size_t>(m)] = first;
        second_[static_cast<std::size_t>(m)] = second;
        ++doubleEnd_;
    }

    // Metres m .. last as Doubles at once, for a run of steps that writes them itself through
    // values(): m must be the end of the run and last within the plan.
    void extendRun(std::int32_t m, std::int32_t last) {
        if (m != doubleEnd_ || last > upper_) throw RunTimeFailure("plan metre outside the plan");
        doubleEnd_ = last + 1;
    }
    double* firstValues() { return first_.get(); }
    double* secondValues() { return second_.get(); }

    PlanValueType typeAt(std::int32_t m) const;
    double first(std::int32_t m) const { return first_[static_cast<std::size_t>(m)]; }
    double second(std::int32_t m) const { return second_[static_cast<std::size_t>(m)]; }
    std::int32_t doubleEnd() const { return doubleEnd_; }  // metres 2 .. doubleEnd-1 are Doubles

  private:
    bool exists_ = false;
    bool seeded_ = false;
    std::int32_t upper_ = -1;
    std::int32_t doubleEnd_ = 2;
    // Left unset past the seeds: a metre is written once, when the steps reach it, so the
    // pages of a long plan are touched once and never cleared beforehand. A copy shares the
    // metres: only the line pass writes them, and a build is copied after it (a kept line model).
    std::shared_ptr<double[]> first_;
    std::shared_ptr<double[]> second_;
};

// Told of every cell a pass asks for and of the end of every record, so that the authors' tool
// can say which record wrote a value. The scenario program sets none.
class CellWatcher {
  public:
    virtual void cellTouched(std::int64_t index) = 0;
    virtual void recordEnds(const Location& record) = 0;
    // The cell the next error (number `error` in the list) is about, an object's cell already
    // taken or the object a check over the model failed for, and another cell involved or -1.
    virtual void errorAtCells(std::size_t error, std::int64_t cell, std::int64_t other) = 0;
    // A first field that the pass examines for records, at the place it stands.
    virtual void recordExamined(SourcePlace, const Location&) {}

  protected:
    ~CellWatcher() = default;
};

// The build's state as data: the model the passes fill and the output writes, the shared cursors
// the procedures hand each other, and what the build found wrong. startBuild (compile_step.h)
// is its one reset: a build starts from a fresh value with only its identity kept.
struct ScenarioBuild {
    // --- The model and the shared variables -------------------------------------------------
    LinePlan linePlan;
    std::vector<TrackCell> trackCells;  // empty until the line pass reads a route length
    std::array<StationRecord, kStationTableSize> stationTable{};
    std::array<std::int32_t, kTunnelSlots + 1> tunnelStarts{};
    std::array<std::int32_t, kTunnelSlots + 1> tunnelEnds{};
    std::int32_t tunnelCount = 0;
    std::int32_t buildLinePlan = 0;
    std::int32_t cursor = 0;
    std::int32_t innerCursor = 0;
    std::int32_t walkCount = 0;
    std::int32_t scanIndex = 0;
    std::int32_t blockedFlag = 0;
    std::int32_t markIndex = 0;
    std::string trainNumber;
    std::string scenarioName;
    std::string currentLine;
    std::int32_t lowStepMetre = 0;
    std::int32_t planLength = 0;
    std::int32_t lastCellIndex = 0;
    std::int32_t messageAnswer = 0;
    std::int32_t errorCode = 0;
    std::int32_t errorSpare = 0;
    std::int32_t errorPosition = 0;

    // State of the compile step, living for one call of memorizza_dati.
    std::int32_t signSlot = kFirstSignSlot;
    std::int32_t gradientCursor = 0;
    std::int32_t currentGradient = 0;
    std::int32_t planCursor = 2;
    std::int32_t stationCounter = 1;
    std::int32_t speedCursor = 0;
    std::int32_t adhesionCursor = 0;
    std::int32_t currentSpeed = 0;
    std::int32_t currentAdhesion = 0;

    // --- What the build found, for authors' diagnostics ---------------------------------------
    std::vector<Diagnostic> warnings;  // what the reader and the passes accepted silently
    std::vector<Diagnostic> errors;    // every data error in order; the last is errorCode
    CellWatcher* cellWatcher = nullptr;

    // --- The reserved entries of the station table ------------------------------------------
    // Posts 1 to 3 are entries 81 to 83: read from "tre", "due", "uno", then ordered by position.
    StationRecord& kilometrePost(int n) {
        return stationTable[static_cast<std::size_t>(kFirstKilometrePostSlot - 1 + n)];
    }
    const StationRecord& kilometrePost(int n) const {
        return stationTable[static_cast<std::size_t>(kFirstKilometrePostSlot - 1 + n)];
    }
    // Braked mass, route length and number of cars.
    StationRecord& trainData() { return stationTable[kTrainDataSlot]; }
    const StationRecord& trainData() const { return stationTable[kTrainDataSlot]; }
    std::int32_t& routeLength() { return stationTable[kTrainDataSlot].platformEnd; }
    std::int32_t routeLength() const { return stationTable[kTrainDataSlot].platformEnd; }
    // Scenario identity, backgrounds and the stamps.
    StationRecord& scenarioEntry() { return stationTable[kScenarioSlot]; }
    const StationRecord& scenarioEntry() const { return stationTable[kScenarioSlot]; }
    // Train identity, signal repetition, sand supply and the clock.
    StationRecord& trainEntry() { return stationTable[kTrainEntrySlot]; }
    const StationRecord& trainEntry() const { return stationTable[kTrainEntrySlot]; }

    ScenarioIdentity identity() const { return {scenarioName, trainNumber}; }

    // --- Cells ------------------------------------------------------------------------------
    bool cellExists(std::int64_t index) const {
        return index >= 0 && index < static_cast<std::int64_t>(trackCells.size());
    }
    // A cell takes an object when it is empty or a tunnel marker; a cell outside the table never.
    bool isFree(std::int64_t index) const {
        return cellExists(index) &&
               (trackCells[static_cast<std::size_t>(index)].kind == kEmptyCell ||
                trackCells[static_cast<std::size_t>(index)].kind == kTunnelMarker);
    }
    bool hasKind(std::int64_t index, std::uint8_t kind) const {
        return cellExists(index) && trackCells[static_cast<std::size_t>(index)].kind == kind;
    }
    // The cell at index; an index outside the table is a run-time failure, never a stray write.
    TrackCell& cell(std::int64_t index);
    // True when the line pass created the track cell table and it holds cell 1, where the stamps
    // go. Without it the driver writes no file.
    bool hasTrackCellTable() const { return cellExists(1); }
};

// Tells the watcher, if any, which cells the error about to be recorded is about.
inline void noteErrorCells(ScenarioBuild& build, std::int64_t cell, std::int64_t other = -1) {
    if (build.cellWatcher) build.cellWatcher->errorAtCells(build.errors.size(), cell, other);
}

// Records a data error in errorCode and errorPosition and in the list of errors. A procedure
// records its record's error, then the record's reader records it again with the position: that
// is one error.
void recordError(ScenarioBuild& build, std::int32_t code, std::int32_t position, Location at);
// A data error that a check over the whole model found: it belongs to no source line.
void recordModelError(ScenarioBuild& build, std::int32_t code, std::int32_t position);

}  // namespace scenario
