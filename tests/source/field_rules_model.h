// The field rules read one byte at a time, as plainly as they can be written: the oracle that the
// field reader's fast paths are compared with, read by read, by its tests and its fuzz target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/diagnostic.h"
#include "base/failures.h"
#include "source/field_reader.h"

namespace scenario::model {

// What one read gives: its field and where it stands, or that it failed.
struct ReadResult {
    bool failed = false;
    std::string text;
    std::int64_t value = 0;
    bool warned = false;
    std::int32_t line = 0;
    std::int32_t firstColumn = 0;
    std::int32_t lastColumn = 0;

    bool operator==(const ReadResult&) const = default;
};

inline ReadResult failure() {
    ReadResult result;
    result.failed = true;
    return result;
}

enum class Read { Text, Name, Long, Integer, Byte };

class FieldRules {
  public:
    explicit FieldRules(std::string_view bytes) : bytes_(bytes) {}

    bool atEnd() const { return at_ == bytes_.size(); }
    std::int32_t currentLine() const { return line_; }
    // Whether the last number or name was read on the line the reader stands on.
    bool valueOnCurrentLine() const { return valueLine_ == line_; }

    ReadResult read(Read kind) {
        if (atEnd()) return failure();
        ReadResult result;
        while (isBlank(peek())) ++at_;
        const std::size_t start = at_;
        result.line = line_;
        const std::size_t lineStart = lineStart_;
        const bool number = kind == Read::Long || kind == Read::Integer || kind == Read::Byte;
        if (number || kind == Read::Name) valueLine_ = line_;
        while (!atEnd() && !isEnd(peek(), number)) ++at_;
        std::size_t end = at_;
        if (number) {
            while (isBlank(peek())) ++at_;
        } else {
            while (end > start && isBlank(bytes_[end - 1])) --end;
        }
        if (peek() == ',')
            ++at_;
        else if (peek() == '\r' || peek() == '\n')
            takeLineEnd();
        result.text = std::string(bytes_.substr(start, end - start));
        result.firstColumn = static_cast<std::int32_t>(start - lineStart + 1);
        result.lastColumn =
            static_cast<std::int32_t>((end > start ? end - 1 : start) - lineStart + 1);
        if (kind == Read::Name && result.text.size() > 65535) return failure();
        if (number) {
            bool isNumber = true;
            result.value = numberTextValue(result.text, isNumber);
            result.warned = !isNumber;
            const std::int64_t low = kind == Read::Long      ? INT32_MIN
                                     : kind == Read::Integer ? INT16_MIN
                                                             : 0;
            const std::int64_t high = kind == Read::Long      ? INT32_MAX
                                      : kind == Read::Integer ? INT16_MAX
                                                              : UINT8_MAX;
            if (result.value < low || result.value > high) return failure();
            result.text.clear();
        }
        return result;
    }

  private:
    static bool isBlank(int c) { return c == ' ' || c == '\t'; }
    static bool isEnd(int c, bool number) {
        return c == ',' || c == '\r' || c == '\n' || (number && isBlank(c));
    }
    // The byte the reader stands on, or -1 at the end.
    int peek() const { return atEnd() ? -1 : static_cast<unsigned char>(bytes_[at_]); }

    void takeLineEnd() {
        if (bytes_[at_++] == '\r' && peek() == '\n') ++at_;
        ++line_;
        lineStart_ = at_;
    }

    std::string_view bytes_;
    std::size_t at_ = 0;
    std::size_t lineStart_ = 0;
    std::int32_t line_ = 1;
    std::int32_t valueLine_ = 0;
};

// The same read made by the field reader, in the model's terms.
inline ReadResult readWith(FieldReader& reader, Read kind) {
    ReadResult result;
    const std::size_t warnings = reader.warnings().size();
    try {
        switch (kind) {
            case Read::Text:
                result.text = reader.readText();
                break;
            case Read::Name:
                result.text = reader.readName();
                break;
            case Read::Long:
                result.value = reader.readLong();
                break;
            case Read::Integer:
                result.value = reader.readInteger();
                break;
            case Read::Byte:
                result.value = reader.readByte();
                break;
        }
    } catch (const RunTimeFailure&) {
        return failure();
    }
    result.warned = reader.warnings().size() > warnings;
    result.line = reader.line();
    result.firstColumn = reader.firstColumn();
    result.lastColumn = reader.lastColumn();
    return result;
}

// Makes the reads of `kinds` in turn, over and over, with the reader and the model over the same
// bytes until a read fails or the bytes are read. Describes the first read on which they differ,
// or gives an empty text.
inline std::string firstDifference(std::string_view bytes, const std::vector<Read>& kinds) {
    FieldReader reader(FieldReader::Borrowed{}, bytes);
    FieldRules rules(bytes);
    for (std::size_t n = 0; !kinds.empty(); ++n) {
        // Past the cap on warnings the reader keeps no more, so a read's warning is not seen.
        const bool warningsSeen = reader.warnings().size() <= kMostWarnings;
        ReadResult got = readWith(reader, kinds[n % kinds.size()]);
        ReadResult expected = rules.read(kinds[n % kinds.size()]);
        if (!warningsSeen) got.warned = expected.warned;
        const auto describe = [&](const char* what) {
            return "read " + std::to_string(n) + ": " + what + " (reader: \"" + got.text + "\" " +
                   std::to_string(got.value) + " line " + std::to_string(got.line) + " columns " +
                   std::to_string(got.firstColumn) + "-" + std::to_string(got.lastColumn) +
                   (got.failed ? " failed" : "") + "; rules: \"" + expected.text + "\" " +
                   std::to_string(expected.value) + " line " + std::to_string(expected.line) +
                   " columns " + std::to_string(expected.firstColumn) + "-" +
                   std::to_string(expected.lastColumn) + (expected.failed ? " failed" : "") + ")";
        };
        if (!(got == expected)) return describe("the fields differ");
        if (got.failed) return {};
        if (reader.atEnd() != rules.atEnd()) return describe("the ends differ");
        if (reader.currentLine() != rules.currentLine()) return describe("the lines differ");
        if (reader.valueOnCurrentLine() != rules.valueOnCurrentLine())
            return describe("whether a value stands on the current line differs");
        if (reader.atEnd()) return {};
    }
    return {};
}

}  // namespace scenario::model
