// The authors' checker: reads each source text with the field reader as its pass does (the same
// first fields, comment runs and record fields, driven by the record tables) and warns where the
// text compiles but almost certainly says something else than its author meant.
#include "tool/check/checker.h"

#include <algorithm>
#include <optional>

#include "base/code_page.h"
#include "base/conversions.h"
#include "base/failures.h"
#include "base/text_encoding.h"
#include "compiler/model_constants.h"
#include "source/field_reader.h"
#include "source/record_tables.h"
#include "source/record_walker.h"

namespace scenario {
namespace {

constexpr std::int64_t kStampCell = 1;

std::string_view trimmed(std::string_view s) {
    const std::size_t start = s.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    return s.substr(start, s.find_last_not_of(" \t") - start + 1);
}

bool holdsLetter(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b >= 0xC0;
    });
}

bool looksLikeForeignComment(std::string_view field) {
    const std::string_view t = trimmed(field);
    return !t.empty() && (t.front() == '#' || t.front() == ';' || t.substr(0, 2) == "//");
}

std::string quoted(std::string_view text) {
    std::string shown(1, '"');
    shown.append(text.substr(0, 40)).push_back('"');
    return shown;
}

std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string clockText(std::int64_t seconds) {
    const auto two = [](std::int64_t v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return std::to_string(seconds / 3600) + ":" + two(seconds / 60 % 60) + ":" + two(seconds % 60);
}

// Where a field stands in the scanned file; it becomes a Location only for a warning.
struct Place {
    std::int32_t line = 0;
    std::int32_t firstColumn = 0;
    std::int32_t lastColumn = 0;
};

// What a field's map says of its values, found once per scan rather than per value.
struct FieldFacts {
    std::int32_t scale = 1;  // the model keeps the value in steps of this many units
    bool onCells = false;    // a route position that the model turns into a cell
    bool gridded = false;    // ... by rounding, so that one off the grid moves
    int offset = 0;          // the cells the rounding adds
    bool object = false;     // ... where the record puts an object
};

// A value read for a record's field, where it stands. A text is a view of the scanned bytes.
struct Value {
    const FieldSpec* field = nullptr;
    const FieldFacts* facts = nullptr;
    std::int64_t number = 0;
    std::string_view text;
    Place at;
};

// The previous record of a list that must run in route order.
struct Previous {
    std::int64_t value = 0;
    std::int32_t line = 0;
    std::string name;
};

class FileScan {
  public:
    FileScan(const SourceText& text, bool isLine, std::vector<Diagnostic>& out)
        : reader_(FieldReader::Borrowed{}, text.bytes, text.name),
          name_(text.name),
          isLine_(isLine),
          out_(out) {
        for (const RecordSpec& r : ownTable()) {
            std::vector<FieldFacts>& facts = facts_.emplace_back();
            for (const FieldSpec& f : r.fields) facts.push_back(factsOf(r, f));
        }
    }

    // Reads the whole file as its pass does; a read the pass would fail on ends the scan, since
    // the compile reports it.
    void run(std::int32_t routeLength) {
        routeLength_ = routeLength;
        try {
            walkRecords(*this, isLine_ ? WalkedFile::Line : WalkedFile::Train, *this);
        } catch (const RunTimeFailure&) {
        }
    }

    // The walker's source and visitor.
    bool atEnd() const { return reader_.atEnd(); }
    std::string_view readFirstField() {
        field_ = readFirst();
        return field_.text;
    }
    RecordFlow examine(SourcePlace place, std::string_view) {
        if (examined_) examined_->push_back({place, field_.at.line, field_.at.firstColumn});
        const std::optional<RecordSection> section = sectionAt(place);
        if (section)
            examineField(field_, *section);
        else
            count(field_);
        return RecordFlow::Next;
    }
    void generalStarts() { sawGeneral = true; }
    void routeStarts() {}

    void traceInto(std::vector<ExaminedField>* examined) { examined_ = examined; }

    // The train file's speed limits and station positions, in reading order.
    struct SpeedLimit {
        std::int64_t position = 0;
        std::int64_t speed = 0;
        Place at;
    };
    std::vector<SpeedLimit> speedLimits;
    std::vector<std::int64_t> stationPositions;

    bool sawGeneral = false;
    int ownRecords = 0;
    int otherRecords = 0;
    int stations = 0;
    int signs = 0;
    std::int32_t routeLength = 0;  // the line file's route length, 0 when none was read

  private:
    struct Field {
        std::string_view text;
        bool extra = false;  // a value too many on a record's line, reported by the compile
        Place at;
    };

    Place place() const { return {reader_.line(), reader_.firstColumn(), reader_.lastColumn()}; }
    Location locationOf(Place p) const { return {name_, p.line, p.firstColumn, p.lastColumn}; }

    Field readFirst() {
        const bool afterValues = reader_.valueOnCurrentLine();
        Field f;
        f.text = reader_.readTextView();
        f.at = place();
        f.extra = afterValues && !f.text.empty();
        return f;
    }

    std::span<const RecordSpec> ownTable() const {
        return isLine_ ? lineRecords() : trainRecords();
    }
    std::span<const RecordSpec> otherTable() const {
        return isLine_ ? trainRecords() : lineRecords();
    }
    std::span<const std::string_view> ownHeaders() const {
        return isLine_ ? lineHeaders() : trainHeaders();
    }
    std::string_view fileKind() const { return isLine_ ? "line" : "train"; }

    static bool matchesAny(const RecordMatches& f, std::span<const RecordSpec> table) {
        return std::any_of(table.begin(), table.end(),
                           [&](const RecordSpec& r) { return f.namedAnyCase(r); });
    }

    void count(const Field& f) { count(f, recordMatches(f.text)); }
    void count(const Field& f, const RecordMatches& named) {
        if (f.extra || isCommentField(f.text)) return;
        if (matchesAny(named, ownTable()))
            ++ownRecords;
        else if (matchesAny(named, otherTable()))
            ++otherRecords;
    }

    void warn(std::string_view name, Place at, std::string message, std::string suggestion = {}) {
        Diagnostic d = makeWarning(name, locationOf(at), std::move(message));
        d.suggestion = std::move(suggestion);
        keepWarning(out_, std::move(d));
    }

    // The keywords as an author would fix `text`: where the writer's spelling carries more than
    // the keyword (a curve's side and class, "curvad5"), the text's own ending stands for it, so
    // that "curvzd4" becomes "curvad4".
    std::vector<std::string> spellingsFor(std::string_view text) const {
        std::vector<std::string> all;
        for (const RecordSpec& r : ownTable()) {
            const std::size_t suffix = r.spelling.size() - r.keyword.size();
            if (suffix > 0 && r.spelling.starts_with(r.keyword) && text.size() > suffix)
                all.push_back(std::string(r.keyword).append(text.substr(text.size() - suffix)));
            else
                all.emplace_back(r.spelling);
        }
        return all;
    }

    void examineField(const Field& f, RecordSection section) {
        const RecordMatches named = recordMatches(f.text);
        count(f, named);
        std::vector<const RecordSpec*>& read = read_;
        read.clear();
        readRecordsNamedBy(f.text, ownTable(), section, [&read](const RecordSpec& r) {
            read.push_back(&r);
            return RecordFlow::Next;
        });
        // A line whose first field was passed over hands its values on as first fields: only
        // the first says something.
        if (!f.extra && f.at.line != passedOverLine_) noteField(f, named, read);
        if (read.empty()) passedOverLine_ = f.at.line;
        for (const RecordSpec* r : read) readValues(*r, f);
    }

    void noteField(const Field& f, const RecordMatches& named,
                   const std::vector<const RecordSpec*>& read) {
        const std::string_view text = trimmed(f.text);
        if (text.empty() || isCommentField(text)) return;
        if (looksLikeHeader(text)) return noteHeader(f, text, read);
        if (looksLikeForeignComment(text)) {
            const std::string what =
                read.empty()
                    ? "it holds no keyword and is passed over; write \"- ...\" for a comment"
                    : "it is read as a " + std::string(read.front()->name) + " record";
            return warn(kCommentStyleWarning, f.at,
                        quoted(text) + " is not a comment (a comment line holds a \"-\"): " + what);
        }
        if (!read.empty() || !holdsLetter(text)) return;
        if (matchesAny(named, ownTable()) || matchesAny(named, otherTable())) return;
        const std::vector<std::string> fixes = spellingsFor(text);
        const std::string_view near =
            nearestKeyword(text, std::vector<std::string_view>(fixes.begin(), fixes.end()));
        std::string message = quoted(text) + " is no record of the " + std::string(fileKind()) +
                              " file: the line is passed over";
        if (!near.empty()) message += "; did you mean \"" + std::string(near) + "\"?";
        warn(kUnknownRecordWarning, f.at, std::move(message), std::string(near));
    }

    void noteHeader(const Field& f, std::string_view text,
                    const std::vector<const RecordSpec*>& read) {
        const std::string folded = toLowerText(text);
        const std::span<const std::string_view> own = ownHeaders();
        if (std::find(own.begin(), own.end(), folded) != own.end()) return;
        const std::vector<std::string_view> headers(own.begin(), own.end());
        const std::string near(nearestKeyword(text, headers));
        if (!read.empty()) {
            std::string message = quoted(text) + " holds the keyword \"" +
                                  std::string(read.front()->keyword) + "\": it is read as a " +
                                  std::string(read.front()->name) + " record, not as a header";
            if (!near.empty()) message += " (the header is \"" + near + "\")";
            return warn(kUnknownSectionWarning, f.at, std::move(message), near);
        }
        const std::span<const std::string_view> other = isLine_ ? trainHeaders() : lineHeaders();
        if (std::find(other.begin(), other.end(), folded) != other.end())
            return warn(kUnknownSectionWarning, f.at,
                        quoted(text) + " is a group header of the " + (isLine_ ? "train" : "line") +
                            " file, not of this one");
        std::string message =
            quoted(text) + " is no group header of the " + std::string(fileKind()) + " file";
        if (!near.empty()) message += "; did you mean \"" + near + "\"?";
        warn(kUnknownSectionWarning, f.at, std::move(message), near);
    }

    void readValues(const RecordSpec& record, const Field& first) {
        std::vector<Value>& values = values_;
        values.clear();
        const std::vector<FieldFacts>& facts =
            facts_[static_cast<std::size_t>(&record - ownTable().data())];
        for (const FieldSpec& field : record.fields) {
            Value v;
            v.field = &field;
            v.facts = &facts[values.size()];
            switch (field.type) {
                case FieldType::Name:
                    v.text = reader_.readNameView();
                    break;
                case FieldType::Long:
                    v.number = reader_.readLong();
                    break;
                case FieldType::Integer:
                    v.number = reader_.readInteger();
                    break;
                case FieldType::Byte:
                    v.number = reader_.readByte();
                    break;
            }
            v.at = place();
            values.push_back(v);
        }
        if (record.id == RecordId::RouteLength) routeLength = lowBits32(values[0].number);
        if (record.id == RecordId::Station) ++stations;
        if (record.id == RecordId::Sign) ++signs;
        if (record.id == RecordId::Curve) checkCurveField(first);
        if (record.id == RecordId::SpeedLimit)
            speedLimits.push_back({values[0].number, values[1].number, first.at});
        if (record.id == RecordId::Station) stationPositions.push_back(values[0].number);
        for (const Value& v : values) {
            if (v.field->type == FieldType::Name) checkTextField(record, first, v);
            checkValue(record, v);
        }
        checkOrder(record, values);
    }

    // The writer's curve keywords say side and class plainly; any other spelling is read by the
    // letter and digit it happens to hold.
    void checkCurveField(const Field& f) {
        const std::optional<CurveReading> curve = readCurveField(f.text);
        if (!curve) return;  // error 103
        const std::string folded = toLowerText(trimmed(f.text));
        if (folded.size() == 7 && folded.starts_with("curva") &&
            (folded[5] == 's' || folded[5] == 'd') && folded[6] >= '1' && folded[6] <= '6')
            return;
        const std::string digit = std::to_string(curve->curveClass);
        warn(kCurveKeywordWarning, f.at,
             quoted(trimmed(f.text)) + " is read as a " + (curve->left ? "left" : "right") +
                 " curve of class " + digit +
                 ": a curve turns left when its first field holds an \"s\" anywhere, right "
                 "otherwise, and takes the first of the digits 1 to 6 that it holds; write "
                 "\"curvas" +
                 digit + "\" (left) or \"curvad" + digit + "\" (right)");
    }

    // A record one value short takes the next line's first field as its text.
    void checkTextField(const RecordSpec& record, const Field& first, const Value& v) {
        if (v.at.line == first.at.line) return;
        const std::string_view text = trimmed(v.text);
        const std::string folded = toLowerText(text);
        const auto startsWithKeyword = [&](std::span<const RecordSpec> table) {
            return std::any_of(table.begin(), table.end(),
                               [&](const RecordSpec& r) { return folded.starts_with(r.keyword); });
        };
        std::string what;
        if (looksLikeHeader(text))
            what = "a group header";
        else if (startsWithKeyword(ownTable()) || startsWithKeyword(otherTable()))
            what = "a record's keyword";
        else
            return;
        warn(kMissingFieldWarning, first.at,
             std::string(record.name) + " " + std::string(v.field->name) + " is " + quoted(text) +
                 ", " + what + " on line " + std::to_string(v.at.line) +
                 ": the record lacks a field, so its values took the next ones' places");
    }

    void checkValue(const RecordSpec& record, const Value& v) {
        const FieldSpec& f = *v.field;
        if (f.type == FieldType::Name) return;
        // Made only for a warning: most values get none.
        const auto unit = [&f] { return f.unit.empty() ? "" : " " + std::string(f.unit); };
        const auto what = [&] {
            return fieldLabel(record, f) + " " + std::to_string(v.number) + unit();
        };
        if (v.number < f.lowest || v.number > f.highest)
            return warn(kImplausibleValueWarning, v.at,
                        what() + " lies outside " + std::to_string(f.lowest) + " to " +
                            std::to_string(f.highest) + unit());
        if (const std::int32_t scale = v.facts->scale; scale > 1 && v.number % scale != 0)
            return warn(
                kImplausibleValueWarning, v.at,
                what() + " is not a multiple of " + std::to_string(scale) + ": it is stored as " +
                    std::to_string(roundToWhole(static_cast<double>(v.number) / scale) * scale) +
                    unit());
        if (!v.facts->onCells) return;
        const auto cellOfValue = [&] {
            return roundToWhole(static_cast<double>(v.number) / kCellLength +
                                static_cast<double>(v.facts->offset));
        };
        // The compile gives no sign of it: the stamping stops the build (1250, 1251) or writes
        // over the object.
        if (v.facts->object && cellOfValue() == kStampCell)
            return warn(kImplausibleValueWarning, v.at,
                        what() +
                            " puts its object in cell 1, where the build stamps its check "
                            "codes: the build stops (error 1250 or 1251) or the stamp "
                            "overwrites it");
        if (routeLength_ > 0 && v.number > routeLength_)
            return warn(kImplausibleValueWarning, v.at,
                        what() + " lies past the route's end (" + std::to_string(routeLength_) +
                            " m), in the " + std::to_string(kRouteTail) + " m tail");
        if (v.number % kCellLength == 0 || !v.facts->gridded) return;
        const int offset = v.facts->offset;
        const std::int64_t cell = cellOfValue();
        warn(kImplausibleValueWarning, v.at,
             what() + " is off the " + std::to_string(kCellLength) + " m grid: it lands in cell " +
                 std::to_string(cell) + ", as if at " +
                 std::to_string((cell - offset) * kCellLength) + " m");
    }

    static FieldFacts factsOf(const RecordSpec& record, const FieldSpec& f) {
        FieldFacts facts;
        facts.scale = f.map.scale;
        // The general records hold no route positions.
        facts.onCells = record.section != RecordSection::LineGeneral && f.unit == "m" &&
                        f.map.cell != CellRule::None;
        facts.gridded = roundsToCell(f.map.cell);
        facts.offset = cellOffset(f.map.cell);
        facts.object = facts.gridded && f.map.object;
        return facts;
    }

    void checkOrder(const RecordSpec& record, const std::vector<Value>& values) {
        const std::int32_t line = values.empty() ? 0 : values.front().at.line;
        switch (record.id) {
            case RecordId::Gradient:
            case RecordId::SpeedLimit:
            case RecordId::Adhesion:
            case RecordId::Station:
                break;
            default:
                return;
        }
        Previous& last = previous_[static_cast<std::size_t>(record.id)];
        const std::int64_t position = values.front().number;
        if (last.line > 0 && position < last.value)
            warn(kOrderWarning, values.front().at,
                 std::string(record.name) + " at " + std::to_string(position) +
                     " m stands before the previous one at " + std::to_string(last.value) +
                     " m (line " + std::to_string(last.line) + "): list them in route order");
        last = {position, line, {}};
        if (record.id != RecordId::Station) return;
        const std::int64_t time =
            (values[13].number * 60 + values[14].number) * 60 + values[15].number;
        const std::string name(values[16].text);
        if (time == 0) return;  // the train does not stop there
        if (departure_.line > 0 && time < departure_.value)
            warn(kOrderWarning, values[13].at,
                 "departure " + clockText(time) + " at " + name + " is before " +
                     clockText(departure_.value) + " at " + departure_.name + " (line " +
                     std::to_string(departure_.line) + ")");
        departure_ = {time, line, name};
    }

    FieldReader reader_;
    Field field_;  // the first field just read
    std::vector<ExaminedField>* examined_ = nullptr;
    std::string name_;
    std::vector<const RecordSpec*> read_;         // the records a first field is read as
    std::vector<Value> values_;                   // the values of the record being read
    std::vector<std::vector<FieldFacts>> facts_;  // by record of ownTable(), then by field
    bool isLine_;
    std::vector<Diagnostic>& out_;
    std::int32_t routeLength_ = 0;
    std::int32_t passedOverLine_ = 0;
    Previous previous_[32] = {};
    Previous departure_;
};

Location lineAndColumn(const SourceText& text, std::size_t offset) {
    Location at{text.name, 1, 1, 1};
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset; ++i)
        if (text.bytes[i] == '\n') {
            ++at.line;
            lineStart = i + 1;
        }
    at.firstColumn = at.lastColumn = static_cast<std::int32_t>(offset - lineStart + 1);
    return at;
}

