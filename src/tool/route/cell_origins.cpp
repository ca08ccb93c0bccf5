// Attributes cell values to source records: the cells a record asked for are compared with what
// they held before it, once the record has ended, so every write through a kept reference counts.
#include "tool/route/cell_origins.h"

namespace scenario {
namespace {

// Fields that every cell carries as a profile, indexed as in cellFields.
constexpr std::size_t kSpeedField = 8;
constexpr std::size_t kGradientField = 9;
constexpr std::size_t kAdhesionField = 10;
constexpr std::array<std::size_t, 3> kProfileFields{kGradientField, kSpeedField, kAdhesionField};

std::array<std::int32_t, 3> currentProfileValues(const ScenarioBuild& build) {
    return {build.currentGradient, build.currentSpeed, build.currentAdhesion};
}

}  // namespace

std::array<std::int32_t, kCellFieldCount> cellFields(const TrackCell& c) {
    return {c.kind,         c.value1,     c.value2,     c.value3,   c.value4,  c.signalTime,
            c.approachCode, c.tunnelKind, c.speedLimit, c.gradient, c.adhesion};
}

CellOrigins::CellOrigins(ScenarioBuild& build) : build_(build) {
    build_.cellWatcher = this;
}

CellOrigins::CellOrigins(const CellOrigins& kept, ScenarioBuild& build)
    : records(kept.records),
      fieldRecord(kept.fieldRecord),
      errorCells(kept.errorCells),
      build_(build),
      seen_(kept.seen_),
      touched_(kept.touched_),
      profileRecord_(kept.profileRecord_),
      profileValue_(kept.profileValue_) {
    build_.cellWatcher = this;
}

CellOrigins::~CellOrigins() {
    build_.cellWatcher = nullptr;
}

void CellOrigins::cellTouched(std::int64_t index) {
    touched_.push_back(index);
}

std::int32_t CellOrigins::placeOfRecord(const Location& record) {
    if (!record.hasLine()) return kNone;
    if (records.empty() || records.back().file != record.file || records.back().line != record.line)
        records.push_back({record.file, record.line});
    return static_cast<std::int32_t>(records.size() - 1);
}

void CellOrigins::recordEnds(const Location& record) {
    settle(placeOfRecord(record));
}

void CellOrigins::errorAtCells(std::size_t error, std::int64_t cell, std::int64_t other) {
    errorCells.push_back({error, cell, other});
}

const RecordPlace* CellOrigins::objectRecord(std::int64_t cell, std::size_t field) const {
    if (cell < 0 || static_cast<std::size_t>(cell) >= fieldRecord.size()) return nullptr;
    const std::int32_t record = fieldRecord[static_cast<std::size_t>(cell)][field];
    return record == kNone ? nullptr : &records[static_cast<std::size_t>(record)];
}

void CellOrigins::finish() {
    settle(kNone);
}

void CellOrigins::settle(std::int32_t record) {
    const std::vector<TrackCell>& cells = build_.trackCells;
    if (seen_.size() != cells.size()) {
        seen_.assign(cells.size(), TrackCell{});
        fieldRecord.assign(cells.size(), {});
        for (auto& fields : fieldRecord) fields.fill(kNone);
    }
    for (const std::int64_t index : touched_) {
        const auto i = static_cast<std::size_t>(index);
        if (i >= cells.size()) continue;
        const auto now = cellFields(cells[i]);
        const auto before = cellFields(seen_[i]);
        for (std::size_t f = 0; f < kCellFieldCount; ++f) {
            if (now[f] == before[f]) continue;
            fieldRecord[i][f] = record;
            for (std::size_t p = 0; p < kProfileFields.size(); ++p)
                if (kProfileFields[p] == f) fieldRecord[i][f] = profileRecord_[p];
        }
        seen_[i] = cells[i];
    }
    touched_.clear();
    const auto values = currentProfileValues(build_);
    for (std::size_t p = 0; p < values.size(); ++p) {
        if (values[p] == profileValue_[p]) continue;
        profileValue_[p] = values[p];
        profileRecord_[p] = record;
    }
}

}  // namespace scenario
