// What both track readers promise of a track they accept, checked by their fuzz targets.
#pragma once

#include <cmath>

#include "fuzz_check.h"
#include "tool/import/track_input.h"

namespace scenario::fuzz {

inline void checkAcceptedTrack(const TrackInput& track) {
    for (const auto& segment : track.segments)
        for (const GeoPoint& p : segment) {
            require(validCoordinates(p.lat, p.lon), "an accepted point lies on the globe");
            require(!p.hasEle || std::isfinite(p.ele), "an accepted height is finite");
        }
    for (const NamedPlace& place : track.places)
        require(validCoordinates(place.lat, place.lon), "an accepted place lies on the globe");
}

}  // namespace scenario::fuzz
