// Completion of a line's first field: the file's records, those of the group the cursor stands
// in first, then the group headers.
#include <string>

#include "tool/check/source_lines.h"
#include "tool/editor/assist.h"
#include "tool/editor/conventions.h"

namespace scenario {
namespace {

// The header of the group a line stands in: the nearest "[...]" field on a line above it.
std::string groupAt(std::string_view text, std::int32_t line, SourceKind kind) {
    std::string group;
    for (const RecordLine& read : walkSourceText(text, kind)) {
        if (read.line >= line) break;
        if (read.header) group = read.firstField;
    }
    return group;
}

// "segnale, ${1:posizione}, ${2:sx}, ..." and "segnale, "
void fillTexts(CompletionItem& item, const RecordSpec& record) {
    item.snippet = item.label;
    item.plain = item.label + ", ";
    int n = 0;
    for (const FieldSpec& field : record.fields) {
        item.snippet +=
            std::string(", ${") + std::to_string(++n) + ":" + std::string(field.name) + "}";
    }
}

// The rank's digit, then the table's order.
std::string sortKey(char rank, int order) {
    std::string key(1, rank);
    key += std::to_string(100 + order);
    return key;
}

}  // namespace

std::vector<CompletionItem> completionsAt(std::string_view text, SourceKind kind,
                                          std::int32_t line) {
    const WriterConventions& writer = writerConventions(kind);
    const std::string group = groupAt(text, line, kind);
    std::vector<CompletionItem> items;
    int order = 0;
    for (const WrittenRecord& r : writer.records) {
        CompletionItem item;
        item.label = r.firstField;
        item.detail = std::string(r.record->name);
        fillTexts(item, *r.record);
        const bool inGroup = !group.empty() && r.group == group;
        item.sortKey = sortKey(inGroup ? '0' : '1', order++);
        items.push_back(std::move(item));
    }
    for (const std::string& header : writer.headers) {
        CompletionItem item;
        item.label = header;
        item.detail = "group header";
        item.snippet = header;
        item.plain = header;
        item.sortKey = sortKey('2', order++);
        items.push_back(std::move(item));
    }
    return items;
}

}  // namespace scenario
