// The compile step's open source file: reading first fields, warnings and errors at records.
#include "compiler/source_input.h"

#include <utility>

#include "base/failures.h"

namespace scenario {

void SourceInput::open(const std::string& fileName) {
    close();
    // A file that cannot be opened is the failure's place, not the record read before it.
    fileName_ = fileName;
    record_ = Location{fileName, 0, 0, 0};
    std::optional<std::string> bytes = files_.read(fileName);
    if (!bytes)
        throw RunTimeFailure("the source file " + fileName + " is missing or cannot be read");
    reader_.emplace(std::move(*bytes), fileName);
}

void SourceInput::close() {
    if (!reader_) return;
    if (build_.cellWatcher) build_.cellWatcher->recordEnds(record_);
    for (const Diagnostic& w : reader_->warnings()) keepWarning(build_.warnings, w);
    reader_.reset();
}

void SourceInput::closeAndDelete() {
    close();
    files_.remove(fileName_);
}

FieldReader& SourceInput::reader() {
    if (!reader_) throw RunTimeFailure("no source file is open");
    return *reader_;
}

std::string_view SourceInput::readFirstField() {
    if (build_.cellWatcher) build_.cellWatcher->recordEnds(record_);
    const bool afterValues = reader().valueOnCurrentLine();
    build_.currentLine = reader_->readTextView();  // into the capacity it has
    // The file's name was set at open: a record costs no copy of it.
    record_.line = reader_->line();
    record_.firstColumn = reader_->firstColumn();
    record_.lastColumn = reader_->lastColumn();
    if (!afterValues || build_.currentLine.empty()) return build_.currentLine;
    // One note per line: the first extra field says it.
    const std::vector<Diagnostic>& kept = build_.warnings;
    const bool noted = !kept.empty() && kept.back().location.file == record_.file &&
                       kept.back().location.line == record_.line;
    if (!noted)
        warnAtRecord(kExtraFieldsWarning, "line holds more fields than its record takes: \"" +
                                              build_.currentLine.substr(0, 40) +
                                              "\" is read as a first field");
    return build_.currentLine;
}

void SourceInput::noteMisplacedKeyword(SourcePlace place) {
    if (build_.cellWatcher) build_.cellWatcher->recordExamined(place, record_);
    std::string note = misplacedKeywordNote(build_.currentLine, place);
    if (!note.empty()) warnAtRecord(kMisplacedKeywordWarning, std::move(note));
}

void SourceInput::warnAtRecord(std::string_view name, std::string message) {
    keepWarning(build_.warnings, makeWarning(name, record_, std::move(message)));
}

void SourceInput::recordError(std::int32_t code) {
    scenario::recordError(build_, code, build_.errorPosition, record_);
}

void SourceInput::recordError(std::int32_t code, std::int32_t position) {
    scenario::recordError(build_, code, position, record_);
}

void SourceInput::recordFailure(const std::string& reason) {
    Location at = reader_ ? reader_->location() : record_;
    scenario::recordError(build_, 25, build_.errorPosition, std::move(at));
    build_.errors.back().detail = reason;
}

void SourceInput::recordMissingFile(std::int32_t code, const std::string& fileName) {
    scenario::recordError(build_, code, build_.errorPosition, Location{fileName, 0, 0, 0});
}

}  // namespace scenario
