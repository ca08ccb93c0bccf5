// The line plan's storage and the build object's helpers for cells and the open source file.
#include "compiler/track_model.h"

#include <utility>

#include "compiler/failures.h"
#include "output/file_store.h"

namespace scenario {

void LinePlan::create(std::int32_t planLength) {
    const std::size_t count = static_cast<std::size_t>(planLength) + 1;
    first_.assign(count, 0.0);
    second_.assign(count, 0.0);
    exists_ = true;
    seeded_ = false;
    upper_ = planLength;
    doubleEnd_ = 2;
}

void LinePlan::clear() {
    *this = LinePlan();
}

void LinePlan::seed() {
    if (upper_ < 1) throw RunTimeFailure("plan too short to seed");
    first_[0] = 0.0;
    second_[0] = 0.0;
    first_[1] = 0.0;
    second_[1] = 1.0;
    seeded_ = true;
}

void LinePlan::setDouble(std::int32_t m, double first, double second) {
    if (m != doubleEnd_ || m > upper_) throw RunTimeFailure("plan metre outside the plan");
    first_[static_cast<std::size_t>(m)] = first;
    second_[static_cast<std::size_t>(m)] = second;
    ++doubleEnd_;
}

PlanValueType LinePlan::typeAt(std::int32_t m) const {
    if (m < 2) return seeded_ ? PlanValueType::Integer : PlanValueType::Empty;
    return m < doubleEnd_ ? PlanValueType::Double : PlanValueType::Empty;
}

TrackCell& ScenarioBuild::cell(std::int64_t index) {
    if (!cellExists(index)) throw RunTimeFailure("cell index outside the track cell table");
    if (cellWatcher) cellWatcher->cellTouched(index);
    return trackCells[static_cast<std::size_t>(index)];
}

void ScenarioBuild::openSource(const std::string& fileName) {
    closeSource();
    std::optional<std::string> bytes = files_.read(fileName);
    if (!bytes) throw RunTimeFailure("cannot open " + fileName);
    sourceReader_.emplace(std::move(*bytes));
    sourceName_ = fileName;
    recordLine = 0;
}

void ScenarioBuild::closeSource() {
    if (!sourceReader_) return;
    if (cellWatcher) cellWatcher->recordEnds();
    for (const ReaderWarning& w : sourceReader_->warnings())
        keepWarning(sourceWarnings, SourceWarning{sourceName_, w.line, w.message});
    sourceReader_.reset();
}

FieldReader& ScenarioBuild::source() {
    if (!sourceReader_) throw RunTimeFailure("no source file is open");
    return *sourceReader_;
}

void ScenarioBuild::readFirstField() {
    if (cellWatcher) cellWatcher->recordEnds();
    const std::int32_t valueLine = source().valueLine();
    currentLine = source().readText();
    recordLine = source().line();
    if (recordLine != valueLine || currentLine.empty()) return;
    // One note per line: the first extra field says it.
    const bool noted = !sourceWarnings.empty() && sourceWarnings.back().file == sourceName_ &&
                       sourceWarnings.back().line == recordLine;
    if (!noted)
        warnAtRecord("line holds more fields than its record takes: \"" +
                     currentLine.substr(0, 40) + "\" is read as a first field");
}

void ScenarioBuild::noteMisplacedKeyword(SourcePlace place) {
    std::string note = misplacedKeywordNote(currentLine, place);
    if (!note.empty()) warnAtRecord(std::move(note));
}

void ScenarioBuild::warnAtRecord(std::string message) {
    keepWarning(sourceWarnings, SourceWarning{sourceName_, recordLine, std::move(message)});
}

void ScenarioBuild::setError(std::int32_t code, std::int32_t position, const std::string& file,
                             std::int32_t line) {
    errorCode = code;
    errorPosition = position;
    errorFile = file;
    errorLine = line;
    // A procedure records its record's error, then the record's reader records it again with the
    // position: that is one error.
    if (line > 0 && !recordedErrors.empty()) {
        RecordedError& last = recordedErrors.back();
        if (last.code == code && last.file == file && last.line == line) {
            last.position = position;
            return;
        }
    }
    recordedErrors.push_back({code, position, file, line});
}

void ScenarioBuild::recordError(std::int32_t code) {
    setError(code, errorPosition, sourceName_, recordLine);
}

void ScenarioBuild::recordError(std::int32_t code, std::int32_t position) {
    setError(code, position, sourceName_, recordLine);
}

void ScenarioBuild::recordModelError(std::int32_t code, std::int32_t position) {
    setError(code, position, std::string(), 0);
}

void ScenarioBuild::recordFailure(const std::string& reason) {
    failureReason = reason;
    setError(25, errorPosition, sourceName_, sourceReader_ ? sourceReader_->line() : recordLine);
}

}  // namespace scenario
