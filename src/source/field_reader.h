// Reads a source file's bytes as a stream of fields: text fields end at a comma or a line end,
// numbers also at a blank. Reads past the end and out-of-range numbers are run-time failures.
// The reader alone knows where a field stands, and hands that out as a Location.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

    std::int32_t readLong() { return static_cast<std::int32_t>(readNumber(INT32_MIN, INT32_MAX, "Long")); }
    std::int16_t readInteger() {
        return static_cast<std::int16_t>(readNumber(INT16_MIN, INT16_MAX, "Integer"));
    }
    std::uint8_t readByte() { return static_cast<std::uint8_t>(readNumber(0, UINT8_MAX, "Byte")); }

    // True once every byte has been consumed, right after the read that took the last field.
    bool atEnd() const { return at_ == end_; }

    // Line (from 1) on which the field just read began.
    std::int32_t line() const { return fieldLine_; }
    // Line the reader stands on now.
    std::int32_t currentLine() const { return line_; }
    // Line on which the last number or name field began, 0 before any: a text field that begins
    // there stands after a record's values on the same line.
    std::int32_t valueLine() const { return valueLine_; }

    // Where the field just read stands: its line and its first and last columns.
    Location location() const { return {fileName_, fieldLine_, firstColumn(), lastColumn()}; }
    std::int32_t firstColumn() const;
    std::int32_t lastColumn() const;

    const std::vector<Diagnostic>& warnings() const { return warnings_; }

  private:
    // What a search for a field's edge stops at.
    enum class Stop { NonBlank, TextEnd, NumberEnd };
    const char* next(const char* at, Stop stop);
    void loadBlock(const char* at);
    void startField();
    void endField(const char* start, const char* end);
    void consumeLineEnd();
    std::int64_t readNumber(std::int64_t min, std::int64_t max, const char* typeName) {
        std::int64_t value = 0;
        return readPlainNumber(min, max, value) ? value : readAnyNumber(min, max, typeName);
    }
    bool readPlainNumber(std::int64_t min, std::int64_t max, std::int64_t& value);
    std::int64_t readAnyNumber(std::int64_t min, std::int64_t max, const char* typeName);
    [[gnu::noinline]] void warnNumberText(std::string_view text);
    [[noreturn, gnu::noinline]] static void outOfRange(std::string_view text, const char* typeName);

    std::string owned_;
    std::string fileName_;
    // The bytes are read through pointers: a byte store through a char could otherwise alias
    // any member and reload it on every step.
    const char* at_ = nullptr;
    const char* end_ = nullptr;
    const char* lineStart_ = nullptr;
    // The separators of the 64 bytes (fewer at the end) from blockStart_ on, and two masks made
    // from them: the bytes of words (neither blank nor separator), and where a word begins or a
    // separator stands, the edges where a field's search stops.
    const char* blockStart_ = nullptr;
    SeparatorMasks block_;
    std::uint64_t words_ = 0;
    std::uint64_t edges_ = 0;
    // How many bytes from blockStart_ on readPlainNumber reads from: none in the last block.
    std::size_t fastBytes_ = 0;
    std::int32_t line_ = 1;
    std::int32_t fieldLine_ = 0;
    // The field just read and the start of its line: its columns are counted only when asked.
    const char* fieldStart_ = nullptr;
    const char* fieldEnd_ = nullptr;
    const char* fieldLineStart_ = nullptr;
    std::int32_t valueLine_ = 0;
    std::vector<Diagnostic> warnings_;
};

namespace field_reading {

// The value of one to eight decimal digits, read as one word from eight readable bytes: false
// if a byte of the `count` first is not a digit.
inline bool plainDigitsValue(const char* digits, std::size_t count, std::int64_t& value) {
    if constexpr (std::endian::native != std::endian::little) return false;
    constexpr std::uint64_t kEveryByte = 0x0101010101010101u;
    std::uint64_t word = 0;
    std::memcpy(&word, digits, sizeof word);
    // A digit's byte is now 0 to 9: its high half is clear, and stays clear when 6 is added. A
    // carry out of a byte reaches only the bytes after it, so the first byte flagged is exact.
    const std::uint64_t values = word ^ (kEveryByte * '0');
    const std::uint64_t notDigits = (values | (values + kEveryByte * 6)) & (kEveryByte * 0xF0);
    const auto shift = static_cast<unsigned>(8 * (8 - count));
    if ((notDigits << shift) != 0) return false;
    // The digits moved to the top bytes behind zeros, then joined in pairs, fours and eights.
    std::uint64_t v = values << shift;
    v = (v * (1 + (10 << 8))) >> 8;
    v = ((v & 0x00FF00FF00FF00FFu) * (1 + (100 << 16))) >> 16;
    v = ((v & 0x0000FFFF0000FFFFu) * (1 + (10000ull << 32))) >> 32;
    value = static_cast<std::int64_t>(v);
    return true;
}

}  // namespace field_reading

// Most number fields, read from the separator masks at hand: an optional sign and one to eight
// digits within the range, followed by its blanks in the same block. Any other field is left, the
// reader unchanged, to readAnyNumber.
inline bool FieldReader::readPlainNumber(std::int64_t min, std::int64_t max, std::int64_t& value) {
    // Eight bytes can be read from anywhere in a block whose masks are read here, so no test
    // here stops at the end of the bytes.
    const auto offset = static_cast<std::size_t>(at_ - blockStart_);
    if (offset >= fastBytes_) return false;
    // The field is the word at the first edge, and the reader moves on to the edge after it: the
    // word after the blanks, or the separator that it takes. An empty field stands at a
    // separator. Fields whose edges lie beyond the block are left to readAnyNumber.
    const std::uint64_t edges = edges_ >> offset;
    if (edges == 0) return false;
    const auto first = static_cast<std::size_t>(std::countr_zero(edges));
    const char* const start = at_ + first;
    const std::uint64_t word = words_ >> (offset + first);
    std::int64_t number = 0;
    std::size_t length = 0;
    const char* after = start;
    if ((word & 1) != 0) {
        const std::uint64_t laterEdges = edges & (edges - 1);
        if (laterEdges == 0) return false;
        length = static_cast<std::size_t>(std::countr_zero(~word));
        if (length > 8) return false;
        // A sign is rare: it fails the digits' test, and is taken on its own after it.
        if (!field_reading::plainDigitsValue(start, length, number)) {
            if ((*start != '-' && *start != '+') || length < 2 ||
                !field_reading::plainDigitsValue(start + 1, length - 1, number))
                return false;
            if (*start == '-') number = -number;
        }
        if (number < min || number > max) return false;
        after = at_ + std::countr_zero(laterEdges);
    }

    fieldLine_ = valueLine_ = line_;
    fieldLineStart_ = lineStart_;
    fieldStart_ = start;
    fieldEnd_ = start + length;
    at_ = after;
    if (*at_ == ',')
        ++at_;
    else if (*at_ == '\r' || *at_ == '\n')
        consumeLineEnd();
    value = number;
    return true;
}

// The value of a number text: an optional sign and decimal digits, anything else 0.
// Sets `isNumber` false for a non-empty text that is not such a number.
// Values beyond 64 bits saturate, which every field type rejects.
std::int64_t numberTextValue(std::string_view text, bool& isNumber);

}  // namespace scenario
