// A track as the readers deliver it: geographic points in segments, each point carrying the
// tags of the stretch that ends at it, and the named places that become stations.
#pragma once

#include <string>
#include <vector>

namespace scenario {

struct GeoPoint {
    double lat = 0;
    double lon = 0;
    double ele = 0;
    bool hasEle = false;
    // Tags of the stretch from the previous point to this one.
    bool tunnel = false;
    bool bridge = false;
    int speed = 0;  // km/h, 0 where the input gives none
};

struct NamedPlace {
    std::string name;  // UTF-8, as the input holds it
    double lat = 0;
    double lon = 0;
};

struct TrackInput {
    std::vector<std::vector<GeoPoint>> segments;
    std::vector<NamedPlace> places;
};

// Whether a coordinate pair is finite and inside the globe's ranges.
inline bool validCoordinates(double lat, double lon) {
    return lat >= -90 && lat <= 90 && lon >= -180 && lon <= 180;  // false for NaN too
}

}  // namespace scenario
