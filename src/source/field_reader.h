// Reads a source file's bytes as a stream of fields: text fields end at a comma or a line end,
// numbers also at a blank. Reads past the end and out-of-range numbers are run-time failures.
// The reader alone knows where a field stands, and hands that out as a Location.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/diagnostic.h"
#include "source/separator_masks.h"

namespace scenario {

class FieldReader {
  public:
    explicit FieldReader(std::string bytes, std::string fileName = {});
    // Reads bytes that the caller keeps, unchanged, for as long as the reader reads them.
    struct Borrowed {};
    FieldReader(Borrowed, std::string_view bytes, std::string fileName = {});
    // The reader points into its own bytes.
    FieldReader(const FieldReader&) = delete;
    FieldReader& operator=(const FieldReader&) = delete;

    // A text field: blanks before it are skipped, blanks at its end dropped. The view holds
    // until the reader goes.
    std::string_view readTextView();
    std::string readText() { return std::string(readTextView()); }
    // A text that the model stores as a name: at most 65535 bytes, the files' length limit.
    std::string_view readNameView();
    std::string readName() { return std::string(readNameView()); }

    std::int32_t readLong();
    std::int16_t readInteger();
    std::uint8_t readByte();

    // True once every byte has been consumed, right after the read that took the last field.
    bool atEnd() const { return at_ == end_; }

    // Line (from 1) on which the field just read began, 0 before any.
    std::int32_t line() const;
    // Line the reader stands on now.
    std::int32_t currentLine() const { return clampedLine(line_); }
    // Whether a number or name field was read on the line the reader stands on: a text field read
    // next stands after a record's values on the same line.
    bool valueOnCurrentLine() const { return valueStart_ != nullptr && valueStart_ >= lineStart_; }

    // Where the field just read stands: its line and its first and last columns.
    Location location() const { return {fileName_, line(), firstColumn(), lastColumn()}; }
    std::int32_t firstColumn() const;
    std::int32_t lastColumn() const;

    const std::vector<Diagnostic>& warnings() const { return warnings_; }

  private:
    void loadBlock(const char* at);
    // Past the largest Long every line counts as the last: the reading goes on, only the
    // diagnostics lose the line.
    static std::int32_t clampedLine(std::int64_t line) {
        return line < INT32_MAX ? static_cast<std::int32_t>(line) : INT32_MAX;
    }
    bool fieldOnPreviousLine() const;
    const char* fieldLineStart() const;
    void endField(const char* start, const char* end);
    void consumeLineEnd();
    std::int64_t readNumber(std::int64_t min, std::int64_t max);
    bool readPlainNumber(std::int64_t min, std::int64_t max, std::int64_t& value);
    std::int64_t readAnyNumber(std::int64_t min, std::int64_t max);
    [[gnu::noinline]] void warnNumberText(std::string_view text);
    [[noreturn, gnu::noinline]] static void outOfRange(std::string_view text, std::int64_t min,
                                                       std::int64_t max);

    std::string owned_;
    std::string fileName_;
    // The bytes are read through pointers: a byte store through a char could otherwise alias
    // any member and reload it on every step.
    const char* at_ = nullptr;
    const char* end_ = nullptr;
    const char* lineStart_ = nullptr;
    const char* previousLineStart_ = nullptr;
    // The separators of the 64 bytes (fewer at the end) from blockStart_ on, and two masks made
    // from them: the bytes of words (neither blank nor separator), and where a word begins or a
    // separator stands, the edges where a field's search stops.
    const char* blockStart_ = nullptr;
    SeparatorMasks block_;
    std::uint64_t words_ = 0;
    std::uint64_t edges_ = 0;
    // How many bytes from blockStart_ on readPlainNumber reads from: none in a block that ends
    // less than eight bytes before the bytes do.
    std::size_t fastBytes_ = 0;
    std::int64_t line_ = 1;
    // The field just read, and where the last number or name began. A read takes at most one line
    // end, after its field: the field's line and columns are found from these only when asked.
    const char* fieldStart_ = nullptr;
    const char* fieldEnd_ = nullptr;
    const char* valueStart_ = nullptr;
    std::vector<Diagnostic> warnings_;
};

// The value of a number text: an optional sign and decimal digits, anything else 0.
// Sets `isNumber` false for a non-empty text that is not such a number.
// Values beyond 64 bits saturate, which every field type rejects.
std::int64_t numberTextValue(std::string_view text, bool& isNumber);

}  // namespace scenario
