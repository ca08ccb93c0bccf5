// Reads a source file's bytes as a stream of fields: text fields end at a comma or a line end,
// numbers also at a blank. Reads past the end and out-of-range numbers are run-time failures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// Something the reader accepted silently but an author may want to hear about.
struct ReaderWarning {
    std::int32_t line;
    std::string message;
};

class FieldReader {
  public:
    explicit FieldReader(std::string bytes);

    // A text field: blanks before it are skipped, blanks at its end dropped.
    std::string readText();
    // A text that the model stores as a name: at most 65535 bytes, the files' length limit.
    std::string readName();

    std::int32_t readLong();
    std::int16_t readInteger();
    std::uint8_t readByte();

    // True once every byte has been consumed, right after the read that took the last field.
    bool atEnd() const { return pos_ >= bytes_.size(); }

    // Line (from 1) on which the field just read began.
    std::int32_t line() const { return fieldLine_; }
    // Line the reader stands on now.
    std::int32_t currentLine() const { return line_; }
    // Line on which the last number or name field began, 0 before any: a text field that begins
    // there stands after a record's values on the same line.
    std::int32_t valueLine() const { return valueLine_; }

    const std::vector<ReaderWarning>& warnings() const { return warnings_; }

  private:
    void startField();
    void skipBlanks();
    void consumeLineEnd();
    std::int64_t readNumber(std::int64_t min, std::int64_t max, const char* typeName);

    std::string bytes_;
    std::size_t pos_ = 0;
    std::int32_t line_ = 1;
    std::int32_t fieldLine_ = 0;
    std::int32_t valueLine_ = 0;
    std::vector<ReaderWarning> warnings_;
};

// The value of a number text: an optional sign and decimal digits, anything else 0.
// Sets `isNumber` false for a non-empty text that is not such a number.
// Values beyond 64 bits saturate, which every field type rejects.
std::int64_t numberTextValue(std::string_view text, bool& isNumber);

}  // namespace scenario
