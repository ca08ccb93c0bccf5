// The build object and the model it fills: the track cell table (one cell per 50 m), the station
// table with its fixed slots, and the route's plan metre by metre.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "source/field_reader.h"
#include "source/file_names.h"
#include "source/line_table.h"
#include "source/record_keywords.h"

namespace scenario {

class FileStore;

// Told of every cell a pass asks for and of the end of every record, so that the authors' tool
// can say which record wrote a value. The scenario program sets none.
class CellWatcher {
  public:
    virtual void cellTouched(std::int64_t index) = 0;
    virtual void recordEnds() = 0;

  protected:
    ~CellWatcher() = default;
};

struct SourceWarning {
    std::string file;
    std::int32_t line;
    std::string message;
};

// A data error as it was recorded: errorCode, errorPosition, errorFile and errorLine at that time.
struct RecordedError {
    std::int32_t code;
    std::int32_t position;
    std::string file;  // empty when no source line applies
    std::int32_t line;
};

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

inline constexpr int kStationTableSize = 87;
inline constexpr int kFirstSignSlot = 80;

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
    void setDouble(std::int32_t m, double first, double second);

    PlanValueType typeAt(std::int32_t m) const;
    double first(std::int32_t m) const { return first_[static_cast<std::size_t>(m)]; }
    double second(std::int32_t m) const { return second_[static_cast<std::size_t>(m)]; }
    std::int32_t doubleEnd() const { return doubleEnd_; }  // metres 2 .. doubleEnd-1 are Doubles

  private:
    bool exists_ = false;
    bool seeded_ = false;
    std::int32_t upper_ = -1;
    std::int32_t doubleEnd_ = 2;
    std::vector<double> first_;
    std::vector<double> second_;
};

class ScenarioBuild {
  public:
    explicit ScenarioBuild(FileStore& files) : files_(files) {}

    // --- The model and the shared variables -------------------------------------------------
    LinePlan linePlan;
    std::vector<TrackCell> trackCells;  // empty until the line pass reads a route length
    std::array<StationRecord, kStationTableSize> stationTable{};
    std::array<std::int32_t, 81> tunnelStarts{};
    std::array<std::int32_t, 81> tunnelEnds{};
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

    // --- Where an error was recorded, for authors' diagnostics --------------------------------
    std::string errorFile;                      // source file of the record that raised errorCode
    std::int32_t errorLine = 0;                 // its line, 0 when no source line applies
    std::string failureReason;                  // what the error trap caught
    std::vector<SourceWarning> sourceWarnings;  // what the reader accepted silently
    std::vector<RecordedError> recordedErrors;  // every error in order; the last is errorCode

    // --- Build driver -----------------------------------------------------------------------
    void Form_Load();

    // --- Source writers ---------------------------------------------------------------------
    void dati_linea();
    void dati_treno();
    void dati_note();
    void dati_rallentamenti();
    void dati_scheda();
    // Writes the table's lines, each with CR LF, up to the sentinel, as one whole file.
    void writeLineTable(const LineTable& table, const std::string& fileName);

    // --- Compile step -----------------------------------------------------------------------
    void memorizza_percorso(std::int32_t& j);
    void memorizza_dati();
    bool linePass();  // false: memorizza_dati returns without the train pass
    void progressive_ordina();
    void memo_montagna(std::int32_t inizio, std::int32_t fine, std::int32_t& tipo);
    void memo_indicatori_v_max(std::int32_t posizione, std::int32_t& vas, std::int32_t& vbs,
                               std::int32_t& vcs, std::int32_t& strisces, std::int32_t& vad,
                               std::int32_t& vbd, std::int32_t& vcd, std::int32_t& strisced);
    void trainPass();
    void memo_segnale(std::int32_t posizione, std::int32_t& sx, std::int32_t& s1, std::int32_t& s2,
                      std::int32_t& s3, std::int32_t& rapp, std::int32_t& dx, std::int32_t& d1,
                      std::int32_t& d2, std::int32_t& d3, std::int32_t& tempo);
    void memo_rallentamento(std::int32_t x, std::int32_t& v, std::int32_t& l, std::int32_t& f_tt,
                            std::int32_t f_ta, std::int32_t& d_v);
    void signalSpacingPass();

    // --- Output -----------------------------------------------------------------------------
    void stampScenario();
    std::int16_t codice_gara_og();
    std::int32_t codice_gara_st();
    [[noreturn]] void errore(const std::string& a);
    void writeScenarioFiles();

    // --- Helpers shared by the passes ---------------------------------------------------------
    ScenarioIdentity identity() const { return {scenarioName, trainNumber}; }
    FileStore& files() { return files_; }

    bool cellExists(std::int64_t index) const {
        return index >= 0 && index < static_cast<std::int64_t>(trackCells.size());
    }
    // A cell takes an object when it is empty or a tunnel marker; a cell outside the table never.
    bool isFree(std::int64_t index) const {
        return cellExists(index) &&
               (trackCells[static_cast<std::size_t>(index)].kind == kEmptyCell ||
                trackCells[static_cast<std::size_t>(index)].kind == kTunnelMarker);
    }
    // The cell at index; an index outside the table is a run-time failure, never a stray write.
    TrackCell& cell(std::int64_t index);

    // The source file being read ("file number 1").
    void openSource(const std::string& fileName);  // RunTimeFailure when it cannot be opened
    void closeSource();
    FieldReader& source();  // RunTimeFailure when none is open
    bool sourceAtEnd() const { return sourceReader_ && sourceReader_->atEnd(); }
    // Reads a first field into currentLine and remembers its line for diagnostics.
    void readFirstField();
    // Warns when the first field just read names a record that is passed over where it stands.
    void noteMisplacedKeyword(SourcePlace place);
    // Records a data error at the record being read.
    void recordError(std::int32_t code);
    void recordError(std::int32_t code, std::int32_t position);
    // Records a data error that a check over the whole model found: it belongs to no source line.
    void recordModelError(std::int32_t code, std::int32_t position);
    // Records error 25 for a run-time failure caught by the trap, at the field being read.
    void recordFailure(const std::string& reason);

    std::int32_t recordLine = 0;  // line of the last first field read
    bool sourceOpen() const { return sourceReader_.has_value(); }
    const std::string& sourceName() const { return sourceName_; }
    CellWatcher* cellWatcher = nullptr;

  private:
    void setError(std::int32_t code, std::int32_t position, const std::string& file,
                  std::int32_t line);
    void warnAtRecord(std::string message);

    FileStore& files_;
    std::optional<FieldReader> sourceReader_;
    std::string sourceName_;
};

}  // namespace scenario
