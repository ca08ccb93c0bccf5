// Reading one line of a source file into its record and fields.
#include "tool/check/source_lines.h"

#include "base/failures.h"
#include "compiler/pass_common.h"
#include "source/field_reader.h"

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

RecordLine readRecordLine(std::string_view line, SourceKind kind) {
    RecordLine read;
    const std::size_t start = line.find_first_not_of(" \t");
    if (start != std::string_view::npos && line[start] == '[') {
        const std::size_t end = line.find(']', start);
        read.header = true;
        read.firstField = std::string(line.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end + 1 - start));
        read.firstSpot = {static_cast<std::int32_t>(start),
                          static_cast<std::int32_t>(start + read.firstField.size())};
        return read;
    }
    FieldReader reader{std::string(line)};
    try {
        read.firstField = reader.readText();
        read.firstSpot = spotOf(reader.location());
        if (read.firstField.find('-') != std::string::npos) {
            read.comment = true;
            return read;
        }
        const RecordMatches first = recordMatches(read.firstField);
        for (const RecordSpec& r : recordsOf(kind)) {
            if (!first.named(r)) continue;
            read.record = &r;
            break;
        }
        if (read.record == nullptr) return read;
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

std::optional<std::int64_t> cellOf(const FieldSpec& field, std::int64_t value) {
    const std::string name(field.name);
    if (field.becomes.find(std::string("round(") + name + " / 50 + 1)") != std::string_view::npos)
        return cellAfter(value);
    if (field.becomes.find(std::string("round(") + name + " / 50)") != std::string_view::npos)
        return cellAt(value);
    return std::nullopt;
}

}  // namespace scenario
