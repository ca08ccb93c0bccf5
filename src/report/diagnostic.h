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

// The scenario program prints the plain form; the tool's form adds the field's column, a
// warning's name, the record an error was carried from or a note at the related record, and
// shows the Windows-1252 texts as UTF-8 with control bytes escaped.
enum class TextForm { Program, Tool };

// "FILE:LINE: warning: MESSAGE", or "FILE:LINE: error N: MEANING[: DETAIL][ (at P m)]". The file
// part appears only when `fileShown` is not empty and the location has a line. In the tool's form
// "FILE:LINE[:COL]: warning: MESSAGE [name]" or "FILE:LINE[:COL]: error N: ...", the related
// record named with `relatedShown`: an error carried from the other file says so, any other
// related record follows on a line of its own, "FILE:LINE[:COL]: note: ...".
std::string diagnosticText(const Diagnostic& d, std::string_view fileShown,
                           TextForm form = TextForm::Program, std::string_view relatedShown = {});
// The same text without its place and kind, for a reader that shows those apart, as an editor
// does: "MESSAGE", or "MEANING[: DETAIL][ (at P m)]".
std::string diagnosticMessage(const Diagnostic& d);

// What the related record is to the diagnostic: the record an error was carried from unless it
// says otherwise.
std::string relatedMessage(const Diagnostic& d);

// The message of a stamping error: " Errore n. 1250" for the number text "1250".
std::string stampingErrorText(std::string_view number);

}  // namespace scenario
