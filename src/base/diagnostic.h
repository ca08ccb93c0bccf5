// One problem found in a build, as every layer records it: the record with its place in a source
// file, and the cap on how many warnings are kept. The report layer gives errors their meanings and
// writes the text form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scenario {

// A place in a source file. Columns count bytes from 1; 0 means not known. A location without a
// file or a line points at no source line.
struct Location {
    std::string file;  // the name the build gives the file
    std::int32_t line = 0;
    std::int32_t firstColumn = 0;
    std::int32_t lastColumn = 0;

    bool hasLine() const { return !file.empty() && line > 0; }
};

enum class Severity { Warning, Error };

struct Diagnostic {
    Severity severity = Severity::Error;
    Location location;
    std::int32_t code = 0;  // an error's number; 0 for a warning
    std::string name;       // a warning's name; empty for an error
    // Route position in metres. The compile records errorPosition with every error; the report
    // keeps it only for the errors that record one.
    std::optional<std::int32_t> position;
    std::string message;      // Windows-1252, as the sources are; an error's meaning when empty
    std::string detail;       // what stopped the reading, for error 25
    Location related;         // the record, in the other file, that the error comes from
    bool afterFirst = false;  // an error found after the build's first one
    std::string suggestion;   // the keyword or header a "did you mean" offers, as a fix
    // What the related record is to the error; empty for the record an error was carried from.
    std::string relatedMessage;
};

// Names of the warnings the reader and the passes give.
inline constexpr std::string_view kNumberTextWarning = "number-text";
inline constexpr std::string_view kExtraFieldsWarning = "extra-fields";
inline constexpr std::string_view kMisplacedKeywordWarning = "misplaced-keyword";
inline constexpr std::string_view kTooManyWarnings = "too-many-warnings";

// A file gone wrong could give a warning a line: past this many, one last warning says that the
// rest are not listed, so that memory stays a small multiple of the file's size.
inline constexpr std::size_t kMostWarnings = 1000;

inline void keepWarning(std::vector<Diagnostic>& list, Diagnostic warning) {
    if (list.size() > kMostWarnings) return;
    if (list.size() == kMostWarnings) {
        warning.name = kTooManyWarnings;
        warning.message = "further warnings are not listed";
    }
    list.push_back(std::move(warning));
}

inline Diagnostic makeWarning(std::string_view name, Location at, std::string message) {
    Diagnostic d;
    d.severity = Severity::Warning;
    d.location = std::move(at);
    d.name = name;
    d.message = std::move(message);
    return d;
}

// An error as the compile records it: its number, the position it left, and where.
inline Diagnostic recordedError(std::int32_t code, std::int32_t position, Location at) {
    Diagnostic d;
    d.location = std::move(at);
    d.code = code;
    d.position = position;
    return d;
}

}  // namespace scenario
