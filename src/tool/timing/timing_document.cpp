// The running-time model in prose around tables made from the stock keys, the braking bands and
// the curve classes, so that the document says what the code does.
#include "tool/timing/timing_document.h"

#include <fmt/format.h>

#include <cmath>

#include "compiler/line_plan_steps.h"
#include "tool/timing/route_track.h"
#include "tool/timing/running_times.h"
#include "tool/timing/stock.h"
#include "tool/timing/train_forces.h"

namespace scenario::timing {
namespace {

constexpr const char* kIntroduction = R"(# Running times

`scenario timing` computes, for each section between two stops of a scenario's timetable, the
fastest run the train can make, and compares it with the time the timetable gives. `scenario check
--timing` turns a section that is scheduled shorter than its fastest run into the `timetable`
warning. Both are only as good as the train they assume: the stock file below describes it.

Units: m, s, kg, N; speeds in km/h where the stock file and the cells give them; g = {} m/s².

## The train

A traction unit and n cars: n is the train file's number of cars (below 0 counts as 0), and
λ, the braked-mass percentage, is the train file's too. The mass is
m = 1000·(locomotive_mass_t + n·car_mass_t) kg, the length L = locomotive_length_m +
n·car_length_m, and adhesion acts on the traction unit's mass alone.

## The stock file

JSON, because the tool already reads and writes it and an editor checks its syntax. JSON has no
comments, so each key is an object that carries its own: `{{"value": 80, "unit": "t",
"comment": "..."}}`. A bare number is accepted as well (`"car_mass_t": 60`), and a key left out
keeps its default. `scenario stock --out FILE` writes the defaults. Without `--stock`, the tools use
`NAME_NUMBER{}` beside the sources (or the compiled files) when there is one.

A key that is unknown, not a number, negative or above {:.0f} is refused, naming the key; so is a
mass of 0.

| key | default | unit | meaning |
|---|---|---|---|
)";

constexpr const char* kTrack = R"(
## The track

Everything comes from the compiled model, so that sources and compiled files give the same.

- Cell c holds for route positions [50c, 50c + 50).
- **Limit** at x: the lowest of the cell's `speedLimit`·5 km/h (0 is no limit), any slow order
  holding at x, and `max_speed_kmh`. A slow order's limit is its start cell's `value1` km/h; it
  holds from 50·(s − 1) to 50·(e − 1) m, s its start cell (kind 3) and e the first end board
  (kind 2) after it. A start with no end board after it is ignored. A limit of 0 or less cannot be
  passed.
- **The train's limit** with its front at x is the lowest limit over [x − L, x]: a drop counts
  when the front reaches it, a raise once the tail has passed it.
- **Gradient** i(x) = the cell's `gradient` − 100 ‰, rising positive.
- **Curvature** k at metre m: the turn of the plan's step at metre m against the step before,
  snapped to the nearest of 0 and the classes' turns per metre ({}). The plan is read the same
  way from a compile and from the line data file; metres 0 and 1 and a route without a plan are
  straight. A curve counts as a gradient of {:g}·|k| ‰ (800/R, R in metres).
- Both act averaged over the train: w(x) = (1/L)·∫ over [x − L, x] of (i + {:g}·|k|) ds, the part
  before the route's start counting as 0 ‰.
- **Adhesion** a_c: the cell's `adhesion` %, 0 counting as 100.

## Forces

At front position x and speed v (m/s), V = 3.6·v km/h:

- Traction F = min(1000·max_force_kn, 1000·power_kw / v, μ(V)·adhesion mass·g), with
  μ(V) = (0.161 + 7.5 / (V + 44))·a_c/100.
- Resistance R = m·g·(a + b·V + c·V²)/1000, with a, b, c the `resistance_` keys.
- Grade G = m·g·w(x)/1000.
- Acceleration (F − R − G) / (m·(1 + rotating_mass)).
- Braking deceleration B(V) + (R + G) / (m·(1 + rotating_mass)), where B(V) =
  min(service_deceleration, A(min(λ, {:g}), V)) for {:g} ≤ λ ≤ {:g}, else service_deceleration.

A converts the braked-mass percentage: up to V_lim = 16.85·λ^0.428 km/h,
A = 0.0075·λ + 0.076 m/s² (λ = 120: V_lim = {:.1f} km/h, A = {:.3f} m/s²). Above V_lim,
A = a0 + a1·λ + a2·λ² + a3·λ³ by the band of V:

| band up to (km/h) | a0 | a1 | a2 | a3 |
|---|---|---|---|---|
)";

