// The outline of a source file: its sections, and under them the stations by name, the signals
// and the tunnels.
#include <string>

#include "tool/check/source_lines.h"
#include "tool/editor/assist.h"

namespace scenario {
namespace {

std::string numberAt(const RecordLine& read, std::size_t index) {
    if (index >= read.values.size() || !read.values[index].number) return "?";
    return std::to_string(*read.values[index].number);
}

std::optional<OutlineEntry> objectOf(const RecordLine& read, std::int32_t line) {
    if (read.record == nullptr) return std::nullopt;
    OutlineEntry entry;
    entry.start = {line, read.firstSpot.first, read.firstSpot.last};
    entry.end = entry.start;
    if (!read.values.empty()) entry.end.last = read.values.back().spot.last;
    switch (read.record->id) {
        case RecordId::Station:
            entry.kind = OutlineKind::Station;
            entry.name = read.values.size() == read.record->fields.size() ? read.values.back().text
                                                                          : std::string("station");
            entry.detail = numberAt(read, 0) + " m";
            break;
        case RecordId::Signal:
            entry.kind = OutlineKind::Signal;
            entry.name = std::string("signal ") + numberAt(read, 0) + " m";
            break;
        case RecordId::Tunnel:
            entry.kind = OutlineKind::Tunnel;
            entry.name =
                std::string("tunnel ") + numberAt(read, 0) + " to " + numberAt(read, 1) + " m";
            break;
        default:
            return std::nullopt;
    }
    if (entry.name.empty()) entry.name = "station";
    return entry;
}

}  // namespace

std::vector<OutlineEntry> outlineOf(std::string_view text, SourceKind kind) {
    const std::vector<std::string_view> lines = textLines(text);
    std::vector<OutlineEntry> sections;
    std::vector<OutlineEntry> loose;  // objects before the first section
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto line = static_cast<std::int32_t>(i);
        const RecordLine read = readRecordLine(lines[i], kind);
        if (read.header) {
            OutlineEntry section;
            section.name = read.firstField;
            section.start = {line, read.firstSpot.first, read.firstSpot.last};
            sections.push_back(std::move(section));
        }
        if (!sections.empty())
            sections.back().end = {line, 0, static_cast<std::int32_t>(lines[i].size())};
        std::optional<OutlineEntry> object = objectOf(read, line);
        if (!object) continue;
        (sections.empty() ? loose : sections.back().children).push_back(std::move(*object));
    }
    loose.insert(loose.end(), std::make_move_iterator(sections.begin()),
                 std::make_move_iterator(sections.end()));
    return loose;
}

}  // namespace scenario
