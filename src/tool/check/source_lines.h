// A source file as an editor shows it: which record a first field names and where each of its
// values stands, read with the same field reader and the same walker as the passes.
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
    const RecordSpec* record = nullptr;
    const FieldSpec* field = nullptr;
    std::int32_t line = 0;  // from 0; a record short of values takes the next line's
    FieldSpot spot;
    std::optional<std::int64_t> number;  // a number field's value as read
    std::string text;                    // a name field's text
};

struct RecordLine {
    std::string firstField;
    std::int32_t line = 0;  // from 0
    FieldSpot firstSpot;
    bool header = false;                 // a "[...]" field from which no record is read
    bool comment = false;                // a first field holding "-", passed over by the reader
    const RecordSpec* record = nullptr;  // the first record read from the field
    std::vector<ReadValue> values;       // read for it, and for a second record it names
};

// The records a file of this kind holds.
std::span<const RecordSpec> recordsOf(SourceKind kind);

// Every first field of a text, in reading order, as the passes' walk reads it: only the fields
// of a section are read as its records, and only a comment run's first fields are passed over.
// A value out of its field's range, where the pass stops, is left without a number and the walk
// goes on, since an author mid-edit still wants the rest of the file.
std::vector<RecordLine> walkSourceText(std::string_view text, SourceKind kind);

}  // namespace scenario
