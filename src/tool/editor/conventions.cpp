// The writer's conventions, read once from the built-in source texts.
#include "tool/editor/conventions.h"

#include <map>

#include "base/file_store.h"
#include "source/source_writers.h"
#include "tool/check/source_lines.h"

namespace scenario {
namespace {

WriterConventions conventionsFrom(const std::string& text, SourceKind kind) {
    WriterConventions found;
    std::map<const RecordSpec*, std::map<std::string, int>> groupCounts;
    std::map<const RecordSpec*, std::string> spelling;
    std::string group;
    for (const RecordLine& read : walkSourceText(text, kind)) {
        if (read.header) {
            group = read.firstField;
            bool known = false;
            for (const std::string& h : found.headers) known = known || h == group;
            if (!known) found.headers.push_back(group);
            continue;
        }
        if (read.record == nullptr) continue;
        ++groupCounts[read.record][group];
        spelling.emplace(read.record, read.firstField);
    }
    for (const RecordSpec& r : recordsOf(kind)) {
        WrittenRecord written{&r, std::string(r.keyword), {}};
        if (!r.alsoNeeded.empty()) written.firstField += std::string(" ").append(r.alsoNeeded);
        if (const auto s = spelling.find(&r); s != spelling.end()) written.firstField = s->second;
        int most = 0;
        for (const auto& [header, count] : groupCounts[&r]) {
            if (count <= most) continue;
            most = count;
            written.group = header;
        }
        found.records.push_back(std::move(written));
    }
    return found;
}

WriterConventions conventionsOf(SourceKind kind) {
    MemoryStore files;
    const ScenarioIdentity names{"s", "1"};
    if (kind == SourceKind::Line) dati_linea(files, names);
    if (kind == SourceKind::Train) dati_treno(files, names);
    const std::string name =
        kind == SourceKind::Line ? names.lineSourceFile() : names.trainSourceFile();
    return conventionsFrom(files.read(name).value_or(""), kind);
}

}  // namespace

const WriterConventions& writerConventions(SourceKind kind) {
    static const WriterConventions line = conventionsOf(SourceKind::Line);
    static const WriterConventions train = conventionsOf(SourceKind::Train);
    static const WriterConventions none;
    if (kind == SourceKind::Line) return line;
    if (kind == SourceKind::Train) return train;
    return none;
}

}  // namespace scenario
