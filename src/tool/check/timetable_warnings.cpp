// Compares each section's scheduled time with its fastest run and tells the author the earliest
// time the arriving station's record can hold.
#include "tool/check/timetable_warnings.h"

#include <fmt/format.h>

#include <cmath>
#include <cstdlib>

namespace scenario {

StationPlaces::StationPlaces(ScenarioBuild& build) : build_(build), next_(build.cellWatcher) {
    build_.cellWatcher = this;
}

StationPlaces::~StationPlaces() {
    build_.cellWatcher = next_;
}

void StationPlaces::cellTouched(std::int64_t index) {
    if (next_ != nullptr) next_->cellTouched(index);
}

// A station record moves the station counter on while it is read.
void StationPlaces::recordEnds(const Location& record) {
    if (next_ != nullptr) next_->recordEnds(record);
    const auto filled = static_cast<std::size_t>(std::max(build_.stationCounter, 0));
    if (filled <= places_.size()) return;
    places_.resize(filled, record);
}

void StationPlaces::errorAtCells(std::size_t error, std::int64_t cell, std::int64_t other) {
    if (next_ != nullptr) next_->errorAtCells(error, cell, other);
}

Location StationPlaces::of(int station) const {
    if (station < 0 || static_cast<std::size_t>(station) >= places_.size()) return {};
    return places_[static_cast<std::size_t>(station)];
}

std::string clockText(double seconds, bool signedDuration) {
    const auto whole = static_cast<long long>(std::llround(seconds));
    const long long size = std::llabs(whole);
    const char* sign = !signedDuration ? "" : whole < 0 ? "-" : "+";
    return fmt::format("{}{}:{:02}:{:02}", sign, size / 3600, size / 60 % 60, size % 60);
}

std::vector<Diagnostic> timetableWarnings(const timing::Timing& timing, const StationPlaces* places,
                                          double marginPercent) {
    std::vector<Diagnostic> warnings;
    for (const timing::Section& s : timing.sections) {
        if (!s.slack || !s.minimum || !s.scheduled) continue;
        const double wanted = *s.minimum * marginPercent / 100.0;
        if (*s.slack >= 0 && *s.slack >= wanted) continue;
        const timing::Stop& from = timing.stops[static_cast<std::size_t>(s.from)];
        const timing::Stop& to = timing.stops[static_cast<std::size_t>(s.to)];
        std::string message =
            *s.slack < 0
                ? fmt::format("the timetable gives {} from {} to {}, but the fastest run takes {}",
                              clockText(*s.scheduled), from.name, to.name, clockText(*s.minimum))
                : fmt::format(
                      "the timetable leaves {} of slack from {} to {}, below {:g} % of "
                      "the fastest run's {}",
                      clockText(*s.slack), from.name, to.name, marginPercent,
                      clockText(*s.minimum));
        const std::optional<std::int32_t> earliest = timing::earliestRecordTime(timing, s);
        if (earliest)
            message += fmt::format("; the earliest feasible time here is {}", clockText(*earliest));
        Diagnostic d = makeWarning(kTimetableWarning, places ? places->of(to.station) : Location{},
                                   std::move(message));
        d.position = to.position;
        warnings.push_back(std::move(d));
    }
    return warnings;
}

}  // namespace scenario
