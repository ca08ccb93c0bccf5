// The record fields' typed facts in the model's terms.
#include "compiler/field_cells.h"

#include <cstdlib>

#include "compiler/pass_common.h"

namespace scenario {

std::optional<std::int64_t> cellOfValue(const FieldSpec& field, std::int64_t value) {
    switch (field.map.cell) {
        case CellRule::At:
            return cellAt(value);
        case CellRule::After:
            return cellAfter(value);
        case CellRule::Before:
            return roundToWhole(static_cast<double>(value) / kCellLength - 1.0);
        case CellRule::None:
        case CellRule::Whole:
            break;
    }
    return std::nullopt;
}

std::string becomesText(const FieldSpec& field) {
    const ValueMap& map = field.map;
    const std::string name(field.name);
    const std::string said(field.becomes);
    const std::string cell = std::to_string(kCellLength);
    if (roundsToCell(map.cell)) {
        const int offset = cellOffset(map.cell);
        std::string text = "cell round(" + name + " / " + cell;
        if (offset != 0) text += (offset > 0 ? " + " : " - ") + std::to_string(std::abs(offset));
        text += ")";
        return said.empty() ? text : text + ", " + said;
    }
    if (map.cell == CellRule::Whole) return said + "; a multiple of " + cell;
    if (map.scale == 1 && map.offset == 0) return said;
    std::string value =
        map.scale == 1 ? name : "round(" + name + " / " + std::to_string(map.scale) + ")";
    if (map.offset != 0)
        value += (map.offset > 0 ? " + " : " - ") + std::to_string(std::abs(map.offset));
    return said + " = " + value;
}

}  // namespace scenario
