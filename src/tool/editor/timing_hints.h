// Running times in the editor: the timetable warning found with each check, and from the last
// timing of a train file, hints at its stops' records, a hover on their times and the quick fix
// that sets a time the train can keep. Texts in and out are Windows-1252; lines count from 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tool/check/compile_session.h"
#include "tool/check/timetable_warnings.h"
#include "tool/editor/assist.h"
#include "tool/timing/running_times.h"
#include "tool/timing/stock_file.h"

namespace scenario {

struct EditorTiming {
    bool on = false;
    std::optional<std::string> stockFile;  // else the one beside the sources, else the defaults
    double margin = 0;                     // per cent of the minimum
};

// A timing of a train file: the sections, and the line of each station's record.
struct TimedStops {
    timing::Timing timing;
    std::vector<std::int32_t> recordLines;  // by station-table entry; -1 where none was read
};

// Watches a check's compile, times it when it compiled cleanly and adds the timetable warnings.
class TimingWatch final : public BuildWatch {
  public:
    // `folder` holds the sources, and the stock file that may stand beside them.
    TimingWatch(const EditorTiming& setting, std::string folder);

    void starts(ScenarioBuild& build) override;
    void ends(const ScenarioBuild& build, const CompileOutcome& outcome,
              std::vector<Diagnostic>& warnings) override;

    std::optional<TimedStops> timed;
    std::string stockError;  // a stock file that cannot be read or is refused

  private:
    const EditorTiming& setting_;
    std::string folder_;
    std::optional<StockChoice> stock_;
    std::optional<StationPlaces> places_;
};

struct InlayHint {
    TextSpot spot;      // the hint stands after `last`
    std::string label;  // "min 2:27 · slack +0:03"
};

// A hint at the end of each record of a stop that ends a section, for lines first to last.
std::vector<InlayHint> timingHints(const TimedStops& timed, std::string_view text,
                                   std::int32_t first, std::int32_t last);

// On a station's time field, the figures of the sections to and from it, in markdown.
std::optional<std::string> timingHover(const TimedStops& timed, std::string_view text,
                                       std::int32_t line, std::int32_t column);

// For a timetable warning, the station's time fields set to the earliest feasible time.
std::optional<TextFix> timetableFix(const TimedStops& timed, std::string_view text,
                                    const Diagnostic& warning);

}  // namespace scenario
