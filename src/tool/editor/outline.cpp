// The outline of a source file: its sections, and under them the stations by name, the signals
// and the tunnels.
#include <algorithm>
#include <string>

#include "tool/check/source_lines.h"
#include "tool/editor/assist.h"

namespace scenario {
namespace {

std::string numberAt(const RecordLine& read, std::size_t index) {
    if (index >= read.values.size() || !read.values[index].number) return "?";
    return std::to_string(*read.values[index].number);
}

std::optional<OutlineEntry> objectOf(const RecordLine& read) {
    if (read.record == nullptr) return std::nullopt;
    OutlineEntry entry;
    entry.start = {read.line, read.firstSpot.first, read.firstSpot.last};
    entry.end = entry.start;
    if (!read.values.empty())
        entry.end = {read.values.back().line, read.values.back().spot.first,
                     read.values.back().spot.last};
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

// A section runs to the end of the line before the next one's header, the last to the text's end.
void endSections(std::vector<OutlineEntry>& sections, const std::vector<std::string_view>& lines) {
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const auto lastLine = static_cast<std::int32_t>(lines.size()) - 1;
        const std::int32_t next =
            i + 1 < sections.size() ? sections[i + 1].start.line - 1 : lastLine;
        const std::int32_t last = std::min(std::max(next, sections[i].start.line), lastLine);
        sections[i].end = {last, 0,
                           static_cast<std::int32_t>(lines[static_cast<std::size_t>(last)].size())};
    }
}

}  // namespace

std::vector<OutlineEntry> outlineOf(std::string_view text, SourceKind kind) {
    std::vector<OutlineEntry> sections;
    std::vector<OutlineEntry> loose;  // objects before the first section
    for (const RecordLine& read : walkSourceText(text, kind)) {
        if (read.header) {
            OutlineEntry section;
            section.name = read.firstField;
            section.start = {read.line, read.firstSpot.first, read.firstSpot.last};
            sections.push_back(std::move(section));
        }
        std::optional<OutlineEntry> object = objectOf(read);
        if (!object) continue;
        (sections.empty() ? loose : sections.back().children).push_back(std::move(*object));
    }
    endSections(sections, textLines(text));
    loose.insert(loose.end(), std::make_move_iterator(sections.begin()),
                 std::make_move_iterator(sections.end()));
    return loose;
}

}  // namespace scenario
