// Reads a GeoJSON document: LineString and MultiLineString geometries (with optional heights)
// as the track, with their features' tunnel and bridge properties, and named Point features.
#pragma once

#include <string>
#include <string_view>

#include "tool/import/track_input.h"

namespace scenario {

bool readGeoJson(std::string_view bytes, TrackInput& track, std::string& error);

}  // namespace scenario
