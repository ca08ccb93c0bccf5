// Hover on a source line: the record under a first field, the field and its value under a value.
#include <string>

#include "compiler/field_cells.h"
#include "tool/check/source_lines.h"
#include "tool/editor/assist.h"

namespace scenario {
namespace {

bool under(const FieldSpot& spot, std::int32_t column) {
    return column >= spot.first && column < std::max(spot.last, spot.first + 1);
}

std::string_view whereRead(RecordSection section) {
    switch (section) {
        case RecordSection::LineGeneral:
            return "line source record, read inside the [generale] section";
        case RecordSection::LineRoute:
            return "line source record, read after the [generale] section";
        case RecordSection::Train:
            return "train source record, read after [generale]";
    }
    return {};
}

std::string rangeText(const FieldSpec& field) {
    if (field.type == FieldType::Name) return "a name, at most 65535 bytes";
    std::string text = std::to_string(field.lowest) + " to " + std::to_string(field.highest);
    if (!field.unit.empty()) text += std::string(" ").append(field.unit);
    return text;
}

std::string recordText(const RecordSpec& record) {
    std::string text = std::string("**").append(record.name) +
                       "**: " + std::string(whereRead(record.section)) + "\n\nFields:";
    for (const FieldSpec& field : record.fields) {
        text += std::string(" ").append(field.name);
        if (!field.unit.empty()) text += std::string(" (").append(field.unit) + ")";
        text += &field == &record.fields.back() ? "" : ",";
    }
    if (!record.note.empty()) text += "\n\n" + std::string(record.note);
    return text;
}

std::string valueText(const RecordSpec& record, const ReadValue& value, std::size_t index) {
    const FieldSpec& field = *value.field;
    std::string shown;
    if (value.number) {
        shown = std::to_string(*value.number);
        if (!field.unit.empty()) shown += std::string(" ").append(field.unit);
        if (const std::optional<std::int64_t> cell = cellOfValue(field, *value.number))
            shown += std::string(", cell ") + std::to_string(*cell);
    } else {
        shown = value.text;
    }
    return std::string("**").append(field.name) + "**: " + shown + "\n\n" +
           std::string(record.name) + ", field " + std::to_string(index + 1) + " of " +
           std::to_string(record.fields.size()) + ": " + rangeText(field) +
           "\n\nBecomes: " + becomesText(field);
}

}  // namespace

std::optional<HoverText> hoverAt(std::string_view text, SourceKind kind, std::int32_t line,
                                 std::int32_t column) {
    const auto spotOf = [&](const FieldSpot& s) { return TextSpot{line, s.first, s.last}; };
    for (const RecordLine& read : walkSourceText(text, kind)) {
        if (read.line == line && under(read.firstSpot, column)) {
            if (read.header)
                return HoverText{std::string("**") + read.firstField +
                                     "**: a group header. The reader keeps no sections: a record "
                                     "may stand anywhere after [generale].",
                                 spotOf(read.firstSpot)};
            if (read.comment)
                return HoverText{"A comment: a first field holding \"-\" is passed over.",
                                 spotOf(read.firstSpot)};
            if (read.record == nullptr) return std::nullopt;
            return HoverText{recordText(*read.record), spotOf(read.firstSpot)};
        }
        for (const ReadValue& value : read.values) {
            if (value.line != line || !under(value.spot, column)) continue;
            const auto index = static_cast<std::size_t>(value.field - value.record->fields.data());
            return HoverText{valueText(*value.record, value, index), spotOf(value.spot)};
        }
    }
    return std::nullopt;
}

}  // namespace scenario