void checkEncoding(const SourceText& text, std::vector<Diagnostic>& out) {
    const auto control = std::find_if(text.bytes.begin(), text.bytes.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 && b != '\t' && b != '\r' && b != '\n';
    });
    if (control != text.bytes.end()) {
        const std::string what = *control == '\0' ? "NUL bytes" : "control characters";
        keepWarning(
            out,
            makeWarning(
                kEncodingWarning,
                lineAndColumn(text, static_cast<std::size_t>(control - text.bytes.begin())),
                "the file holds " + what + ": it looks like a binary file, not a source text"));
        return;
    }
    const Utf8Scan scan = scanUtf8(text.bytes);
    if (!scan.valid || !scan.firstNonAscii) return;
    keepWarning(out, makeWarning(kEncodingWarning, lineAndColumn(text, *scan.firstNonAscii),
                                 "the file is UTF-8: each letter beyond ASCII would be stored as "
                                 "two or more Windows-1252 characters; save it as Windows-1252 "
                                 "or give --input-encoding utf-8"));
}

Location startOf(const SourceText& text) {
    return Location{text.name, 1, 0, 0};
}

// A run of cells whose speed limit the train pass writes as 0, and the record whose speed it
// is (-1: the speed before the first record).
struct ZeroRun {
    std::int64_t firstCell = 0;
    std::int64_t endCell = 0;
    int record = -1;
};

