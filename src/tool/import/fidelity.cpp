// The plan runs ahead of the track as its curve steps lengthen, so each plan metre is matched
// to the nearest track point, found by a search that moves forward with the plan.
#include "tool/import/fidelity.h"

#include <algorithm>
#include <cmath>

#include "compiler/model_constants.h"
#include "tool/import/profile_choice.h"

namespace scenario {
namespace {

constexpr std::size_t kLookAhead = 60;  // m of track

}  // namespace

Fidelity measureFidelity(const ScenarioBuild& build, const PlaneTrack& track,
                         const PlanFrame& frame, double startHeight) {
    Fidelity f;
    const std::size_t n = track.east.size();
    std::vector<double> first(n), second(n);
    for (std::size_t i = 0; i < n; ++i)
        frame.toPlan(track.east[i], track.north[i], first[i], second[i]);
    const auto distance = [&](std::size_t k, double a, double b) {
        return std::hypot(first[k] - a, second[k] - b);
    };
    // The distance to the polyline through the two track metres beside k.
    const auto toTrack = [&](std::size_t k, double a, double b) {
        double best = distance(k, a, b);
        for (std::size_t s : {k > 0 ? k - 1 : k, k}) {
            if (s + 1 >= n) continue;
            const double ex = first[s + 1] - first[s], ey = second[s + 1] - second[s];
            const double len2 = ex * ex + ey * ey;
            if (len2 == 0) continue;
            const double t =
                std::clamp(((a - first[s]) * ex + (b - second[s]) * ey) / len2, 0.0, 1.0);
            best = std::min(best, std::hypot(first[s] + t * ex - a, second[s] + t * ey - b));
        }
        return best;
    };
    const LinePlan& plan = build.linePlan;
    std::size_t k = 0;
    double sum = 0;
    std::int32_t counted = 0;
    for (std::int32_t m = 0; m <= track.routeLength && m <= plan.upperBound() - 2; ++m) {
        const double a = plan.first(m), b = plan.second(m);
        // Scattered points zigzag, so the nearest one is looked for over the next stretch,
        // not only the next point.
        for (std::size_t next = k + 1; next < std::min(n, k + kLookAhead); ++next)
            if (distance(next, a, b) <= distance(k, a, b)) k = next;
        if (k + 1 >= n) break;
        const double d = toTrack(k, a, b);
        sum += d;
        ++counted;
        if (d > f.maxDeviation) {
            f.maxDeviation = d;
            f.maxDeviationAt = m;
        }
    }
    f.meanDeviation = counted > 0 ? sum / counted : 0;
    for (std::int32_t m = 1; m <= track.routeLength && m <= plan.upperBound() - 2; ++m)
        f.planStretch +=
            std::hypot(plan.first(m) - plan.first(m - 1), plan.second(m) - plan.second(m - 1));
    if (!track.hasElevation || build.trackCells.empty()) return f;
    double height = startHeight;
    double squares = 0;
    std::int32_t compared = 0;
    for (std::size_t m = 0; m < n; ++m) {
        if (m > 0) {
            const std::size_t cell = (m - 1) / kCellLength;
            if (cell < build.trackCells.size())
                height += (build.trackCells[cell].gradient - 100) / 1000.0;
        }
        if (onStructure(track, m) || (m + 1 < n && onStructure(track, m + 1))) continue;
        const double error = std::abs(height - track.height[m]);
        f.elevationMaxError = std::max(f.elevationMaxError, error);
        squares += error * error;
        ++compared;
    }
    f.elevationRms = compared > 0 ? std::sqrt(squares / compared) : 0;
    return f;
}

}  // namespace scenario
