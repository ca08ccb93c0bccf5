// Which source record wrote each field of each cell: watches a compile of sources in memory and
// names, for every value it leaves, the record (file and line) it came from.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/track_model.h"

namespace scenario {

inline constexpr std::size_t kCellFieldCount = 11;  // kind .. adhesion, in the file's order

struct RecordPlace {
    std::string file;  // the build's name of the source file
    std::int32_t line;
};

class CellOrigins final : public CellWatcher {
  public:
    explicit CellOrigins(ScenarioBuild& build);
    // Watches `build`, a copy of the build `kept` watched, from where `kept` stands.
    CellOrigins(const CellOrigins& kept, ScenarioBuild& build);
    ~CellOrigins();
    CellOrigins(const CellOrigins&) = delete;
    CellOrigins& operator=(const CellOrigins&) = delete;

    void cellTouched(std::int64_t index) override;
    void recordEnds(const Location& record) override;
    void errorAtCells(std::size_t error, std::int64_t cell, std::int64_t other) override;
    // Settles what was written after the last record: values of no source line.
    void finish();

    static constexpr std::int32_t kNone = -1;
    std::vector<RecordPlace> records;
    // For each cell and field, an index into `records`, or kNone.
    std::vector<std::array<std::int32_t, kCellFieldCount>> fieldRecord;

    struct ErrorCells {
        std::size_t error;  // index into the build's errors
        std::int64_t cell;
        std::int64_t other;  // -1 for none
    };
    std::vector<ErrorCells> errorCells;

    // The record that put the object into a cell, or the one that wrote one field of it.
    const RecordPlace* objectRecord(std::int64_t cell, std::size_t field = 0) const;

  private:
    std::int32_t placeOfRecord(const Location& record);
    void settle(std::int32_t record);

    ScenarioBuild& build_;
    std::vector<TrackCell> seen_;
    std::vector<std::int64_t> touched_;
    // A profile's cells are written when the next record of its list is read, with the value of
    // the one before: the record that last changed the value is where it came from.
    std::array<std::int32_t, 3> profileRecord_{kNone, kNone, kNone};
    std::array<std::int32_t, 3> profileValue_{0, 0, 0};
};

// The fields of a cell as numbers, in the file's order.
std::array<std::int32_t, kCellFieldCount> cellFields(const TrackCell& cell);

}  // namespace scenario
