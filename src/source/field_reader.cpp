// The field reader: the source files' rules for text fields, number fields and the end of file.
#include "source/field_reader.h"

#include <array>
#include <utility>

#include "base/diagnostic.h"
#include "base/failures.h"

namespace scenario {
namespace {

// What each byte can end: a text field stops at a comma or a line end, a number also at a blank.
enum : std::uint8_t { kBlank = 1, kComma = 2, kLineEnd = 4 };
constexpr std::uint8_t kEndsText = kComma | kLineEnd;
constexpr std::uint8_t kEndsNumber = kBlank | kComma | kLineEnd;

constexpr auto kByteClass = [] {
    std::array<std::uint8_t, 256> table{};
    table[' '] = table['\t'] = kBlank;
    table[','] = kComma;
    table['\r'] = table['\n'] = kLineEnd;
    return table;
}();

std::uint8_t classOf(char c) {
    return kByteClass[static_cast<unsigned char>(c)];
}

const char* skipBlanks(const char* at, const char* end) {
    while (at != end && classOf(*at) == kBlank) ++at;
    return at;
}

const char* fieldEnd(const char* at, const char* end, std::uint8_t stops) {
    while (at != end && (classOf(*at) & stops) == 0) ++at;
    return at;
}

// Up to this many digits a value cannot reach the saturation of numberTextValue.
constexpr std::ptrdiff_t kPlainDigits = 12;

constexpr std::size_t kMaxNameLength = 65535;

// Columns count bytes from 1; past the largest Long a column stays at it.
std::int32_t columnAt(const char* at, const char* lineStart) {
    const auto column = static_cast<std::size_t>(at - lineStart) + 1;
    return column > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(column);
}

}  // namespace

FieldReader::FieldReader(std::string bytes, std::string fileName)
    : owned_(std::move(bytes)),
      fileName_(std::move(fileName)),
      at_(owned_.data()),
      end_(owned_.data() + owned_.size()),
      lineStart_(at_) {}

FieldReader::FieldReader(Borrowed, std::string_view bytes, std::string fileName)
    : fileName_(std::move(fileName)),
      at_(bytes.data()),
      end_(bytes.data() + bytes.size()),
      lineStart_(at_) {}

// CR LF, a lone CR and a lone LF each end one line.
void FieldReader::consumeLineEnd() {
    if (*at_++ == '\r' && at_ != end_ && *at_ == '\n') ++at_;
    // Past the largest Long every line counts as the last: the reading goes on, only the
    // diagnostics lose the line.
    if (line_ < INT32_MAX) ++line_;
    lineStart_ = at_;
}

namespace {
[[noreturn]] void readPastTheEnd() {
    throw RunTimeFailure("field read past the end of the file");
}
}  // namespace

inline void FieldReader::startField() {
    if (atEnd()) readPastTheEnd();
    at_ = skipBlanks(at_, end_);
    fieldLine_ = line_;
    fieldLineStart_ = lineStart_;
    fieldStart_ = fieldEnd_ = at_;
}

void FieldReader::endField(const char* start, const char* end) {
    fieldStart_ = start;
    fieldEnd_ = end;
}

std::int32_t FieldReader::firstColumn() const {
    return fieldStart_ == nullptr ? 0 : columnAt(fieldStart_, fieldLineStart_);
}

// An empty field has its one column where it begins.
std::int32_t FieldReader::lastColumn() const {
    if (fieldStart_ == nullptr) return 0;
    return columnAt(fieldEnd_ > fieldStart_ ? fieldEnd_ - 1 : fieldStart_, fieldLineStart_);
}

std::string_view FieldReader::readTextView() {
    startField();
    const char* const start = at_;
    at_ = fieldEnd(at_, end_, kEndsText);
    const char* end = at_;
    while (end > start && classOf(end[-1]) == kBlank) --end;
    endField(start, end);
    if (at_ != end_) {
        if (*at_ == ',')
            ++at_;
        else
            consumeLineEnd();
    }
    return {start, static_cast<std::size_t>(end - start)};
}

std::string_view FieldReader::readNameView() {
    const std::string_view name = readTextView();
    valueLine_ = fieldLine_;
    if (name.size() > kMaxNameLength) throw RunTimeFailure("name longer than 65535 bytes");
    return name;
}

std::int64_t FieldReader::readNumber(std::int64_t min, std::int64_t max, const char* typeName) {
    startField();
    valueLine_ = fieldLine_;
    const char* const start = at_;
    // Most fields are plain numbers: their digits are read as they are found, in one loop.
    const char* at = start;
    const bool negative = at != end_ && *at == '-';
    if (at != end_ && (*at == '-' || *at == '+')) ++at;
    const char* const digits = at;
    const char* const lastDigit = end_ - digits > kPlainDigits ? digits + kPlainDigits : end_;
    std::int64_t plain = 0;
    while (at != lastDigit && static_cast<unsigned char>(*at - '0') < 10)
        plain = plain * 10 + (*at++ - '0');
    const bool isPlain = at != digits && (at == end_ || (classOf(*at) & kEndsNumber) != 0);
    at_ = isPlain ? at : fieldEnd(at, end_, kEndsNumber);
    const std::string_view text(start, static_cast<std::size_t>(at_ - start));
    endField(start, at_);
    at_ = skipBlanks(at_, end_);
    if (at_ != end_) {
        if (*at_ == ',')
            ++at_;
        else if (classOf(*at_) == kLineEnd)
            consumeLineEnd();
    }

    bool isNumber = true;
    const std::int64_t value =
        isPlain ? (negative ? -plain : plain) : numberTextValue(text, isNumber);
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
