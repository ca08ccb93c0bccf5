// The track on a plane: a transverse Mercator projection centred on the line, and the track
// resampled there at every metre of its geodesic length.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tool/import/track_input.h"

namespace scenario {

// Segments further apart than this are refused; closer ones are joined by a straight.
inline constexpr double kLongestJoinedGap = 500;

class LineProjection {
  public:
    LineProjection(double centreLat, double centreLon);
    // Centred on the middle of the points' latitude and longitude ranges.
    static LineProjection centredOn(const std::vector<std::vector<GeoPoint>>& segments);

    void toPlane(double lat, double lon, double& east, double& north) const;
    void toGeo(double east, double north, double& lat, double& lon) const;

    double centreLat() const { return centreLat_; }
    double centreLon() const { return centreLon_; }

  private:
    double centreLat_;
    double centreLon_;
    double northOffset_ = 0;
};

double geodesicDistance(double lat1, double lon1, double lat2, double lon2);

struct PlaneTrack {
    // Metre m of the route, 0 to routeLength: projected position, height, and the tags of the
    // metre that ends there.
    std::vector<double> east;
    std::vector<double> north;
    std::vector<double> height;
    std::vector<std::uint8_t> tunnel;
    std::vector<std::uint8_t> bridge;
    std::vector<std::int16_t> speed;  // km/h, 0 where the input gives none
    bool hasElevation = false;
    double length = 0;  // along the geodesics, m
    std::int32_t routeLength = 0;
    std::vector<std::string> warnings;
};

// False with `error` set for a track of fewer than two distinct points or with segments too far
// apart; the route may still be too long for the format, which the caller tests.
bool buildPlaneTrack(const TrackInput& input, const LineProjection& projection, PlaneTrack& track,
                     std::string& error);

// The route metre nearest to a projected point, by a search over the resampled track.
std::int32_t nearestMetre(const PlaneTrack& track, double east, double north);

}  // namespace scenario
