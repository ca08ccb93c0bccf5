// Gradients in whole per mille, each chosen to reach the smoothed height at the end of its
// stretch from the height the records before it reach, so that rounding never accumulates.
#include "tool/import/profile_choice.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "compiler/model_constants.h"

namespace scenario {
namespace {

constexpr std::int32_t kCell = kCellLength;
constexpr std::int32_t kHeightWindow = 100;  // half-width of the height smoothing, m

std::int32_t onGrid(double metres) {
    return static_cast<std::int32_t>(std::lround(metres / kCell)) * kCell;
}

// Heights in tunnels and on bridges are the ground's, not the track's: straight between the
// portals instead. Then a moving average.
std::vector<double> targetHeights(const PlaneTrack& track) {
    std::vector<double> h = track.height;
    const std::size_t n = h.size();
    for (std::size_t m = 1; m < n;) {
        if (!onStructure(track, m)) {
            ++m;
            continue;
        }
        const std::size_t a = m - 1;
        while (m < n && onStructure(track, m)) ++m;
        const std::size_t b = m - 1;
        for (std::size_t k = a + 1; k < b; ++k)
            h[k] = h[a] + (h[b] - h[a]) * static_cast<double>(k - a) / static_cast<double>(b - a);
    }
    std::vector<double> prefix(n + 1, 0.0);
    for (std::size_t m = 0; m < n; ++m) prefix[m + 1] = prefix[m] + h[m];
    std::vector<double> smooth(n);
    for (std::size_t m = 0; m < n; ++m) {
        const std::size_t w = std::min<std::size_t>({kHeightWindow, m, n - 1 - m});
        smooth[m] = (prefix[m + w + 1] - prefix[m - w]) / static_cast<double>(2 * w + 1);
    }
    return smooth;
}

}  // namespace

bool onStructure(const PlaneTrack& track, std::size_t m) {
    return track.tunnel[m] != 0 || track.bridge[m] != 0;
}

bool chooseProfile(const PlaneTrack& track, ProfileChoice& profile, std::string& error) {
    const std::int32_t length = track.routeLength;
    for (std::size_t m = 1; m < track.tunnel.size();) {
        if (!track.tunnel[m]) {
            ++m;
            continue;
        }
        const std::size_t a = m - 1;
        while (m < track.tunnel.size() && track.tunnel[m]) ++m;
        TunnelRecord t{onGrid(static_cast<double>(a)), onGrid(static_cast<double>(m - 1))};
        t.end = std::max(t.end, t.start + kCell);
        if (!profile.tunnels.empty() && t.start <= profile.tunnels.back().end)
            profile.tunnels.back().end = t.end;
        else
            profile.tunnels.push_back(t);
    }
    if (profile.tunnels.size() > kMostTunnels) {
        error = fmt::format("the track has {} tunnels, more than the {} a line file holds",
                            profile.tunnels.size(), kMostTunnels);
        return false;
    }
    if (!track.hasElevation) return true;
    profile.target = targetHeights(track);
    profile.startHeight = profile.target[0];
    double reached = profile.startHeight;
    std::int32_t current = 0;
    for (std::int32_t p = 0; p + kCell <= length; p += kGradientSpacing) {
        const std::int32_t q = std::min(p + kGradientSpacing, length / kCell * kCell);
        if (q <= p) break;
        const double wanted = profile.target[static_cast<std::size_t>(q)];
        const auto g = static_cast<std::int32_t>(
            std::lround((wanted - reached) / static_cast<double>(q - p) * 1000));
        if (std::abs(g) > kSteepestGradient) {
            error = fmt::format(
                "the track climbs {} per mille between {} and {} m, steeper than the {} per "
                "mille a gradient record may hold",
                g, p, q, kSteepestGradient);
            return false;
        }
        reached += g * static_cast<double>(q - p) / 1000;
        if (g == current) continue;
        profile.gradients.push_back({p, g});
        current = g;
    }
    return true;
}

}  // namespace scenario
