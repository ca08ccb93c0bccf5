// Reading a source text into its first fields and records, through the passes' walker.
#include "tool/check/source_lines.h"

#include "base/failures.h"
#include "source/field_reader.h"
#include "source/record_walker.h"

namespace scenario {
namespace {

FieldSpot spotOf(const Location& at) {
    return {at.firstColumn - 1, at.lastColumn};
}

std::optional<std::int64_t> readNumber(FieldReader& reader, FieldType type) {
    switch (type) {
        case FieldType::Long:
            return reader.readLong();
        case FieldType::Integer:
            return reader.readInteger();
        case FieldType::Byte:
            return reader.readByte();
        case FieldType::Name:
            break;
    }
    return std::nullopt;
}

// The walker's source and visitor over a whole text: keeps every first field read, and reads the
// values of each record the walker finds.
class TextWalk {
  public:
    TextWalk(std::string_view text, SourceKind kind)
        : reader_(FieldReader::Borrowed{}, text), table_(recordsOf(kind)) {}

    std::vector<RecordLine> run(SourceKind kind) {
        try {
            walkRecords(*this, kind == SourceKind::Line ? WalkedFile::Line : WalkedFile::Train,
                        *this);
        } catch (const RunTimeFailure&) {
            // Only a read past the file's end gets here: the walk is over.
        }
        return std::move(fields_);
    }

    bool atEnd() const { return reader_.atEnd(); }
    std::string_view readFirstField() {
        const std::string_view field = reader_.readTextView();
        RecordLine& read = fields_.emplace_back();
        read.firstField = std::string(field);
        read.line = reader_.line() - 1;
        read.firstSpot = spotOf(reader_.location());
        // Until the walker examines it, a field is passed over: a comment, or the file's last.
        read.comment = isCommentField(field);
        read.header = !read.comment && looksLikeHeader(field);
        return field;
    }
    RecordFlow examine(SourcePlace place, std::string_view field) {
        const std::optional<RecordSection> section = sectionAt(place);
        if (!section) return RecordFlow::Next;
        RecordLine& read = fields_.back();
        read.comment = false;
        readRecordsNamedBy(field, table_, *section, [&](const RecordSpec& record) {
            if (read.record == nullptr) read.record = &record;
            readValues(read, record);
            return RecordFlow::Next;
        });
        read.header = read.record == nullptr && looksLikeHeader(field);
        return RecordFlow::Next;
    }
    void generalStarts() { fields_.back().header = true; }
    void routeStarts() {}

  private:
    void readValues(RecordLine& read, const RecordSpec& record) {
        for (const FieldSpec& field : record.fields) {
            if (reader_.atEnd()) return;
            ReadValue value{&record, &field, 0, {}, std::nullopt, {}};
            try {
                if (field.type == FieldType::Name)
                    value.text = reader_.readNameView();
                else
                    value.number = readNumber(reader_, field.type);
            } catch (const RunTimeFailure&) {
                // The reader has passed the field: its place is known, its value is not.
            }
            value.line = reader_.line() - 1;
            value.spot = spotOf(reader_.location());
            read.values.push_back(std::move(value));
        }
    }

    FieldReader reader_;
    std::span<const RecordSpec> table_;
    std::vector<RecordLine> fields_;
};

}  // namespace

std::vector<RecordLine> walkSourceText(std::string_view text, SourceKind kind) {
    return TextWalk(text, kind).run(kind);
}

std::vector<std::string_view> textLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

std::span<const RecordSpec> recordsOf(SourceKind kind) {
    if (kind == SourceKind::Line) return lineRecords();
    if (kind == SourceKind::Train) return trainRecords();
    return {};
}

}  // namespace scenario
