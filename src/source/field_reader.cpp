// The field reader: the source files' rules for text fields, number fields and the end of file.
#include "source/field_reader.h"

#include <utility>

#include "base/diagnostic.h"
#include "base/failures.h"

namespace scenario {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

constexpr std::size_t kMaxNameLength = 65535;

// Columns count bytes from 1; past the largest Long a column stays at it.
std::int32_t columnAt(std::size_t offset, std::size_t lineStart) {
    const std::size_t column = offset - lineStart + 1;
    return column > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(column);
}

}  // namespace

FieldReader::FieldReader(std::string bytes, std::string fileName)
    : bytes_(std::move(bytes)), fileName_(std::move(fileName)) {}

void FieldReader::skipBlanks() {
    while (pos_ < bytes_.size() && isBlank(bytes_[pos_])) ++pos_;
}

// CR LF, a lone CR and a lone LF each end one line.
void FieldReader::consumeLineEnd() {
    if (bytes_[pos_] == '\r') {
        ++pos_;
        if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
    } else {
        ++pos_;
    }
    // Past the largest Long every line counts as the last: the reading goes on, only the
    // diagnostics lose the line.
    if (line_ < INT32_MAX) ++line_;
    lineStart_ = pos_;
}

void FieldReader::startField() {
    if (atEnd()) throw RunTimeFailure("field read past the end of the file");
    skipBlanks();
    fieldLine_ = line_;
    firstColumn_ = columnAt(pos_, lineStart_);
    lastColumn_ = firstColumn_;
}

// An empty field has its one column where it begins.
void FieldReader::endField(std::size_t start, std::size_t end) {
    if (end > start) lastColumn_ = columnAt(end - 1, lineStart_);
}

std::string FieldReader::readText() {
    startField();
    const std::size_t start = pos_;
    while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !isLineEnd(bytes_[pos_])) ++pos_;
    std::size_t end = pos_;
    while (end > start && isBlank(bytes_[end - 1])) --end;
    endField(start, end);
    if (pos_ < bytes_.size()) {
        if (bytes_[pos_] == ',')
            ++pos_;
        else
            consumeLineEnd();
    }
    return bytes_.substr(start, end - start);
}

std::string FieldReader::readName() {
    std::string name = readText();
    valueLine_ = fieldLine_;
    if (name.size() > kMaxNameLength) throw RunTimeFailure("name longer than 65535 bytes");
    return name;
}

std::int64_t FieldReader::readNumber(std::int64_t min, std::int64_t max, const char* typeName) {
    startField();
    valueLine_ = fieldLine_;
    const std::size_t start = pos_;
    while (pos_ < bytes_.size() && !isBlank(bytes_[pos_]) && bytes_[pos_] != ',' &&
           !isLineEnd(bytes_[pos_]))
        ++pos_;
    const std::string_view text(bytes_.data() + start, pos_ - start);
    endField(start, pos_);
    skipBlanks();
    if (pos_ < bytes_.size()) {
        if (bytes_[pos_] == ',')
            ++pos_;
        else if (isLineEnd(bytes_[pos_]))
            consumeLineEnd();
    }

    bool isNumber = true;
    const std::int64_t value = numberTextValue(text, isNumber);
    if (!isNumber)
        keepWarning(warnings_, makeWarning(kNumberTextWarning, location(),
                                           "number text \"" + std::string(text.substr(0, 40)) +
                                               "\" read as 0"));
    if (value < min || value > max)
        throw RunTimeFailure(std::string(text.substr(0, 40)) + " is out of range for " + typeName);
    return value;
}

std::int32_t FieldReader::readLong() {
    return static_cast<std::int32_t>(readNumber(INT32_MIN, INT32_MAX, "Long"));
}
std::int16_t FieldReader::readInteger() {
    return static_cast<std::int16_t>(readNumber(INT16_MIN, INT16_MAX, "Integer"));
}
std::uint8_t FieldReader::readByte() {
    return static_cast<std::uint8_t>(readNumber(0, UINT8_MAX, "Byte"));
}

std::int64_t numberTextValue(std::string_view text, bool& isNumber) {
    isNumber = true;
    if (text.empty()) return 0;
    bool negative = false;
    std::size_t i = 0;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        i = 1;
    }
    if (i == text.size()) {
        isNumber = false;
        return 0;
    }
    constexpr std::int64_t kSaturated = std::int64_t{1} << 40;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            isNumber = false;
            return 0;
        }
        if (value < kSaturated) value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

}  // namespace scenario