// The speed limit cells as the train pass writes them: each record writes the previous speed up
// to its own cell, and the end of the pass writes the last one up to three cells before the end
// of the table. Worked out run by run, not cell by cell, as routes run to 20000 cells.
std::vector<ZeroRun> zeroSpeedRuns(const std::vector<FileScan::SpeedLimit>& records,
                                   std::int64_t lastCell) {
    std::vector<ZeroRun> runs;
    std::int64_t cursor = 0;
    std::int64_t speed = 0;
    int source = -1;
    const auto write = [&](std::int64_t end) {
        if (roundToWhole(static_cast<double>(speed) / 5) != 0 || end <= cursor) return;
        if (!runs.empty() && runs.back().endCell == cursor)
            runs.back().endCell = end;
        else
            runs.push_back({cursor, end, source});
    };
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::int64_t p = records[i].position;
        // The range test ends the pass's reading.
        if (static_cast<double>(lastCell) < static_cast<double>(p + 100) / kCellLength) break;
        const std::int64_t w = roundToWhole(static_cast<double>(p) / kCellLength);
        if (w > 0 && cursor < lastCell) {
            const std::int64_t end = std::min(std::max(cursor + 1, w), lastCell);
            write(end);
            cursor = end;
        }
        speed = records[i].speed;
        source = static_cast<int>(i);
    }
    if (cursor <= lastCell) write(std::min(std::max(cursor + 1, lastCell - 2), lastCell + 1));
    return runs;
}

