// The records of both source files, one table per file: each record's keywords as the passes test
// them, in the order they test them, and its value fields with name, type, unit, plausible range
// and what each becomes in the model, with notes where a field does more and the packing of a
// signal's digits. The passes dispatch on these tables and the warnings about misplaced keywords
// come from them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// Every record of both files.
enum class RecordId {
    RouteLength,
    KilometrePostThree,
    KilometrePostTwo,
    KilometrePostOne,
    BackgroundOne,
    BackgroundTwo,
    BackgroundThree,
    SignalRepetition,
    Gradient,
    Curve,
    Tunnel,
    SpeedBoards,
    Sign,
    BrakedMass,
    CarCount,
    SpeedLimit,
    Adhesion,
    Clock,
    Sand,
    Signal,
    SlowOrder,
    SpeedCut,
    Station,
};

// Where a reader looks for a record.
enum class RecordSection {
    LineGeneral,  // the line source file's [generale] section
    LineRoute,    // the line source file after that section
    Train,        // the train source file after its [generale]
};

// How the field reader reads a value: Name is a text kept as a name (at most 65535 bytes).
enum class FieldType { Long, Integer, Byte, Name };

// How a route position becomes a cell: round(position / cell length + offset), or kept whole.
enum class CellRule : std::uint8_t {
    None,    // no position on the cells
    At,      // offset 0
    After,   // offset 1: objects placed ahead of the driver
    Before,  // offset -1
    Whole,   // kept as written, which the compile requires on the cells' grid
};

// How a value maps to the model: its cell, or the number stored, round(value / scale) + offset.
struct ValueMap {
    CellRule cell = CellRule::None;
    bool object = false;  // the cell takes an object of the record's kind
    std::int32_t scale = 1;
    std::int32_t offset = 0;
};

// The offset a rounding cell rule adds; 0 for the others.
constexpr int cellOffset(CellRule rule) {
    return rule == CellRule::After ? 1 : rule == CellRule::Before ? -1 : 0;
}
constexpr bool roundsToCell(CellRule rule) {
    return rule == CellRule::At || rule == CellRule::After || rule == CellRule::Before;
}

struct FieldSpec {
    std::string_view name;
    FieldType type;
    std::string_view unit;  // "m", "km/h", "per mille", "s", ...; empty for a plain number
    // The plausible range: a value outside it compiles, but is almost certainly a slip. A value
    // whose meaning is the simulator's is held only to what its field stores.
    std::int64_t lowest;
    std::int64_t highest;
    // Where the value goes in the model, beyond what `map` says; docs put the two together.
    std::string_view becomes;
    ValueMap map = {};
};

struct RecordSpec {
    RecordId id;
    std::string_view name;  // for authors: "signal", "slow order", ...
    RecordSection section;
    std::string_view keyword;     // the first field must contain it
    std::string_view alsoNeeded;  // and this too, when not empty
    bool exact;                   // letter case counts; otherwise both are small letters
    std::span<const FieldSpec> fields;
    std::string_view spelling;   // the keyword as the writer spells it, offered to authors
    std::string_view note = {};  // how the first field says more than the record, for authors
};

// A field as messages to authors name it: the record's name, then the field's unless the
// record's name says it already ("route length", not "route length length").
std::string fieldLabel(const RecordSpec& record, const FieldSpec& field);

// What a record's fields do beyond the table's cells, one paragraph each; empty for most records.
std::span<const std::string_view> recordNotes(RecordId id);

// How a signal record's digits are packed into its cell's four values: each value is the sum of
// its digits times their weights, the heaviest first.
struct PackedDigit {
    std::string_view field;
    std::int32_t weight;
};
struct PackedValue {
    std::string_view value;  // the cell's field: "value1" to "value4"
    std::span<const PackedDigit> digits;
};
std::span<const PackedValue> signalPacking();

// The digits of a packed value, in the order of `packed.digits`; each digit within its field's
// range (sx and dx 0 to 2, the others 0 to 9) comes back as it went in.
std::vector<std::int32_t> unpackDigits(const PackedValue& packed, std::int32_t value);

// The records of each file, in the order the passes test them.
std::span<const RecordSpec> lineRecords();
std::span<const RecordSpec> trainRecords();

// The group headers the writer puts between groups of records, in small letters. They are
// conventions for the reader of a file: the passes keep no notion of sections.
std::span<const std::string_view> lineHeaders();
std::span<const std::string_view> trainHeaders();

// Which records a first field names, one bit per RecordId. The files repeat a few first fields
// thousands of times, and the passes and the checker ask each one several questions, so the
// answers are worked out once per distinct text.
struct RecordMatches {
    std::uint32_t exact = 0;    // by each record's rule for letter case
    std::uint32_t anyCase = 0;  // in any letter case, even for a keyword written case by case
    bool holdsLetter = false;
    bool named(const RecordSpec& record) const { return (exact & bitOf(record)) != 0; }
    bool namedAnyCase(const RecordSpec& record) const { return (anyCase & bitOf(record)) != 0; }
    static constexpr std::uint32_t bitOf(const RecordSpec& record) {
        return std::uint32_t{1} << static_cast<unsigned>(record.id);
    }
};
RecordMatches recordMatches(std::string_view field);

// What a curve record's first field says: its class, 1 (the widest) to 6, is the first of those
// digits that the field holds, tried in that order; the curve turns left when the field holds an
// "s" in either case anywhere. Nothing when it holds none of the digits.
struct CurveReading {
    int curveClass = 0;
    bool left = false;
};
std::optional<CurveReading> readCurveField(std::string_view field);

// Where a first field stands, as the passes read the two files.
enum class SourcePlace {
    LinePreamble,  // before the line source file's [generale]
    LineGeneral,   // inside the line source file's [generale] section
    LineRoute,     // after that section
    TrainPreamble,
    TrainRecords,
};

// Why a first field that holds a record's keyword is passed over where it stands; empty when it
// holds none, is a comment, or is read there.
std::string misplacedKeywordNote(std::string_view field, SourcePlace place);

}  // namespace scenario
