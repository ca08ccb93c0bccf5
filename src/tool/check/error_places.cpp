// Places errors by reading the records again: the compile keeps only each record's first field,
// and the watcher of its cells knows which record put which object where.
#include "tool/check/error_places.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "compiler/model_constants.h"
#include "report/diagnostic.h"
#include "tool/check/source_lines.h"

namespace scenario {
namespace {

// The value field, counted from 0 after the keyword, that makes each error; the others point at
// the record's first field.
struct CausingField {
    std::int32_t code;
    std::size_t field;
};
constexpr CausingField kCausingFields[] = {
    {1, 0},  {3, 0},  {4, 1},  {6, 0},  {7, 0},  {8, 0},  {9, 2},  {15, 0},
    {16, 0}, {17, 0}, {18, 0}, {19, 2}, {20, 0}, {21, 0}, {22, 0},
};

// Errors about a cell that another record's object already holds.
bool isTakenCellError(std::int32_t code) {
    return code == 6 || code == 7 || (code >= 16 && code <= 21);
}

class Sources {
  public:
    explicit Sources(const SourceTexts& texts) : texts_(texts) {}

    // The record read from a first field on a line of one of the two files.
    RecordLine record(const std::string& file, std::int32_t line) {
        const bool isLine = file == texts_.names.lineSourceFile();
        if (!isLine && file != texts_.names.trainSourceFile()) return {};
        for (const RecordLine& r : isLine ? lineFile() : trainFile())
            if (r.line == line - 1 && r.record != nullptr) return r;
        return {};
    }

    // The first fields of each file as its pass reads them, walked when first asked for.
    const std::vector<RecordLine>& lineFile() {
        if (!line_) line_ = walkSourceText(texts_.line, SourceKind::Line);
        return *line_;
    }
    const std::vector<RecordLine>& trainFile() {
        if (!train_) train_ = walkSourceText(texts_.train, SourceKind::Train);
        return *train_;
    }

  private:
    const SourceTexts& texts_;
    std::optional<std::vector<RecordLine>> line_;
    std::optional<std::vector<RecordLine>> train_;
};

const ReadValue* valueOf(const RecordLine& r, std::size_t field) {
    if (r.record == nullptr || field >= r.record->fields.size()) return nullptr;
    for (const ReadValue& v : r.values)
        if (v.field == &r.record->fields[field]) return &v;
    return nullptr;
}

void pointAt(Location& at, const ReadValue& v) {
    at.firstColumn = v.spot.first + 1;
    at.lastColumn = v.spot.last;
}

// A record's place, at its field when the line shows it.
Location recordAt(Sources& sources, const RecordPlace& place, std::size_t field) {
    Location at{place.file, place.line, 0, 0};
    const RecordLine r = sources.record(place.file, place.line);
    if (const ReadValue* v = valueOf(r, field)) pointAt(at, *v);
    return at;
}

std::string recordName(Sources& sources, const RecordPlace& place) {
    const RecordLine r = sources.record(place.file, place.line);
    return r.record != nullptr ? std::string(r.record->name) : "record";
}

void pointAtCausingField(Diagnostic& e, Sources& sources) {
    const auto it = std::find_if(std::begin(kCausingFields), std::end(kCausingFields),
                                 [&](const CausingField& c) { return c.code == e.code; });
    if (it == std::end(kCausingFields) || !e.location.hasLine()) return;
    const RecordLine r = sources.record(e.location.file, e.location.line);
    if (const ReadValue* v = valueOf(r, it->field)) pointAt(e.location, *v);
}

// The kilometre post whose position or reference is off the cells; the last record of each post
// is the one the build keeps.
Location offCellPost(Sources& sources, const std::string& file) {
    std::map<RecordId, Location> offPosts;
    for (const RecordLine& r : sources.lineFile()) {
        if (r.record == nullptr) continue;
        const RecordId id = r.record->id;
        if (id != RecordId::KilometrePostOne && id != RecordId::KilometrePostTwo &&
            id != RecordId::KilometrePostThree)
            continue;
        offPosts.erase(id);
        for (std::size_t field = 0; field < 2; ++field) {
            const ReadValue* v = valueOf(r, field);
            if (v == nullptr || !v->number || *v->number % kCellLength == 0) continue;
            Location at{file, v->line + 1, 0, 0};
            pointAt(at, *v);
            offPosts.emplace(id, at);
            break;
        }
    }
    Location first;
    for (const auto& [id, at] : offPosts)
        if (!first.hasLine() || at.line < first.line) first = at;
    return first;
}

void placeAtCells(Diagnostic& e, const CellOrigins::ErrorCells& cells, const CellOrigins& origins,
                  Sources& sources) {
    const RecordPlace* culprit = origins.objectRecord(cells.cell);
    if (isTakenCellError(e.code)) {
        if (culprit == nullptr) return;
        e.related = recordAt(sources, *culprit, 0);
        e.relatedMessage = "this " + recordName(sources, *culprit) + " record already holds cell " +
                           std::to_string(cells.cell);
        return;
    }
    if (culprit != nullptr && !e.location.hasLine()) e.location = recordAt(sources, *culprit, 0);
    const RecordPlace* other = origins.objectRecord(cells.other);
    if (other == nullptr) return;
    e.related = recordAt(sources, *other, 0);
    e.relatedMessage = e.code == 11 ? "the slow order whose warning board the signal stands before"
                                    : "the signal after the slow order's end board";
}

}  // namespace

void placeErrors(std::span<Diagnostic> errors, const CellOrigins& origins,
                 const SourceTexts& texts) {
    Sources sources(texts);
    for (Diagnostic& e : errors) {
        pointAtCausingField(e, sources);
        if (e.code == 2 && !e.location.hasLine())
            e.location = offCellPost(sources, texts.names.lineSourceFile());
    }
    for (const CellOrigins::ErrorCells& cells : origins.errorCells)
        if (cells.error < errors.size()) placeAtCells(errors[cells.error], cells, origins, sources);
}

Diagnostic placedStampingError(std::int32_t code, const CellOrigins& origins,
                               const SourceTexts& texts) {
    Sources sources(texts);
    const RecordPlace* culprit = origins.objectRecord(1, code == 1250 ? 1 : 2);
    return makeError(code, 0, culprit != nullptr ? recordAt(sources, *culprit, 0) : Location{});
}

}  // namespace scenario