constexpr const char* kRun = R"(
## Stops, sections and the fastest run

- The stations are the station-table entries from 1 up to the first that is all 0 (at most 79),
  in table order. The stops are the first, the last, and every station with a dwell.
- A stop's departure is its time; its arrival is the time less the dwell. At the last station the
  time is the arrival. 0:00:00 means no time.
- A section joins two consecutive stops. Scheduled = arrival − previous departure, modulo 24 h.
- The fastest run starts at rest at the first stop's position and ends at rest at the next. It
  never exceeds the train's limit, runs under full traction wherever it is below both the limit
  and the braking curve to the next lower limit (or to the stop), and brakes along that curve.
  Its time is the section's minimum; slack = scheduled − minimum, and the slack % is of the
  minimum.
- The run is integrated on nodes every {:g} m (and at the stop), the acceleration constant within
  a step: v₁² = v₀² + 2·a·dx, dt = 2·dx/(v₀ + v₁). The braking curve is integrated backwards from
  the stop over the same nodes, capped at each node by the train's limit there. The limits are
  read at the nodes, so a limit change between two nodes acts from the next node. A test holds
  every section of the built-in scenario within 0.5 % of the same run on 0.5 m steps.

Where the model is otherwise silent:

- **Stalls.** If the speed reaches 0 before the stop, the train stalls: no minimum, and the
  position where it stops. A limit of 0 ahead stalls the train where its front reaches it. Where
  the train is held back (at a limit or on the braking curve) and the braking deceleration there
  is 0 or less, the brakes cannot hold it on the downgrade: the section has no minimum either.
- **Sections that cannot be run.** A stop that is not after the previous one on the route, or a
  section outside the cell table, gets no minimum and a note; it stays in the list.
- **Passing times.** At a station without a dwell between two stops, the earliest passing time is
  the previous stop's departure plus the fastest run's time to the station.
- **The earliest feasible time** the warning gives is the one the arriving station's record can
  hold: the previous departure plus the minimum rounded up to the second, plus the station's
  dwell where the train departs again.
- **The warning** is given where the scheduled time is below the minimum, or, with `--margin P`,
  where the slack is below P % of the minimum. It stands at the arriving station's record.
)";

std::string stockTable() {
    std::string rows;
    for (const StockKey& key : stockKeys())
        rows += fmt::format("| `{}` | {:g} | {} | {} |\n", key.name, defaultOf(key), key.unit,
                            key.comment);
    return rows;
}

std::string bandTable() {
    std::string rows;
    for (const SpeedBand& band : brakingBands()) {
        const std::string upTo =
            std::isinf(band.upTo) ? "above 180" : fmt::format("{:g}", band.upTo);
        rows += fmt::format("| {} | {:g} | {:g} | {:g} | {:g} |\n", upTo, band.a0, band.a1, band.a2,
                            band.a3);
    }
    return rows + "\nA band that lies wholly at or below V_lim does not apply.\n";
}

std::string curveTurns() {
    std::string list;
    for (const double k : kCurveTurns) list += (list.empty() ? "" : ", ") + fmt::format("{:g}", k);
    return list;
}

}  // namespace

std::string timingDocument() {
    return fmt::format(fmt::runtime(kIntroduction), kGravity, kStockFileEnding,
                       kLargestStockValue) +
           stockTable() +
           fmt::format(fmt::runtime(kTrack), curveTurns(), kCurveGrade, kCurveGrade,
                       kConvertedLambdas.effective, kConvertedLambdas.lowest,
                       kConvertedLambdas.highest, brakedMassSpeedLimit(120),
                       brakedMassDeceleration(120, 0)) +
           bandTable() + fmt::format(fmt::runtime(kRun), TimingOptions{}.step);
}

}  // namespace scenario::timing
