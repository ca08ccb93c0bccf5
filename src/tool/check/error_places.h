// Where the compile's errors come from, for the author: the field that caused each, the record of
// the object already in a taken cell, the records a signal-spacing error is about, the kilometre
// post that is off the cells, and the record whose object stands where the stamps go.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "base/diagnostic.h"
#include "source/file_names.h"
#include "tool/route/cell_origins.h"

namespace scenario {

// The two source texts a build read, under the build's names of their files.
struct SourceTexts {
    ScenarioIdentity names;
    std::string_view line;
    std::string_view train;
};

// Places the errors of a build compiled under `origins`, the first of its list.
void placeErrors(std::span<Diagnostic> errors, const CellOrigins& origins,
                 const SourceTexts& texts);

// The stamping error, at the record whose object holds the stamp's field of cell 1 if one does.
Diagnostic placedStampingError(std::int32_t code, const CellOrigins& origins,
                               const SourceTexts& texts);

}  // namespace scenario
