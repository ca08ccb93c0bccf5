// Running times: for each section between two stops of the timetable, the fastest run the train
// can make and the slack the timetable leaves. A result value, printed by the callers.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "compiler/track_model.h"
#include "output/scenario_file_reader.h"
#include "tool/timing/route_track.h"
#include "tool/timing/stock.h"

namespace scenario::timing {

inline constexpr std::int32_t kDay = 24 * 3600;

// What the model reads: the cells, the station table and the plan's curves.
struct RouteModel {
    std::span<const TrackCell> cells;
    const StationTable* stations = nullptr;
    std::span<const CurveRun> curves;
};

struct RunPoint {
    double position;  // m
    double speed;     // m/s
    double time;      // s from the departure
};

enum class StallCause { None, Grade, ZeroLimit, Brakes };

struct Stop {
    int station;       // index in the station table
    std::string name;  // Windows-1252
    std::int32_t position;
    std::optional<std::int32_t> arrival;    // seconds of the day
    std::optional<std::int32_t> departure;  // none at the last stop
};

struct Section {
    int from;  // indices into stops
    int to;
    double distance;
    std::optional<std::int32_t> scheduled;
    std::optional<double> minimum;
    std::optional<double> slack;
    std::optional<double> stall;  // where the run stops, m
    StallCause cause = StallCause::None;
    std::string note;           // why there is no minimum
    std::vector<RunPoint> run;  // when asked for
};

struct Passing {
    int station;
    std::string name;
    std::int32_t position;
    int section;
    std::optional<std::int32_t> scheduled;  // the station's time, seconds of the day
    std::optional<double> earliest;         // seconds of the day, by the fastest run
};

struct Timing {
    std::int32_t cars = 0;
    std::int32_t brakedMass = 0;
    double mass = 0;    // kg
    double length = 0;  // m
    std::vector<Stop> stops;
    std::vector<Section> sections;
    std::vector<Passing> passings;
};

struct TimingOptions {
    double step = 5.0;  // m; the nodes of the integration
    bool keepRun = false;
};

Timing timeRoute(const RouteModel& route, const Stock& stock, const TimingOptions& options = {});
// The same from a build (sources compiled in memory) or from the compiled files.
Timing timeBuild(const ScenarioBuild& build, const Stock& stock, const TimingOptions& options = {});
Timing timeFiles(const std::vector<TrackCell>& cells, const StationTable& stations,
                 const PlanFile* plan, const Stock& stock, const TimingOptions& options = {});

// The time the timetable's record at the arriving stop should hold for the section to be run:
// its earliest arrival, plus its dwell where the train departs again.
std::optional<std::int32_t> earliestRecordTime(const Timing& timing, const Section& section);

}  // namespace scenario::timing
