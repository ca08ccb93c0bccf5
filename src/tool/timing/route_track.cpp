// The track for the running-time model: limits per cell (line limit, slow orders, the train's top
// speed) and the grade per metre with the curves' equivalent, summed so that any span averages at
// once.
#include "tool/timing/route_track.h"

#include <algorithm>
#include <cmath>

#include "compiler/line_plan_steps.h"

namespace scenario::timing {
namespace {

// A curve metre turns its step by k as (d0 + k d1, d1 - k d0), so the cross product of the step
// before and the step itself is -k |d|^2. A turn below half the smallest class is straight track,
// found without a division.
template <typename Value>
std::vector<CurveRun> curvesFrom(std::size_t end, Value value) {
    std::vector<CurveRun> runs;
    if (end < 3) return runs;
    const double straight = kCurveTurns[0] / 2;
    double a0 = value(0, 1) - value(0, 0);
    double a1 = value(1, 1) - value(1, 0);
    for (std::size_t m = 2; m < end; ++m) {
        const double b0 = value(0, m) - value(0, m - 1);
        const double b1 = value(1, m) - value(1, m - 1);
        const double cross = a0 * b1 - a1 * b0;
        const double squared = a0 * a0 + a1 * a1;
        a0 = b0;
        a1 = b1;
        if (squared == 0 || !(std::abs(cross) >= straight * squared)) continue;
        const double k = snappedCurvature(-cross / squared);
        const auto metre = static_cast<std::int32_t>(m);
        if (!runs.empty() && runs.back().to == metre && runs.back().turn == k)
            ++runs.back().to;
        else
            runs.push_back({metre, metre + 1, k});
    }
    return runs;
}

// For each cell, the first slow-order end board after it, or the cell count.
std::vector<std::size_t> nextEndBoards(std::span<const TrackCell> cells) {
    std::vector<std::size_t> next(cells.size());
    std::size_t end = cells.size();
    for (std::size_t c = cells.size(); c-- > 0;) {
        next[c] = end;
        if (cells[c].kind == kSlowOrderEnd) end = c;
    }
    return next;
}

// A slow order from start cell s holds over cells s - 1 .. e - 2, e its first end board after
// it. The orders that share an end board are nested, so one running minimum per end board does.
void applySlowOrders(std::span<const TrackCell> cells, std::vector<double>& limit) {
    const std::vector<std::size_t> next = nextEndBoards(cells);
    std::vector<double> startsAt(cells.size(), kNoLimit);
    for (std::size_t s = 0; s < cells.size(); ++s) {
        if (cells[s].kind != kSlowOrderStart || next[s] == cells.size()) continue;
        const std::size_t first = s == 0 ? 0 : s - 1;
        if (next[s] < 2 || first > next[s] - 2) continue;
        startsAt[first] = std::min<double>(startsAt[first], std::max<int>(cells[s].value1, 0));
    }
    double order = kNoLimit;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (c + 1 < cells.size() && cells[c + 1].kind == kSlowOrderEnd) order = kNoLimit;
        order = std::min(order, startsAt[c]);
        limit[c] = std::min(limit[c], order);
    }
}

}  // namespace

double snappedCurvature(double turn) {
    const double size = std::abs(turn);
    double nearest = 0;
    for (const double k : kCurveTurns)
        if (std::abs(size - k) < std::abs(size - nearest)) nearest = k;
    return turn < 0 ? -nearest : nearest;
}

std::vector<CurveRun> curvesOfPlan(const LinePlan& plan, std::size_t metres) {
    if (!plan.exists()) return {};
    const std::size_t end = std::min(static_cast<std::size_t>(plan.doubleEnd()), metres);
    return curvesFrom(end, [&plan](int half, std::size_t m) {
        const auto metre = static_cast<std::int32_t>(m);
        return half == 0 ? plan.first(metre) : plan.second(metre);
    });
}

