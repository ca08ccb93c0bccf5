// The field reader: the source files' rules for text fields, number fields and the end of file.
#include "source/field_reader.h"

#include <array>
#include <bit>
#include <cstring>
#include <utility>

#include "base/diagnostic.h"
#include "base/failures.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace scenario {
namespace {

// What each byte can end: a text field stops at a comma or a line end, a number also at a blank.
// The masks of a block find most fields; the rest are read one byte at a time.
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

// The value of one to eight decimal digits, read from eight readable bytes: false if a byte of
// the `count` first is not a digit. The digits are moved to the top bytes behind zeros, and
// joined in pairs, fours and eights.
bool plainDigitsValue(const char* digits, std::size_t count, std::int64_t& value) {
#if defined(__SSE2__)
    // In the vector unit: the integer units are what the reads wait on.
    __m128i x = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(digits));
    x = _mm_sub_epi8(x, _mm_set1_epi8('0'));
    x = _mm_sll_epi64(x, _mm_cvtsi32_si128(static_cast<int>(8 * (8 - count))));
    // A digit's byte is now 0 to 9, and any other byte 10 or more.
    const __m128i digitBytes =
        _mm_cmpeq_epi8(_mm_subs_epu8(x, _mm_set1_epi8(9)), _mm_setzero_si128());
    if ((_mm_movemask_epi8(digitBytes) & 0xFF) != 0xFF) return false;
    __m128i v = _mm_unpacklo_epi8(x, _mm_setzero_si128());
    v = _mm_madd_epi16(v, _mm_setr_epi16(10, 1, 10, 1, 10, 1, 10, 1));
    v = _mm_packs_epi32(v, v);
    v = _mm_madd_epi16(v, _mm_setr_epi16(100, 1, 100, 1, 100, 1, 100, 1));
    v = _mm_packs_epi32(v, v);
    v = _mm_madd_epi16(v, _mm_setr_epi16(10000, 1, 10000, 1, 10000, 1, 10000, 1));
    value = _mm_cvtsi128_si32(v);
    return true;
#else
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
    std::uint64_t v = values << shift;
    v = (v * (1 + (10 << 8))) >> 8;
    v = ((v & 0x00FF00FF00FF00FFu) * (1 + (100 << 16))) >> 16;
    v = ((v & 0x0000FFFF0000FFFFu) * (1 + (10000ull << 32))) >> 32;
    value = static_cast<std::int64_t>(v);
    return true;
#endif
}

// The lowest bit set of a word that has one: unlike std::countr_zero, no test for a word of none.
std::size_t lowestBit(std::uint64_t bits) {
    return static_cast<unsigned>(__builtin_ctzll(bits));
}

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
      lineStart_(at_) {
    loadBlock(at_);
}

FieldReader::FieldReader(Borrowed, std::string_view bytes, std::string fileName)
    : fileName_(std::move(fileName)),
      at_(bytes.data()),
      end_(bytes.data() + bytes.size()),
      lineStart_(at_) {
    loadBlock(at_);
}

inline void FieldReader::loadBlock(const char* at) {
    blockStart_ = at;
    const auto left = static_cast<std::size_t>(end_ - at);
    block_ = left >= kMaskBytes ? wholeBlockMasks(at) : separatorMasks(at, left);
    fastBytes_ = left >= kMaskBytes + 8 ? kMaskBytes : 0;
    words_ = ~(block_.blanks | block_.textEnds);
    // The block's first byte begins a word: a block starts where a field's search stands.
    edges_ = (words_ & ~(words_ << 1)) | block_.textEnds;
}

// CR LF, a lone CR and a lone LF each end one line.
void FieldReader::consumeLineEnd() {
    if (*at_++ == '\r' && at_ != end_ && *at_ == '\n') ++at_;
    ++line_;
    previousLineStart_ = lineStart_;
    lineStart_ = at_;
}

namespace {
[[noreturn]] void readPastTheEnd() {
    throw RunTimeFailure("the file ends in the middle of a record");
}
}  // namespace

void FieldReader::endField(const char* start, const char* end) {
    fieldStart_ = start;
    fieldEnd_ = end;
}

// A field that stands before the line the reader is on took that line's end.
bool FieldReader::fieldOnPreviousLine() const {
    return fieldStart_ < lineStart_;
}

const char* FieldReader::fieldLineStart() const {
    return fieldOnPreviousLine() ? previousLineStart_ : lineStart_;
}

std::int32_t FieldReader::line() const {
    if (fieldStart_ == nullptr) return 0;
    return clampedLine(fieldOnPreviousLine() ? line_ - 1 : line_);
}

std::int32_t FieldReader::firstColumn() const {
    return fieldStart_ == nullptr ? 0 : columnAt(fieldStart_, fieldLineStart());
}

// An empty field has its one column where it begins.
std::int32_t FieldReader::lastColumn() const {
    if (fieldStart_ == nullptr) return 0;
    return columnAt(fieldEnd_ > fieldStart_ ? fieldEnd_ - 1 : fieldStart_, fieldLineStart());
}