// One warning per stretch of the train's run, from its first station to its last, where the
// speed limit is 0; a train of one station does not run.
void checkZeroSpeed(const FileScan& scan, const SourceText& train, std::int32_t routeLength,
                    std::vector<Diagnostic>& out) {
    const std::vector<std::int64_t>& stations = scan.stationPositions;
    if (routeLength <= 0 || stations.size() < 2) return;
    const std::int64_t runFrom = *std::min_element(stations.begin(), stations.end());
    const std::int64_t runTo = *std::max_element(stations.begin(), stations.end());
    const std::int64_t lastCell =
        roundToWhole(static_cast<double>(routeLength + kRouteTail) / kCellLength);
    const std::vector<FileScan::SpeedLimit>& records = scan.speedLimits;
    for (const ZeroRun& run : zeroSpeedRuns(records, lastCell)) {
        const std::int64_t from = std::max(run.firstCell * kCellLength, runFrom);
        const std::int64_t to = std::min(run.endCell * kCellLength, runTo);
        if (from >= to) continue;
        std::string message = "the speed limit is 0 km/h from " + std::to_string(from) + " m to " +
                              std::to_string(to) + " m (" + std::to_string(to - from) +
                              " m), where the train runs";
        if (records.empty()) {
            keepWarning(out, makeWarning(kZeroSpeedWarning, startOf(train),
                                         message + ": the file has no speed limit record"));
            continue;
        }
        const auto index = static_cast<std::size_t>(std::max(run.record, 0));
        const FileScan::SpeedLimit& cause = records[index];
        if (run.record < 0)
            message += ": the limit is 0 before the first speed limit record, at " +
                       std::to_string(cause.position) + " m";
        else if (cause.speed != 0)
            message += ": " + std::to_string(cause.speed) + " km/h is stored as 0";
        keepWarning(
            out, makeWarning(kZeroSpeedWarning,
                             {train.name, cause.at.line, cause.at.firstColumn, cause.at.lastColumn},
                             std::move(message)));
    }
}

}  // namespace

