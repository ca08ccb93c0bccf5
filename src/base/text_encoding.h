// The model's texts are Windows-1252 bytes; terminals, JSON and SVG want UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// Every byte as its Windows-1252 character in UTF-8; the five bytes the code page leaves
// undefined become U+FFFD.
std::string utf8FromWindows1252(std::string_view bytes);

// The same for a line shown on a terminal: a control byte is written as \xNN, so that a name read
// from a file can neither break the line or its table nor drive the terminal.
std::string printableFromWindows1252(std::string_view bytes);

// Whether a text is well-formed UTF-8, where its first character beyond ASCII starts and, when
// it is not UTF-8, where the first byte that breaks it stands.
struct Utf8Scan {
    bool valid = true;
    std::optional<std::size_t> firstNonAscii;
    std::size_t firstMalformed = 0;
};
Utf8Scan scanUtf8(std::string_view text);

// The length of the well-formed UTF-8 character at `i` and its code point in `c`; 0 when the
// bytes there are not one (overlong forms, surrogates and values past U+10FFFF included).
std::size_t decodeUtf8(std::string_view text, std::size_t i, char32_t& c);

// UTF-8 text as Windows-1252 bytes, refusing: nothing when a character has no byte in the code
// page or the text is not UTF-8, and then `refused` holds the offending bytes.
std::optional<std::string> windows1252FromUtf8OrRefuse(std::string_view text, std::string& refused);

// The same one UTF-16 code unit a byte, substituting "?", so that an editor's columns stay the
// bytes' columns: U+0080 to U+009F (what an editor that read the bytes as Latin-1 sends back)
// become the bytes 0x80 to 0x9F; a character the code page cannot hold becomes "?", two of them
// beyond U+FFFF (two code units); each byte that is not UTF-8 becomes one "?".
std::string windows1252FromUtf8OrQuestionMarks(std::string_view text);

}  // namespace scenario