std::string_view FieldReader::readTextView() {
    if (atEnd()) readPastTheEnd();
    // A text that runs past the block most often ends within the block from it on.
    std::size_t offset = static_cast<std::size_t>(at_ - blockStart_);
    std::uint64_t ends = offset < kMaskBytes ? block_.textEnds >> offset : 0;
    if (ends == 0 && offset > 0) {
        loadBlock(at_);
        offset = 0;
        ends = block_.textEnds;
    }
    const char* start = nullptr;
    const char* end = nullptr;
    if (ends != 0) {
        // Its separator, or the end of the bytes, lies in the block: the text runs from the first
        // byte of a word before it to the last; a text of blanks alone is empty, at the separator.
        const int stop = std::countr_zero(ends);
        const std::uint64_t words =
            stop == 0 ? 0 : (words_ >> offset) & (~std::uint64_t{0} >> (64 - stop));
        start = end = at_ + stop;
        if (words != 0) {
            start = at_ + std::countr_zero(words);
            end = at_ + (64 - std::countl_zero(words));
        }
        at_ += stop;
    } else {
        start = skipBlanks(at_, end_);
        at_ = fieldEnd(start, end_, kEndsText);
        end = at_;
        while (end > start && classOf(end[-1]) == kBlank) --end;
    }
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
    valueStart_ = fieldStart_;
    if (name.size() > kMaxNameLength)
        throw RunTimeFailure("the text is longer than 65535 bytes, the most a name holds");
    return name;
}

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
    // separator. A field without two edges in the block, even an empty one, is left to
    // readAnyNumber, which reads it from a block loaded where it stands.
    const std::uint64_t edges = edges_ >> offset;
    const std::uint64_t laterEdges = edges & (edges - 1);
    if (laterEdges == 0) return false;
    const std::size_t first = lowestBit(edges);
    const char* const start = at_ + first;
    const std::uint64_t word = words_ >> (offset + first);
    std::int64_t number = 0;
    std::size_t length = 0;
    const char* after = start;
    if ((word & 1) != 0) {
        after = at_ + lowestBit(laterEdges);
        // The later edge ends the word within the block.
        length = lowestBit(~word);
        if (length > 8) return false;
        // A sign is rare: it fails the digits' test, and is taken on its own after it.
        if (!plainDigitsValue(start, length, number)) {
            if ((*start != '-' && *start != '+') || length < 2 ||
                !plainDigitsValue(start + 1, length - 1, number))
                return false;
            if (*start == '-') number = -number;
        }
        if (number < min || number > max) return false;
    }

    valueStart_ = start;
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

std::int64_t FieldReader::readNumber(std::int64_t min, std::int64_t max) {
    std::int64_t value = 0;
    return readPlainNumber(min, max, value) ? value : readAnyNumber(min, max);
}

std::int32_t FieldReader::readLong() {
    return static_cast<std::int32_t>(readNumber(INT32_MIN, INT32_MAX));
}
std::int16_t FieldReader::readInteger() {
    return static_cast<std::int16_t>(readNumber(INT16_MIN, INT16_MAX));
}
std::uint8_t FieldReader::readByte() {
    return static_cast<std::uint8_t>(readNumber(0, UINT8_MAX));
}

void FieldReader::warnNumberText(std::string_view text) {
    keepWarning(warnings_,
                makeWarning(kNumberTextWarning, location(),
                            "number text \"" + std::string(text.substr(0, 40)) + "\" read as 0"));
}

std::int64_t FieldReader::readAnyNumber(std::int64_t min, std::int64_t max) {
    if (atEnd()) readPastTheEnd();
    // Most fields that the masks at hand could not read run past their block: the masks of the
    // bytes from the field on can.
    if (at_ != blockStart_) {
        loadBlock(at_);
        std::int64_t value = 0;
        if (readPlainNumber(min, max, value)) return value;
    }
    const char* const start = skipBlanks(at_, end_);
    const char* const stop = fieldEnd(start, end_, kEndsNumber);
    endField(start, stop);
    valueStart_ = start;
    at_ = skipBlanks(stop, end_);
    if (at_ != end_) {
        if (*at_ == ',')
            ++at_;
        else if (classOf(*at_) == kLineEnd)
            consumeLineEnd();
    }

    const std::string_view text(start, static_cast<std::size_t>(stop - start));
    bool isNumber = true;
    const std::int64_t value = numberTextValue(text, isNumber);
    if (!isNumber) warnNumberText(text);
    if (value < min || value > max) outOfRange(text, min, max);
    return value;
}

void FieldReader::outOfRange(std::string_view text, std::int64_t min, std::int64_t max) {
    throw RunTimeFailure(std::string(text.substr(0, 40)) + " does not fit its field, which holds " +
                         std::to_string(min) + " to " + std::to_string(max));
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
