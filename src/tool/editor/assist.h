// What an editor offers on a source file besides its diagnostics: hover, completion, the outline
// and quick fixes. Texts in and out are Windows-1252; lines and columns count from 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/diagnostic.h"
#include "tool/editor/workspace.h"

namespace scenario {

// A stretch of one line, `last` one past its end.
struct TextSpot {
    std::int32_t line = 0;
    std::int32_t first = 0;
    std::int32_t last = 0;
};

struct HoverText {
    std::string markdown;
    TextSpot spot;
};

// On a record's first field, what the record is; on a value, its field's name, unit, range and
// what it becomes, with the value as read ("posizione: 1000 m, cell 21").
std::optional<HoverText> hoverAt(std::string_view text, SourceKind kind, std::int32_t line,
                                 std::int32_t column);

struct CompletionItem {
    std::string label;    // the first field as the writer spells it, or a "[...]" header
    std::string detail;   // what the record is
    std::string snippet;  // the line with a placeholder for each field
    std::string plain;    // the same without placeholders
    std::string sortKey;  // the cursor's group first, then the other records, then headers
};

std::vector<CompletionItem> completionsAt(std::string_view text, SourceKind kind,
                                          std::int32_t line);

enum class OutlineKind { Section, Station, Signal, Tunnel };

struct OutlineEntry {
    std::string name;
    std::string detail;
    OutlineKind kind = OutlineKind::Section;
    TextSpot start;  // the line's first field
    TextSpot end;    // where it ends: a section at its last line's end
    std::vector<OutlineEntry> children;
};

// Sections ("[...]" lines) with the stations, signals and tunnels under them.
std::vector<OutlineEntry> outlineOf(std::string_view text, SourceKind kind);

struct TextFix {
    std::string title;
    TextSpot spot;
    std::string replacement;
};

// The fix a diagnostic suggests, where it names one and where its columns are known.
std::optional<TextFix> fixFor(const Diagnostic& d);

}  // namespace scenario
