// How closely the compiled scenario follows the track: the plan against the projected points,
// the compiled profile against the heights.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/track_model.h"
#include "tool/import/curve_choice.h"
#include "tool/import/plane_track.h"

namespace scenario {

struct Fidelity {
    double maxDeviation = 0;  // m, each plan metre's distance to the nearest track point
    double meanDeviation = 0;
    std::int32_t maxDeviationAt = 0;  // the plan metre
    double planStretch = 0;  // how far the plan's last route metre lies along the drawn plan, m
    double elevationMaxError = 0;  // outside tunnels and bridges
    double elevationRms = 0;
};

// Measures a compiled build; `startHeight` is the height the profile starts from.
Fidelity measureFidelity(const ScenarioBuild& build, const PlaneTrack& track,
                         const PlanFrame& frame, double startHeight);

}  // namespace scenario
