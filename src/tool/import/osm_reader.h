// Reads an OpenStreetMap file (XML or PBF) into a track: the shortest rail path between two
// named stations, or the ways of a train route relation, with the stations along it.
#pragma once

#include <string>

#include "tool/import/track_input.h"

namespace scenario {

struct OsmRequest {
    std::string from;  // station names, UTF-8
    std::string to;
    std::string relation;  // an id, or a route's name
};

// Whether the file is OpenStreetMap data, by its name or its first bytes.
bool looksLikeOsm(const std::string& path, std::string_view head);

bool readOsm(const std::string& path, const OsmRequest& request, TrackInput& track,
             std::string& error);

// A maxspeed tag's value in km/h, rounded to 5; 0 when it gives no number ("none", "signals").
int maxspeedKmh(std::string_view value);

}  // namespace scenario
