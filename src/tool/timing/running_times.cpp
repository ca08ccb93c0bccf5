// The fastest run of each section: the braking curve is integrated back from the stop and every
// limit drop, then the run forward under full traction, held below the limits and that curve.
// Nodes every `step` metres; within a step the acceleration is constant.
#include "tool/timing/running_times.h"

#include <algorithm>
#include <cmath>

#include "tool/timing/route_track.h"
#include "tool/timing/train_forces.h"

namespace scenario::timing {
namespace {

constexpr int kLastStationSlot = kFirstSignSlot - 1;

bool isEmptyEntry(const StationRecord& r) {
    return r.stationKind == 0 && r.platformStart == 0 && r.platformEnd == 0 && r.position == 0 &&
           r.flagA == 0 && r.groupA1 == 0 && r.groupA2 == 0 && r.groupB1 == 0 && r.groupB2 == 0 &&
           r.groupB3 == 0 && r.groupA3 == 0 && r.dwellTime == 0 && r.flagC == 0 && r.flagB == 0 &&
           r.departureTime == 0;
}

std::int32_t timeOfDay(std::int64_t seconds) {
    return static_cast<std::int32_t>(((seconds % kDay) + kDay) % kDay);
}

std::optional<std::int32_t> clockTime(std::int32_t seconds) {
    if (seconds == 0) return std::nullopt;
    return timeOfDay(seconds);
}

std::vector<int> stationsInTable(const StationTable& table) {
    std::vector<int> stations;
    for (int i = 1; i <= kLastStationSlot && !isEmptyEntry(table[static_cast<std::size_t>(i)]); ++i)
        stations.push_back(i);
    return stations;
}

// The furthest any run goes: the last station within the cell table, m.
std::size_t timedReach(std::span<const TrackCell> cells, const StationTable& table) {
    const std::int64_t end = static_cast<std::int64_t>(cells.size()) * kCellLength;
    std::int64_t reach = 0;
    for (const int i : stationsInTable(table))
        reach = std::max<std::int64_t>(
            reach, std::min<std::int64_t>(table[static_cast<std::size_t>(i)].position, end));
    return static_cast<std::size_t>(reach);
}

Stop stopAt(const StationTable& table, int station, bool last) {
    const StationRecord& r = table[static_cast<std::size_t>(station)];
    Stop stop{station, r.name, r.position, std::nullopt, std::nullopt};
    const std::optional<std::int32_t> time = clockTime(r.departureTime);
    if (!time) return stop;
    if (last) {
        stop.arrival = time;
        return stop;
    }
    stop.departure = time;
    stop.arrival = timeOfDay(std::int64_t{*time} - r.dwellTime);
    return stop;
}

struct RunOutcome {
    std::optional<double> time;
    double stall = 0;
    StallCause cause = StallCause::None;
};

// One section's fastest run from rest at `from` to rest at `to`.
class SectionRun {
  public:
    SectionRun(const RouteTrack& track, const Train& train, double step)
        : track_(track), train_(train), step_(step) {}

    RunOutcome run(double from, double to, std::vector<RunPoint>* points,
                   std::vector<std::pair<double, double*>>& passings) {
        placeNodes(from, to);
        brakingCurve();
        return forward(points, passings);
    }

  private:
    void placeNodes(double from, double to) {
        const auto steps = static_cast<std::size_t>(std::ceil((to - from) / step_ - 1e-9));
        nodes_.resize(steps + 1);
        limit_.resize(steps + 1);
        grade_.resize(steps + 1);
        for (std::size_t i = 0; i < steps; ++i) nodes_[i] = from + static_cast<double>(i) * step_;
        nodes_[steps] = to;
        // Both passes read each node's limit and grade: found once, in route order.
        GradeHint hint;
        for (std::size_t i = 0; i <= steps; ++i) {
            limit_[i] = track_.lowestLimit(nodes_[i] - train_.length, nodes_[i]) / 3.6;
            grade_[i] = track_.averageGrade(nodes_[i], train_.length, hint);
        }
    }

