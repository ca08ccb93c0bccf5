// What a record field's typed facts come to in the model: the cell a position lands in, and the
// words the docs and the editor give for where a value goes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "source/record_tables.h"

namespace scenario {

// The cell a value of `field` lands in, where the field is a position rounded to a cell.
std::optional<std::int64_t> cellOfValue(const FieldSpec& field, std::int64_t value);

// Where a value goes, as the record tables' docs give it: the cell or stored number its map says,
// then the field's own words.
std::string becomesText(const FieldSpec& field);

}  // namespace scenario