std::vector<std::string_view> warningNames() {
    return {kNumberTextWarning,       kExtraFieldsWarning,    kMisplacedKeywordWarning,
            kUnknownRecordWarning,    kUnknownSectionWarning, kCommentStyleWarning,
            kImplausibleValueWarning, kOrderWarning,          kNoRecordsWarning,
            kEncodingWarning,         kSwappedFilesWarning,   kCurveKeywordWarning,
            kMissingFieldWarning,     kZeroSpeedWarning,      kTimetableWarning};
}

std::string_view nearestKeyword(std::string_view text,
                                const std::vector<std::string_view>& candidates) {
    const std::string folded = toLowerText(trimmed(text));
    std::string_view best;
    std::size_t bestDistance = SIZE_MAX;
    for (std::string_view c : candidates) {
        const std::size_t d = editDistance(folded, c);
        if (d <= std::max<std::size_t>(2, c.size() / 3) && d < bestDistance) {
            best = c;
            bestDistance = d;
        }
    }
    return best;
}

CheckResult checkSourceTexts(const SourceText& line, const SourceText& train,
                             ExaminedFields* examined) {
    return checkSourceTexts(checkLineText(line, examined ? &examined->line : nullptr), train,
                            examined ? &examined->train : nullptr);
}

LineTextCheck checkLineText(const SourceText& line, std::vector<ExaminedField>* examined) {
    LineTextCheck found;
    found.start = startOf(line);
    checkEncoding(line, found.encoding);
    FileScan lineScan(line, true, found.records);
    if (examined) lineScan.traceInto(examined);
    lineScan.run(0);
    found.routeLength = lineScan.routeLength;
    found.signRecords = lineScan.signs;
    found.ownRecords = lineScan.ownRecords;
    found.otherRecords = lineScan.otherRecords;
    return found;
}

