// The line file's gradient and tunnel records from the track's heights and tags.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/model_constants.h"
#include "tool/import/plane_track.h"

namespace scenario {

inline constexpr std::int32_t kGradientSpacing = 200;  // m between gradient records, at least
inline constexpr std::int32_t kSteepestGradient = 60;  // per mille, what check finds plausible
inline constexpr std::size_t kMostTunnels = kTunnelSlots;

struct GradientRecord {
    std::int32_t position = 0;
    std::int32_t gradient = 0;  // per mille
};

struct TunnelRecord {
    std::int32_t start = 0;
    std::int32_t end = 0;
};

struct ProfileChoice {
    std::vector<GradientRecord> gradients;
    std::vector<TunnelRecord> tunnels;
    std::vector<double> target;  // per metre: the heights the gradients follow
    double startHeight = 0;
};

// False with `error` set when a gradient or the number of tunnels is beyond the format.
bool chooseProfile(const PlaneTrack& track, ProfileChoice& profile, std::string& error);

// Whether route metre m lies in a tunnel or on a bridge, where the heights are not trusted.
bool onStructure(const PlaneTrack& track, std::size_t m);

}  // namespace scenario
