// Chooses the line file's curve records by running the line pass's own plan steps along the
// track and steering them back onto it, metre by metre.
#pragma once

#include <cstdint>
#include <vector>

#include "tool/import/plane_track.h"

namespace scenario {

struct CurveRecord {
    std::int32_t position = 0;  // the metre before the first curve metre, as the record holds it
    std::int32_t length = 0;
    int curveClass = 1;  // 1 to 6
    bool left = false;
};

// The plan's frame on the projection: the plan starts at `origin` heading along `bearing`
// (clockwise from grid north, radians); the plan's first coordinate points right of its second.
struct PlanFrame {
    double originEast = 0;
    double originNorth = 0;
    double bearing = 0;
    void toPlan(double east, double north, double& first, double& second) const;
};

// A curve record asks for this much curvature at least: below half of class 1's (a radius of
// 20 km), the plan goes straight.
inline constexpr double kStraightThreshold = 0.00005;

struct CurveChoice {
    std::vector<CurveRecord> records;
    PlanFrame frame;
    bool noisy = false;          // the points scatter: the track was smoothed over a wider window
    std::int32_t smoothing = 0;  // half-width of the smoothing window, m
};

CurveChoice chooseCurves(const PlaneTrack& track);

}  // namespace scenario