std::vector<CurveRun> curvesOfPlan(const PlanFile& plan, std::size_t metres) {
    std::size_t end = 0;
    while (end < metres && end < plan.first.size() && end < plan.second.size() &&
           plan.first[end].type != PlanValueType::Empty &&
           plan.second[end].type != PlanValueType::Empty)
        ++end;
    return curvesFrom(end, [&plan](int half, std::size_t m) {
        return half == 0 ? plan.first[m].value : plan.second[m].value;
    });
}

RouteTrack::RouteTrack(std::span<const TrackCell> cells, std::span<const CurveRun> curves,
                       double maxSpeedKmh)
    : cells_(cells),
      curves_(curves),
      cellLimit_(cells.size()),
      gradientSum_(cells.size() + 1),
      curveSum_(curves.size() + 1) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
        cellLimit_[c] =
            std::min(cells[c].speedLimit == 0 ? kNoLimit : 5.0 * cells[c].speedLimit, maxSpeedKmh);
        gradientSum_[c + 1] = gradientSum_[c] + kCellLength * (cells[c].gradient - 100.0);
    }
    applySlowOrders(cells, cellLimit_);
    for (std::size_t r = 0; r < curves.size(); ++r)
        curveSum_[r + 1] =
            curveSum_[r] + (curves[r].to - curves[r].from) * kCurveGrade * std::abs(curves[r].turn);
}

double RouteTrack::adhesion(double x) const {
    const auto c = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(x, 0.0) / kCellLength),
                                           0, cells_.size() - 1);
    return cells_[c].adhesion == 0 ? 100.0 : cells_[c].adhesion;
}

double RouteTrack::gradientIntegral(double x) const {
    if (x <= 0) return 0;
    const std::size_t c = static_cast<std::size_t>(x / kCellLength);
    if (c >= cells_.size()) return gradientSum_.back();
    return gradientSum_[c] +
           (x - static_cast<double>(c * kCellLength)) * (cells_[c].gradient - 100.0);
}

// `hint` ends as the number of curves that start at or before x.
double RouteTrack::curveIntegral(double x, std::size_t& hint) const {
    while (hint > 0 && curves_[hint - 1].from > x) --hint;
    while (hint < curves_.size() && curves_[hint].from <= x) ++hint;
    if (hint == 0) return 0;
    const CurveRun& run = curves_[hint - 1];
    return curveSum_[hint - 1] +
           (std::min<double>(x, run.to) - run.from) * kCurveGrade * std::abs(run.turn);
}

double RouteTrack::gradeAt(double x, std::size_t& hint) const {
    if (x < 0 || x >= length()) return 0;
    const double m = std::floor(x);
    curveIntegral(m, hint);
    const double curve =
        hint > 0 && m < curves_[hint - 1].to ? kCurveGrade * std::abs(curves_[hint - 1].turn) : 0.0;
    return cells_[static_cast<std::size_t>(x / kCellLength)].gradient - 100.0 + curve;
}

double RouteTrack::averageGrade(double x, double span, GradeHint& hint) const {
    if (span <= 0) return gradeAt(x, hint.front);
    const double tail = x - span;
    const double front = gradientIntegral(x) + curveIntegral(x, hint.front);
    const double back = tail <= 0 ? 0.0 : gradientIntegral(tail) + curveIntegral(tail, hint.tail);
    return (front - back) / span;
}

double RouteTrack::lowestLimit(double from, double to) const {
    const double last = static_cast<double>(cellLimit_.size() - 1);
    const auto first =
        static_cast<std::size_t>(std::clamp(std::floor(from / kCellLength), 0.0, last));
    const auto end = static_cast<std::size_t>(std::clamp(std::floor(to / kCellLength), 0.0, last));
    double lowest = kNoLimit;
    for (std::size_t c = first; c <= end; ++c) lowest = std::min(lowest, cellLimit_[c]);
    return lowest;
}

}  // namespace scenario::timing
