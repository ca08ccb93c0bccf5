// The timetable warning: a section the timetable gives less time than the fastest run needs, or
// less slack than the margin asks, reported at the arriving station's record.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "compiler/track_model.h"
#include "tool/check/checker.h"
#include "tool/timing/running_times.h"

namespace scenario {

// Where each station record stands in the train source: watches a compile and notes, for each
// station-table entry the compile fills, the record that filled it.
class StationPlaces final : public CellWatcher {
  public:
    explicit StationPlaces(ScenarioBuild& build);
    ~StationPlaces();
    StationPlaces(const StationPlaces&) = delete;
    StationPlaces& operator=(const StationPlaces&) = delete;

    void cellTouched(std::int64_t index) override;
    void recordEnds(const Location& record) override;
    void errorAtCells(std::size_t error, std::int64_t cell, std::int64_t other) override;

    // The record of a station-table entry; no line when the compile did not read one.
    Location of(int station) const;

  private:
    ScenarioBuild& build_;
    CellWatcher* next_;             // the watcher it stands in front of, told of everything too
    std::vector<Location> places_;  // by station-table entry
};

// "H:MM:SS" for a time of day or a duration; a negative duration takes a sign.
std::string clockText(double seconds, bool signedDuration = false);

// The warnings for the sections whose slack is negative or below `marginPercent` of the
// minimum; `places` gives the records' locations, or none when timing compiled files.
std::vector<Diagnostic> timetableWarnings(const timing::Timing& timing, const StationPlaces* places,
                                          double marginPercent);

}  // namespace scenario
