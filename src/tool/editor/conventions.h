// How the writer of the built-in scenario lays out each source file: its group headers in order,
// the header each record stands under, and each record's first field as written. Taken from the
// built-in texts themselves, so that editors offer what the writer writes.
#pragma once

#include <string>
#include <vector>

#include "source/record_tables.h"
#include "tool/editor/workspace.h"

namespace scenario {

struct WrittenRecord {
    const RecordSpec* record = nullptr;
    std::string firstField;  // as the writer spells it; the keywords when the writer has none
    std::string group;       // the header most of its lines stand under; empty when none
};

struct WriterConventions {
    std::vector<std::string> headers;    // "[generale]", ...
    std::vector<WrittenRecord> records;  // in the table's order
};

const WriterConventions& writerConventions(SourceKind kind);

}  // namespace scenario
