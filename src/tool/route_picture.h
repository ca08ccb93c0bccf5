// The picture of a compiled route: its plan on top, and under it the elevation, the speed limits
// and the stations against the distance along the route.
#pragma once

#include <string>

#include "tool/route_data.h"

namespace scenario {

// The whole picture as an SVG document.
std::string drawRoutePicture(const RouteData& route, const std::string& title);

}  // namespace scenario