    // The highest speed at each node from which the train can still brake to every lower limit
    // ahead and to rest at the end, squared.
    void brakingCurve() {
        const std::size_t last = nodes_.size() - 1;
        curve_.resize(nodes_.size());
        curve_[last] = 0;
        for (std::size_t i = last; i-- > 0;) {
            const double v = std::sqrt(curve_[i + 1]);
            const double b = train_.brakingDeceleration(v, grade_[i + 1]);
            const double reach = curve_[i + 1] + 2 * b * (nodes_[i + 1] - nodes_[i]);
            const double cap = std::max(limit_[i], 0.0);
            curve_[i] = std::max(0.0, std::min(reach, cap * cap));
        }
    }

    RunOutcome stalled(double where, StallCause cause) const {
        return {std::nullopt, where, cause};
    }

    RunOutcome forward(std::vector<RunPoint>* points,
                       std::vector<std::pair<double, double*>>& passings) {
        const std::size_t last = nodes_.size() - 1;
        auto passing = passings.begin();
        double v = 0;
        double t = 0;
        for (std::size_t i = 0; i < last; ++i) {
            const double x = nodes_[i];
            if (limit_[i] <= 0) return stalled(x, StallCause::ZeroLimit);
            for (; passing != passings.end() && passing->first <= x; ++passing)
                *passing->second = t;
            if (points) points->push_back({x, v, t});
            const double dx = nodes_[i + 1] - x;
            const double w = grade_[i];
            const double a = train_.acceleration(v, track_.adhesion(x), w);
            const double free = v * v + 2 * a * dx;
            if (free <= 0) return stalled(v > 0 ? x + v * v / (-2 * a) : x, StallCause::Grade);
            if (curve_[i + 1] < free && train_.brakingDeceleration(v, w) <= 0)
                return stalled(x, StallCause::Brakes);
            const double next = std::sqrt(std::min(free, curve_[i + 1]));
            if (next <= 0 && i + 1 < last)
                return stalled(nodes_[i + 1],
                               limit_[i + 1] <= 0 ? StallCause::ZeroLimit : StallCause::Brakes);
            t += 2 * dx / (v + next);
            v = next;
        }
        for (; passing != passings.end(); ++passing) *passing->second = t;
        if (points) points->push_back({nodes_[last], v, t});
        return {t, 0, StallCause::None};
    }

