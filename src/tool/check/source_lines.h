// A source file seen line by line, as an editor shows it: which record a line holds and where
// each of its fields stands, read with the same field reader as the passes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "source/file_names.h"
#include "source/record_tables.h"

namespace scenario {

// The lines of a text, without their ends (CR LF, LF or a lone CR, as editors count them).
std::vector<std::string_view> textLines(std::string_view text);

// Columns count bytes from 0 on the line; `last` is one past the end.
struct FieldSpot {
    std::int32_t first = 0;
    std::int32_t last = 0;
};

struct ReadValue {
    const FieldSpec* field = nullptr;
    FieldSpot spot;
    std::optional<std::int64_t> number;  // a number field's value as read
    std::string text;                    // a name field's text
};

struct RecordLine {
    std::string firstField;
    FieldSpot firstSpot;
    bool header = false;   // a "[...]" line that names no record
    bool comment = false;  // a first field holding "-", passed over by the reader
    const RecordSpec* record = nullptr;
    std::vector<ReadValue> values;  // those that stand on the line
};

// The records a file of this kind holds.
std::span<const RecordSpec> recordsOf(SourceKind kind);

RecordLine readRecordLine(std::string_view line, SourceKind kind);

}  // namespace scenario