CheckResult checkSourceTexts(const LineTextCheck& line, const SourceText& train,
                             std::vector<ExaminedField>* examined) {
    CheckResult result;
    std::vector<Diagnostic>& out = result.warnings;
    // In the order of a reading of both: the encodings, then the line's records, then the
    // train's; kept again so that the bound on their number falls where it always fell.
    for (const Diagnostic& w : line.encoding) keepWarning(out, w);
    checkEncoding(train, out);
    for (const Diagnostic& w : line.records) keepWarning(out, w);
    FileScan trainScan(train, false, out);
    if (examined) trainScan.traceInto(examined);
    trainScan.run(line.routeLength);
    checkZeroSpeed(trainScan, train, line.routeLength, out);
    result.signRecords = line.signRecords;
    result.stationRecords = trainScan.stations;

    if (!trainScan.sawGeneral)
        keepWarning(out, makeWarning(kNoRecordsWarning, startOf(train),
                                     "no [generale] line: nothing in this file is read"));
    else if (trainScan.stations == 0)
        keepWarning(
            out, makeWarning(kNoRecordsWarning, startOf(train), "the train file has no station"));

    const bool lineSwapped = line.ownRecords == 0 && line.otherRecords > 0;
    const bool trainSwapped = trainScan.ownRecords == 0 && trainScan.otherRecords > 0;
    result.filesLookSwapped = lineSwapped && trainSwapped;
    if (result.filesLookSwapped) {
        keepWarning(out, makeWarning(kSwappedFilesWarning, line.start,
                                     "this looks like a train source file and the train file "
                                     "like a line source file: give the line file first"));
        return result;
    }
    if (lineSwapped)
        keepWarning(out, makeWarning(kSwappedFilesWarning, line.start,
                                     "this looks like a train source file (" +
                                         std::to_string(line.otherRecords) +
                                         " train records, no line record)"));
    if (trainSwapped)
        keepWarning(out, makeWarning(kSwappedFilesWarning, startOf(train),
                                     "this looks like a line source file (" +
                                         std::to_string(trainScan.otherRecords) +
                                         " line records, no train record)"));
    return result;
}

}  // namespace scenario
