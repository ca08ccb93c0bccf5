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

// The turn per metre of each plan metre, recovered from its coordinates and snapped to the curve
// classes; 0 on straight track and where the plan has no metre.
std::vector<double> curvatureOfPlan(const LinePlan& plan);
std::vector<double> curvatureOfPlan(const PlanFile& plan);
double snappedCurvature(double turn);

class RouteTrack {
  public:
    RouteTrack(std::span<const TrackCell> cells, std::span<const double> curvature,
               double maxSpeedKmh);

    double length() const { return static_cast<double>(cellLimit_.size()) * kCellLength; }
    std::size_t cellCount() const { return cellLimit_.size(); }
    // Km/h; 0 or less cannot be passed.
    double cellLimit(std::size_t cell) const { return cellLimit_[cell]; }
    double adhesion(double x) const;
    // The gradient and curve equivalent averaged over [x - span, x], per mille.
    double averageGrade(double x, double span) const;
    // The lowest limit over [from, to], km/h.
    double lowestLimit(double from, double to) const;

  private:
    double gradeIntegral(double x) const;  // per mille times metres from the route's start

    std::span<const TrackCell> cells_;
    std::vector<double> cellLimit_;
    std::vector<double> metreGrade_;  // per mille, metre by metre
    std::vector<double> gradeSum_;    // the integral up to each metre
};

}  // namespace scenario::timing
