// One problem found in a build, as every layer records it and every front end shows it: the
// record, the cap on how many warnings are kept, and the compiler-style text form.
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
    std::optional<std::int32_t>
        position;             // route position in metres, for the errors that record one
    std::string message;      // Windows-1252, as the sources are
    std::string detail;       // what stopped the reading, for error 25
    Location related;         // the record, in the other file, that the error comes from
    bool afterFirst = false;  // an error found after the build's first one
    std::string suggestion;   // where the fix is obvious: the text for the location's columns
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

Diagnostic makeWarning(std::string_view name, Location at, std::string message);
// An error with its meaning as message; the position is kept only for errors that record one.
Diagnostic makeError(std::int32_t code, std::int32_t position, Location at);

// "FILE:LINE: warning: MESSAGE", or "FILE:LINE: error N: MEANING[: DETAIL][ (at P m)]". The file
// part appears only when `fileShown` is not empty and the location has a line.
std::string diagnosticText(const Diagnostic& d, std::string_view fileShown);

// The message of a stamping error: " Errore n. 1250" for the number text "1250".
std::string stampingErrorText(std::string_view number);

}  // namespace scenario
