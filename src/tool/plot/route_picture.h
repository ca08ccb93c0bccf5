// The picture of a compiled route: its plan on top, and under it the elevation, the speed limits
// and the stations against the distance along the route.
#pragma once

#include <cstdint>
#include <string>

#include "tool/route/route_data.h"

namespace scenario {

// The picture of the stretch from `from` to `to` (metres) as an SVG document.
std::string drawRoutePicture(const RouteData& route, const std::string& title, std::int32_t from,
                             std::int32_t to);

}  // namespace scenario
