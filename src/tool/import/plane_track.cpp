// Geodesy only through GeographicLib: lengths along the ellipsoid's geodesics, shapes from the
// projection, whose scale near the centre differs from 1 by parts per million.
#include "tool/import/plane_track.h"

#include <fmt/format.h>

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/TransverseMercator.hpp>
#include <algorithm>
#include <cmath>
#include <limits>

namespace scenario {
namespace {

const GeographicLib::TransverseMercator& mercator() {
    static const GeographicLib::TransverseMercator projection(
        GeographicLib::Constants::WGS84_a(), GeographicLib::Constants::WGS84_f(), 1.0);
    return projection;
}

}  // namespace

LineProjection::LineProjection(double centreLat, double centreLon)
    : centreLat_(centreLat), centreLon_(centreLon) {
    double east = 0;
    mercator().Forward(centreLon_, centreLat_, centreLon_, east, northOffset_);
}

LineProjection LineProjection::centredOn(const std::vector<std::vector<GeoPoint>>& segments) {
    double south = 90, north = -90, west = 180, east = -180;
    for (const std::vector<GeoPoint>& segment : segments)
        for (const GeoPoint& p : segment) {
            south = std::min(south, p.lat);
            north = std::max(north, p.lat);
            west = std::min(west, p.lon);
            east = std::max(east, p.lon);
        }
    if (south > north) return LineProjection(0, 0);
    return LineProjection((south + north) / 2, (west + east) / 2);
}

void LineProjection::toPlane(double lat, double lon, double& east, double& north) const {
    mercator().Forward(centreLon_, lat, lon, east, north);
    north -= northOffset_;
}

void LineProjection::toGeo(double east, double north, double& lat, double& lon) const {
    mercator().Reverse(centreLon_, east, north + northOffset_, lat, lon);
}

double geodesicDistance(double lat1, double lon1, double lat2, double lon2) {
    double distance = 0;
    GeographicLib::Geodesic::WGS84().Inverse(lat1, lon1, lat2, lon2, distance);
    return distance;
}

bool buildPlaneTrack(const TrackInput& input, const LineProjection& projection, PlaneTrack& track,
                     std::string& error) {
    std::vector<GeoPoint> points;
    std::vector<double> along;  // geodesic distance from the first point
    bool allHeights = true;
    for (std::size_t k = 0; k < input.segments.size(); ++k) {
        for (std::size_t i = 0; i < input.segments[k].size(); ++i) {
            const GeoPoint& p = input.segments[k][i];
            allHeights = allHeights && p.hasEle;
            if (points.empty()) {
                points.push_back(p);
                along.push_back(0);
                continue;
            }
            const GeoPoint& last = points.back();
            const double step = geodesicDistance(last.lat, last.lon, p.lat, p.lon);
            if (i == 0 && step > 0) {
                if (step > kLongestJoinedGap) {
                    error = fmt::format(
                        "segments {} and {} are {:.0f} m apart, more than the {:.0f} m that are "
                        "joined by a straight: import them as separate lines",
                        k, k + 1, step, kLongestJoinedGap);
                    return false;
                }
                track.warnings.push_back(fmt::format(
                    "segments {} and {} are {:.0f} m apart: joined by a straight", k, k + 1, step));
            }
            if (step <= 0) continue;
            points.push_back(p);
            along.push_back(along.back() + step);
        }
    }
    if (points.size() < 2) {
        error = points.empty() ? "the track has no points" : "the track has only one point";
        return false;
    }
    track.length = along.back();
    track.hasElevation = allHeights;
    const double routeLength = std::round(track.length);
    if (routeLength > std::numeric_limits<std::int32_t>::max() / 2) {
        error = fmt::format("the track is {:.0f} m long, far beyond the format", track.length);
        return false;
    }
    track.routeLength = static_cast<std::int32_t>(routeLength);
    const std::size_t metres = static_cast<std::size_t>(track.routeLength) + 1;
    track.east.resize(metres);
    track.north.resize(metres);
    track.height.assign(metres, 0.0);
    track.tunnel.assign(metres, 0);
    track.bridge.assign(metres, 0);
    track.speed.assign(metres, 0);
    std::vector<double> east(points.size());
    std::vector<double> north(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        projection.toPlane(points[i].lat, points[i].lon, east[i], north[i]);
    // The metres past the geodesic end (half a metre at most) take the last point.
    const double scale = track.length / routeLength;
    std::size_t i = 0;
    for (std::size_t m = 0; m < metres; ++m) {
        const double s = std::min(static_cast<double>(m) * scale, track.length);
        while (i + 2 < points.size() && along[i + 1] < s) ++i;
        const double span = along[i + 1] - along[i];
        const double t = std::clamp((s - along[i]) / span, 0.0, 1.0);
        track.east[m] = east[i] + t * (east[i + 1] - east[i]);
        track.north[m] = north[i] + t * (north[i + 1] - north[i]);
        if (allHeights) track.height[m] = points[i].ele + t * (points[i + 1].ele - points[i].ele);
        track.tunnel[m] = points[i + 1].tunnel;
        track.bridge[m] = points[i + 1].bridge;
        track.speed[m] = static_cast<std::int16_t>(points[i + 1].speed);
    }
    return true;
}

std::int32_t nearestMetre(const PlaneTrack& track, double east, double north) {
    std::int32_t best = 0;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t m = 0; m < track.east.size(); ++m) {
        const double d = std::hypot(track.east[m] - east, track.north[m] - north);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<std::int32_t>(m);
        }
    }
    return best;
}

}  // namespace scenario