    const RouteTrack& track_;
    const Train& train_;
    double step_;
    std::vector<double> nodes_;
    std::vector<double> limit_;  // m/s
    std::vector<double> grade_;  // per mille
    std::vector<double> curve_;  // m^2/s^2
};

std::string stallNote(StallCause cause) {
    switch (cause) {
        case StallCause::Grade:
            return "the train stalls on the upgrade";
        case StallCause::ZeroLimit:
            return "a limit of 0 km/h stops the train";
        case StallCause::Brakes:
            return "the brakes cannot hold the train on the downgrade";
        default:
            return {};
    }
}

void timeSection(Section& section, const Timing& timing, const RouteTrack& track,
                 SectionRun& runner, std::vector<Passing>& passings, const TimingOptions& options) {
    const Stop& a = timing.stops[static_cast<std::size_t>(section.from)];
    const Stop& b = timing.stops[static_cast<std::size_t>(section.to)];
    if (a.departure && b.arrival)
        section.scheduled = timeOfDay(std::int64_t{*b.arrival} - *a.departure);
    if (b.position <= a.position) {
        section.note = "the stop is not after the one before it on the route";
        return;
    }
    if (a.position < 0 || b.position > track.length()) {
        section.note = "the section leaves the cell table";
        return;
    }
    std::vector<std::pair<double, double*>> times;
    std::vector<double> fromStart(passings.size());
    for (std::size_t i = 0; i < passings.size(); ++i)
        times.emplace_back(passings[i].position, &fromStart[i]);
    const RunOutcome outcome =
        runner.run(a.position, b.position, options.keepRun ? &section.run : nullptr, times);
    if (!outcome.time) {
        section.stall = outcome.stall;
        section.cause = outcome.cause;
        section.note = stallNote(outcome.cause);
        return;
    }
    section.minimum = outcome.time;
    if (section.scheduled) section.slack = *section.scheduled - *outcome.time;
    if (!a.departure) return;
    for (std::size_t i = 0; i < passings.size(); ++i)
        passings[i].earliest = std::fmod(*a.departure + fromStart[i], double{kDay});
}

}  // namespace

Timing timeRoute(const RouteModel& route, const Stock& stock, const TimingOptions& options) {
    const StationTable& table = *route.stations;
    const StationRecord& train = table[kTrainDataSlot];
    const Train physics(stock, train.position, train.platformStart);
    Timing timing{physics.cars, physics.brakedMass, physics.mass, physics.length, {}, {}, {}};
    const std::vector<int> stations = stationsInTable(table);
    if (stations.empty() || route.cells.empty()) return timing;

    const RouteTrack track(route.cells, route.curves, stock.maxSpeedKmh);
    std::vector<std::vector<Passing>> runPast;  // by section
    std::vector<Passing> between;
    for (std::size_t k = 0; k < stations.size(); ++k) {
        const StationRecord& r = table[static_cast<std::size_t>(stations[k])];
        const bool last = k + 1 == stations.size();
        if (k != 0 && !last && r.dwellTime == 0) {
            between.push_back({stations[k], r.name, r.position,
                               static_cast<int>(timing.sections.size()), clockTime(r.departureTime),
                               std::nullopt});
            continue;
        }
        timing.stops.push_back(stopAt(table, stations[k], last));
        if (timing.stops.size() < 2) continue;
        const int to = static_cast<int>(timing.stops.size()) - 1;
        Section& section = timing.sections.emplace_back();
        section.from = to - 1;
        section.to = to;
        section.distance = timing.stops[static_cast<std::size_t>(to)].position -
                           timing.stops[static_cast<std::size_t>(to - 1)].position;
        // Only the stations the section runs past are timed by its run.
        std::vector<Passing> inside;
        for (Passing& p : between) {
            const Stop& a = timing.stops[static_cast<std::size_t>(to - 1)];
            const Stop& b = timing.stops[static_cast<std::size_t>(to)];
            if (p.position > a.position && p.position < b.position)
                inside.push_back(p);
            else
                timing.passings.push_back(p);
        }
        runPast.push_back(std::move(inside));
        between.clear();
    }
    for (Passing& p : between) timing.passings.push_back(p);

    SectionRun runner(track, physics, options.step);
    for (std::size_t s = 0; s < timing.sections.size(); ++s)
        timeSection(timing.sections[s], timing, track, runner, runPast[s], options);
    for (std::vector<Passing>& passings : runPast)
        for (Passing& p : passings) timing.passings.push_back(std::move(p));
    std::sort(timing.passings.begin(), timing.passings.end(),
              [](const Passing& x, const Passing& y) { return x.station < y.station; });
    return timing;
}

Timing timeBuild(const ScenarioBuild& build, const Stock& stock, const TimingOptions& options) {
    const std::vector<CurveRun> curves =
        curvesOfPlan(build.linePlan, timedReach(build.trackCells, build.stationTable) + 1);
    return timeRoute({build.trackCells, &build.stationTable, curves}, stock, options);
}

Timing timeFiles(const std::vector<TrackCell>& cells, const StationTable& stations,
                 const PlanFile* plan, const Stock& stock, const TimingOptions& options) {
    const std::vector<CurveRun> curves =
        plan ? curvesOfPlan(*plan, timedReach(cells, stations) + 1) : std::vector<CurveRun>{};
    return timeRoute({cells, &stations, curves}, stock, options);
}

std::optional<std::int32_t> earliestRecordTime(const Timing& timing, const Section& section) {
    const Stop& a = timing.stops[static_cast<std::size_t>(section.from)];
    const Stop& b = timing.stops[static_cast<std::size_t>(section.to)];
    if (!a.departure || !section.minimum) return std::nullopt;
    // The record holds the departure where the train departs again.
    const std::int64_t dwell =
        b.departure && b.arrival ? timeOfDay(std::int64_t{*b.departure} - *b.arrival) : 0;
    return timeOfDay(std::int64_t{*a.departure} +
                     static_cast<std::int64_t>(std::ceil(*section.minimum)) + dwell);
}

}  // namespace scenario::timing
