// Heights for a track that carries none: a table of route metres and heights, or SRTM tiles.
#pragma once

#include <string>

#include "tool/import/plane_track.h"

namespace scenario {

// Lines of "metre,height" (a first line that holds no numbers is a header), interpolated
// linearly between rows and held beyond the first and last.
bool heightsFromTable(const std::string& path, PlaneTrack& track, std::string& error);

// SRTM .hgt tiles named as N46E011.hgt: 1201 or 3601 rows of big-endian 16-bit heights from
// the north edge, read by bilinear interpolation.
bool heightsFromTiles(const std::string& directory, const LineProjection& projection,
                      PlaneTrack& track, std::string& error);

}  // namespace scenario
