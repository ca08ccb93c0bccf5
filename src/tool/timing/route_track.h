// The track as the running-time model sees it, from the compiled model alone (so that sources and
// compiled files give the same): each cell's limit with the slow orders, and the grade with the
// curves' equivalent averaged over the train.
#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "compiler/pass_common.h"
#include "compiler/track_model.h"
#include "output/scenario_file_reader.h"

namespace scenario::timing {

inline constexpr double kNoLimit = std::numeric_limits<double>::infinity();
// A curve of radius R counts as a gradient of 800 / R per mille.
inline constexpr double kCurveGrade = 800.0;

// Metres [from, to) of the plan that turn by `turn` each, recovered from the plan's coordinates
// and snapped to the curve classes; the metres of no run are straight.
struct CurveRun {
    std::int32_t from;
    std::int32_t to;
    double turn;
    bool operator==(const CurveRun&) const = default;
};
// The runs among the plan's first `metres` metres.
std::vector<CurveRun> curvesOfPlan(const LinePlan& plan, std::size_t metres);
std::vector<CurveRun> curvesOfPlan(const PlanFile& plan, std::size_t metres);
double snappedCurvature(double turn);

// Where the last look-ups of the curves stood: a run asks for neighbouring places in turn, so the
// next look-up starts there.
struct GradeHint {
    std::size_t front = 0;
    std::size_t tail = 0;
};

class RouteTrack {
  public:
    RouteTrack(std::span<const TrackCell> cells, std::span<const CurveRun> curves,
               double maxSpeedKmh);

    double length() const { return static_cast<double>(cellLimit_.size()) * kCellLength; }
    std::size_t cellCount() const { return cellLimit_.size(); }
    // Km/h; 0 or less cannot be passed.
    double cellLimit(std::size_t cell) const { return cellLimit_[cell]; }
    double adhesion(double x) const;
    // The gradient and curve equivalent averaged over [x - span, x], per mille.
    double averageGrade(double x, double span, GradeHint& hint) const;
    // The lowest limit over [from, to], km/h.
    double lowestLimit(double from, double to) const;

  private:
    // Per mille times metres from the route's start: the gradients' and the curves' parts.
    double gradientIntegral(double x) const;
    double curveIntegral(double x, std::size_t& hint) const;
    double gradeAt(double x, std::size_t& hint) const;

    std::span<const TrackCell> cells_;
    std::span<const CurveRun> curves_;
    std::vector<double> cellLimit_;
    std::vector<double> gradientSum_;  // up to each cell's start
    std::vector<double> curveSum_;     // up to each curve's start
};

}  // namespace scenario::timing
