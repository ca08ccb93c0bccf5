// How a recorded problem is shown: an error's meaning and whether its position counts, and the
// compiler-style text form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/diagnostic.h"

namespace scenario {

// The error as shown: its meaning as message when it has none of its own, and the position only
// for the errors that record one.
Diagnostic describedError(Diagnostic d);
// An error with its meaning as message; the position is kept only for errors that record one.
Diagnostic makeError(std::int32_t code, std::int32_t position, Location at);

// "FILE:LINE: warning: MESSAGE", or "FILE:LINE: error N: MEANING[: DETAIL][ (at P m)]". The file
// part appears only when `fileShown` is not empty and the location has a line.
std::string diagnosticText(const Diagnostic& d, std::string_view fileShown);
// The same text without its place and kind, for a reader that shows those apart, as an editor
// does: "MESSAGE", or "MEANING[: DETAIL][ (at P m)]".
std::string diagnosticMessage(const Diagnostic& d);

// What the related record is to the diagnostic: the record an error was carried from unless it
// says otherwise.
std::string relatedMessage(const Diagnostic& d);

// The message of a stamping error: " Errore n. 1250" for the number text "1250".
std::string stampingErrorText(std::string_view number);

}  // namespace scenario
