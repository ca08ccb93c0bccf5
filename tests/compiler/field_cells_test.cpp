// What the record tables' typed facts come to: the cell a position lands in and the words the docs
// give for it, worked out from the rounding rules by hand.
#include "compiler/field_cells.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace scenario {
namespace {

const FieldSpec& fieldOf(RecordId id, std::string_view name) {
    for (const auto& table : {lineRecords(), trainRecords()})
        for (const RecordSpec& r : table)
            if (r.id == id)
                for (const FieldSpec& f : r.fields)
                    if (f.name == name) return f;
    throw std::logic_error("no such field");
}

TEST(FieldCells, EachRuleGivesItsCellAndItsWords) {
    struct Case {
        RecordId record;
        std::string_view field;
        std::int64_t value;
        std::optional<std::int64_t> cell;
        const char* becomes;
    };
    const Case cases[] = {
        {RecordId::Sign, "position", 2600, 53, "cell round(position / 50 + 1), kind 14"},
        {RecordId::SpeedLimit, "position", 3550, 71,
         "cell round(position / 50), the speed holds from it"},
        // Half-way rounds to the even cell: 1025 / 50 - 1 = 19.5.
        {RecordId::Tunnel, "fine", 1025, 20, "cell round(fine / 50 - 1), the tunnel's last"},
        {RecordId::Signal, "posizione", 1275, 26, "cell round(posizione / 50 + 1), kind 1"},
        {RecordId::SpeedLimit, "speed", 83, std::nullopt,
         "trackCells.speedLimit = round(speed / 5)"},
        {RecordId::Gradient, "gradient", -4, std::nullopt, "trackCells.gradient = gradient + 100"},
        {RecordId::Station, "position", 1750, std::nullopt, "position; a multiple of 50"},
        {RecordId::SlowOrder, "l", 300, std::nullopt, "end cell round((x + l) / 50 + 1), kind 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + std::to_string(c.value));
        const FieldSpec& f = fieldOf(c.record, c.field);
        EXPECT_EQ(cellOfValue(f, c.value), c.cell);
        EXPECT_EQ(becomesText(f), c.becomes);
    }
}

}  // namespace
}  // namespace scenario
