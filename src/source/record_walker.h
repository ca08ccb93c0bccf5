// Walks a source file's first fields as the passes read them: the preamble up to [generale], the
// line file's general section with its long comment runs, then the records. Every reader of the
// files (the passes, the checker, the editor) takes from here which fields are comments, where a
// section ends and which records a field names.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "base/code_page.h"
#include "source/record_tables.h"

namespace scenario {

// The comment fields passed over before a first field: more in the line file's general section.
inline constexpr int kGeneralCommentRun = 10;
inline constexpr int kRecordCommentRun = 2;

inline bool isCommentField(std::string_view field) {
    return contains(field, "-");
}

inline bool isGeneralHeader(std::string_view field) {
    return containsNoCase(field, "[generale]");
}

// Any field holding both brackets ends the line file's general section, unless it is a comment
// that starts with "-": "sfondo [x]" ends it as surely as "[curve]".
inline bool endsGeneralSection(std::string_view field) {
    const std::size_t start = field.find_first_not_of(" \t");
    if (start != std::string_view::npos && field[start] == '-') return false;
    return contains(field, "[") && contains(field, "]");
}

// A field that an author reads as a group header, "[...]"; whether it names a record as well is
// for the record tables to say.
inline bool looksLikeHeader(std::string_view field) {
    const std::size_t start = field.find_first_not_of(" \t");
    return start != std::string_view::npos && field[start] == '[' && contains(field, "]");
}

// The section whose records a first field read at `place` names; the preambles name none.
inline std::optional<RecordSection> sectionAt(SourcePlace place) {
    switch (place) {
        case SourcePlace::LineGeneral:
            return RecordSection::LineGeneral;
        case SourcePlace::LineRoute:
            return RecordSection::LineRoute;
        case SourcePlace::TrainRecords:
            return RecordSection::Train;
        case SourcePlace::LinePreamble:
        case SourcePlace::TrainPreamble:
            break;
    }
    return std::nullopt;
}

// What a reader does after a record.
enum class RecordFlow {
    Next,     // go on with the next first field
    EndLoop,  // leave the loop; the end of the pass still runs
    Exit,     // the pass stopped on an error: its file is closed and deleted
};

// Tests a first field against every record of a section, in table order, and reads each record
// it names: a field that holds two records' keywords reads both. Every test is made before the
// first read, since a record may replace the field.
template <typename Read>
RecordFlow readRecordsNamedBy(std::string_view field, std::span<const RecordSpec> table,
                              RecordSection section, Read read) {
    const RecordMatches named = recordMatches(field);
    for (const RecordSpec& record : table) {
        if (record.section != section || !named.named(record)) continue;
        const RecordFlow flow = read(record);
        if (flow != RecordFlow::Next) return flow;
    }
    return RecordFlow::Next;
}

// The first record of a file's table that a field names, whatever its section; null for none.
inline const RecordSpec* firstRecordNamed(std::string_view field,
                                          std::span<const RecordSpec> table) {
    const RecordMatches named = recordMatches(field);
    for (const RecordSpec& record : table)
        if (named.named(record)) return &record;
    return nullptr;
}

enum class WalkedFile { Line, Train };

// A first field that a reading examined, and where: what the walks of the passes and of the
// checker are compared by.
struct ExaminedField {
    SourcePlace place;
    std::int32_t line = 0;
    std::int32_t column = 0;
    bool operator==(const ExaminedField&) const = default;
};

// How a walk ended.
enum class WalkEnd {
    NoGeneral,  // no [generale]: in the line file, none before its last field
    Stopped,    // a record stopped the reading with RecordFlow::Exit
    Done,       // the file's end, or a record's RecordFlow::EndLoop
};

// Walks the file that `source` reads. The source has `bool atEnd()` and
// `std::string_view readFirstField()`, the field valid until the next read. The visitor has
// `RecordFlow examine(SourcePlace, std::string_view field)`, told of every first field that is
// not passed over as a comment or the header, `void generalStarts()`, told at the header, and
// `void routeStarts()`, told when the line file's general section is over. The field that exhausts
// the file is never examined, except in the train file's preamble.
template <typename Source, typename Visitor>
WalkEnd walkRecords(Source& source, WalkedFile file, Visitor& visitor) {
    const bool line = file == WalkedFile::Line;
    for (;;) {
        if (source.atEnd()) return WalkEnd::NoGeneral;
        const std::string_view field = source.readFirstField();
        if (line && source.atEnd()) return WalkEnd::NoGeneral;
        if (isGeneralHeader(field)) {
            visitor.generalStarts();
            break;
        }
        visitor.examine(line ? SourcePlace::LinePreamble : SourcePlace::TrainPreamble, field);
    }
    if (line) {
        for (;;) {
            if (source.atEnd()) break;
            std::string_view field = source.readFirstField();
            if (source.atEnd()) break;
            // Comment runs here are read without the end-of-file test: a read past the end fails.
            for (int i = 0; i < kGeneralCommentRun && isCommentField(field); ++i)
                field = source.readFirstField();
            const bool ends = endsGeneralSection(field);
            if (visitor.examine(SourcePlace::LineGeneral, field) == RecordFlow::Exit)
                return WalkEnd::Stopped;
            if (ends) break;
        }
        visitor.routeStarts();
    }
    const SourcePlace place = line ? SourcePlace::LineRoute : SourcePlace::TrainRecords;
    for (;;) {
        if (source.atEnd()) return WalkEnd::Done;
        std::string_view field = source.readFirstField();
        for (int i = 0; i < kRecordCommentRun && !source.atEnd() && isCommentField(field); ++i)
            field = source.readFirstField();
        if (source.atEnd()) return WalkEnd::Done;
        const RecordFlow flow = visitor.examine(place, field);
        if (flow == RecordFlow::Exit) return WalkEnd::Stopped;
        if (flow == RecordFlow::EndLoop) return WalkEnd::Done;
    }
}

}  // namespace scenario
