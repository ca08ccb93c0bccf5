// The timetable in the editor: a check's compile timed as `check --timing` times it, and what the
// timing tells the author at the train file's station records.
#include "tool/editor/timing_hints.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>

#include "report/exit_status.h"
#include "tool/check/checker.h"
#include "tool/check/source_lines.h"

namespace scenario {
namespace {

// The station record's time, the departure where the train departs again.
constexpr std::array<std::string_view, 3> kTimeFields = {"hours", "minutes", "seconds"};

// "2:27" under an hour, "1:02:27" from one on; a sign when asked for.
std::string shortDuration(double seconds, bool sign) {
    const long long whole = std::llround(seconds);
    const long long size = std::llabs(whole);
    const char* shown = !sign ? "" : whole < 0 ? "-" : "+";
    if (size < 3600) return fmt::format("{}{}:{:02}", shown, size / 60, size % 60);
    return fmt::format("{}{}:{:02}:{:02}", shown, size / 3600, size / 60 % 60, size % 60);
}

std::string kilometres(double metres) {
    return fmt::format("{:.3f} km", metres / 1000.0);
}

std::string noRunText(const timing::Section& s) {
    std::string text = "no run: " + s.note;
    if (s.stall) text += " at " + kilometres(*s.stall);
    return text;
}

std::int32_t recordLineOf(const TimedStops& timed, int station) {
    if (station < 0 || static_cast<std::size_t>(station) >= timed.recordLines.size()) return -1;
    return timed.recordLines[static_cast<std::size_t>(station)];
}

// The stop whose record stands on `line`, if any.
std::optional<int> stopAt(const TimedStops& timed, std::int32_t line) {
    const std::vector<timing::Stop>& stops = timed.timing.stops;
    for (std::size_t i = 0; i < stops.size(); ++i)
        if (recordLineOf(timed, stops[i].station) == line) return static_cast<int>(i);
    return std::nullopt;
}

const timing::Section* sectionTo(const TimedStops& timed, int stop) {
    for (const timing::Section& s : timed.timing.sections)
        if (s.to == stop) return &s;
    return nullptr;
}

// The station records of a train file as its pass reads them, by the line of their first field.
using StationRecords = std::map<std::int32_t, RecordLine>;

StationRecords stationRecordsOf(std::string_view text) {
    StationRecords found;
    for (RecordLine& read : walkSourceText(text, SourceKind::Train))
        if (read.record != nullptr && read.record->id == RecordId::Station)
            found.emplace(read.line, std::move(read));
    return found;
}

// The time fields of the record of the station `name` on the line, all three on it or none: a
// record that an edit has moved since the timing is not taken for another.
std::optional<std::array<ReadValue, 3>> timeFieldsOf(const StationRecords& stations,
                                                     std::int32_t line, std::string_view name) {
    const auto read = stations.find(line);
    if (read == stations.end()) return std::nullopt;
    std::array<ReadValue, 3> found;
    std::size_t seen = 0;
    bool named = false;
    for (const ReadValue& value : read->second.values) {
        if (value.field->type == FieldType::Name) named = value.text == name;
        for (std::size_t i = 0; i < kTimeFields.size(); ++i) {
            if (value.field->name != kTimeFields[i] || value.line != line) continue;
            found[i] = value;
            ++seen;
        }
    }
    if (seen != kTimeFields.size() || !named) return std::nullopt;
    return found;
}

std::string_view lineOf(std::string_view text, std::int32_t line) {
    const std::vector<std::string_view> lines = textLines(text);
    if (line < 0 || static_cast<std::size_t>(line) >= lines.size()) return {};
    return lines[static_cast<std::size_t>(line)];
}

std::string sectionText(const TimedStops& timed, const timing::Section& s) {
    const timing::Stop& from = timed.timing.stops[static_cast<std::size_t>(s.from)];
    const timing::Stop& to = timed.timing.stops[static_cast<std::size_t>(s.to)];
    std::string text =
        fmt::format("**{} to {}**, {}\n\nscheduled {}", from.name, to.name, kilometres(s.distance),
                    s.scheduled ? clockText(*s.scheduled) : "none");
    if (!s.minimum) return text + ", " + noRunText(s);
    text += ", minimum " + clockText(*s.minimum);
    if (s.slack)
        text += fmt::format(", slack {} ({:+.1f} % of the minimum)", clockText(*s.slack, true),
                            *s.slack * 100.0 / *s.minimum);
    if (const std::optional<std::int32_t> earliest = timing::earliestRecordTime(timed.timing, s))
        text += "; earliest feasible time here " + clockText(*earliest);
    return text;
}

// The number written as the field was: as wide, when the author padded it with zeros.
std::string likeWritten(std::int64_t value, std::string_view written) {
    if (written.size() > 1 && written.front() == '0')
        return fmt::format("{:0{}}", value, written.size());
    return std::to_string(value);
}

}  // namespace

TimingWatch::TimingWatch(const EditorTiming& setting, std::string folder)
    : setting_(setting), folder_(std::move(folder)) {}

void TimingWatch::starts(ScenarioBuild& build) {
    stock_ = chooseStock(setting_.stockFile, folder_, build.scenarioName, build.trainNumber);
    if (!stock_->error.empty()) {
        stockError = stock_->error;
        return;
    }
    places_.emplace(build);
}

void TimingWatch::ends(const ScenarioBuild& build, const CompileOutcome& outcome,
                       std::vector<Diagnostic>& warnings) {
    if (!places_) return;
    if (outcome.status == kExitClean) {
        TimedStops found{timing::timeBuild(build, stock_->stock), {}};
        for (Diagnostic& w : timetableWarnings(found.timing, &*places_, setting_.margin))
            warnings.push_back(std::move(w));
        int stations = 0;
        for (const timing::Stop& s : found.timing.stops)
            stations = std::max(stations, s.station + 1);
        for (const timing::Passing& p : found.timing.passings)
            stations = std::max(stations, p.station + 1);
        for (int i = 0; i < stations; ++i) {
            const Location at = places_->of(i);
            found.recordLines.push_back(at.hasLine() ? at.line - 1 : -1);
        }
        timed = std::move(found);
    }
    places_.reset();
}

std::vector<InlayHint> timingHints(const TimedStops& timed, std::string_view text,
                                   std::int32_t first, std::int32_t last) {
    std::vector<InlayHint> hints;
    const std::vector<std::string_view> lines = textLines(text);
    const StationRecords stations = stationRecordsOf(text);
    for (const timing::Section& s : timed.timing.sections) {
        const timing::Stop& to = timed.timing.stops[static_cast<std::size_t>(s.to)];
        const std::int32_t line = recordLineOf(timed, to.station);
        if (line < first || line > last || static_cast<std::size_t>(line) >= lines.size()) continue;
        const std::string_view shown = lines[static_cast<std::size_t>(line)];
        if (!timeFieldsOf(stations, line, to.name)) continue;
        std::string label;
        if (!s.minimum)
            label = noRunText(s);
        else if (!s.slack)
            label = "min " + shortDuration(*s.minimum, false);
        else
            label = "min " + shortDuration(*s.minimum, false) + " \xB7 slack " +
                    shortDuration(*s.slack, true);
        const auto end = static_cast<std::int32_t>(shown.size());
        hints.push_back({{line, end, end}, std::move(label)});
    }
    return hints;
}

std::optional<std::string> timingHover(const TimedStops& timed, std::string_view text,
                                       std::int32_t line, std::int32_t column) {
    const StationRecords stations = stationRecordsOf(text);
    const auto onTime = [&](std::string_view name) {
        const std::optional<std::array<ReadValue, 3>> fields = timeFieldsOf(stations, line, name);
        return fields && column >= (*fields)[0].spot.first && column < (*fields)[2].spot.last;
    };
    std::string figures;
    if (const std::optional<int> stop = stopAt(timed, line)) {
        if (!onTime(timed.timing.stops[static_cast<std::size_t>(*stop)].name)) return std::nullopt;
        for (const timing::Section& s : timed.timing.sections)
            if (s.to == *stop || s.from == *stop)
                figures += (figures.empty() ? "" : "\n\n") + sectionText(timed, s);
    }
    for (const timing::Passing& p : timed.timing.passings) {
        if (recordLineOf(timed, p.station) != line || !onTime(p.name)) continue;
        figures = fmt::format("**{}**, passed at {}: earliest {}, timetable {}", p.name,
                              kilometres(p.position), p.earliest ? clockText(*p.earliest) : "-",
                              p.scheduled ? clockText(*p.scheduled) : "-");
    }
    if (figures.empty()) return std::nullopt;
    return figures;
}

std::optional<TextFix> timetableFix(const TimedStops& timed, std::string_view text,
                                    const Diagnostic& warning) {
    if (warning.name != kTimetableWarning || warning.location.line < 1) return std::nullopt;
    const std::int32_t line = warning.location.line - 1;
    const std::optional<int> stop = stopAt(timed, line);
    const timing::Section* section = stop ? sectionTo(timed, *stop) : nullptr;
    if (section == nullptr) return std::nullopt;
    const std::optional<std::int32_t> earliest = timing::earliestRecordTime(timed.timing, *section);
    const std::string_view shown = lineOf(text, line);
    const std::optional<std::array<ReadValue, 3>> fields = timeFieldsOf(
        stationRecordsOf(text), line, timed.timing.stops[static_cast<std::size_t>(*stop)].name);
    if (!earliest || !fields) return std::nullopt;
    // Written as the author wrote the time: what stands between the fields kept, numbers
    // right-aligned where blanks before them allow, zeros in front where there were.
    const std::array<std::int64_t, 3> parts = {*earliest / 3600, *earliest / 60 % 60,
                                               *earliest % 60};
    const auto piece = [&](std::int32_t from, std::int32_t to) {
        return std::string(
            shown.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)));
    };
    std::string replacement;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const FieldSpot& spot = (*fields)[i].spot;
        const std::string written = piece(spot.first, spot.last);
        const std::string number = likeWritten(parts[i], written);
        if (i > 0) {
            std::string gap = piece((*fields)[i - 1].spot.last, spot.first);
            if (number.size() < written.size()) gap.append(written.size() - number.size(), ' ');
            for (std::size_t extra = number.size() > written.size() ? number.size() - written.size()
                                                                    : 0;
                 extra > 0 && gap.size() > 1 && gap.back() == ' '; --extra)
                gap.pop_back();
            replacement += gap;
        }
        replacement += number;
    }
    return TextFix{"set the time to " + clockText(*earliest),
                   {line, (*fields)[0].spot.first, (*fields)[2].spot.last},
                   std::move(replacement)};
}

}  // namespace scenario
