// Reading one line of a source file into its record and fields.
#include "tool/check/source_lines.h"

#include "base/failures.h"
#include "source/field_reader.h"
#include "source/record_walker.h"

namespace scenario {
namespace {

FieldSpot spotOf(const Location& at) {
    return {at.firstColumn - 1, at.lastColumn};
}

std::optional<std::int64_t> readNumber(FieldReader& reader, FieldType type) {
    switch (type) {
        case FieldType::Long:
            return reader.readLong();
        case FieldType::Integer:
            return reader.readInteger();
        case FieldType::Byte:
            return reader.readByte();
        case FieldType::Name:
            break;
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string_view> textLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

std::span<const RecordSpec> recordsOf(SourceKind kind) {
    if (kind == SourceKind::Line) return lineRecords();
    if (kind == SourceKind::Train) return trainRecords();
    return {};
}

// The line's first field is judged as the walker judges it: a comment holds "-", and a header
// that names a record ("[pendenza]") is that record.
RecordLine readRecordLine(std::string_view line, SourceKind kind) {
    RecordLine read;
    FieldReader reader{std::string(line)};
    try {
        read.firstField = reader.readText();
        read.firstSpot = spotOf(reader.location());
        if (isCommentField(read.firstField)) {
            read.comment = true;
            return read;
        }
        read.record = firstRecordNamed(read.firstField, recordsOf(kind));
        if (read.record == nullptr) {
            read.header = looksLikeHeader(read.firstField);
            return read;
        }
        for (const FieldSpec& field : read.record->fields) {
            if (reader.atEnd()) break;
            ReadValue value{&field, {}, std::nullopt, {}};
            if (field.type == FieldType::Name)
                value.text = reader.readName();
            else
                value.number = readNumber(reader, field.type);
            value.spot = spotOf(reader.location());
            read.values.push_back(std::move(value));
        }
    } catch (const RunTimeFailure&) {
        // A value out of its type's range ends what the line shows.
    }
    return read;
}

}  // namespace scenario
