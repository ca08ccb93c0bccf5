// Reads a GPX 1.1 document: its tracks, or its routes when it has none, and its named waypoints.
#pragma once

#include <string>
#include <string_view>

#include "tool/import/track_input.h"

namespace scenario {

// False with `error` set when the document is malformed, declares a document type or an entity
// (entities never expand), or holds a coordinate out of range.
bool readGpx(std::string_view bytes, TrackInput& track, std::string& error);

}  // namespace scenario
