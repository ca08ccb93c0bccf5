// Reads the input as a GeoJSON document, as `scenario import` does. What the reader accepts holds
// only coordinates on the globe and finite heights, and a refusal always says why.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "tool/import/geojson_reader.h"
#include "track_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace scenario;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TrackInput track;
    std::string error;
    const bool read = readGeoJson(text, track, error);
    fuzz::require(read || !error.empty(), "a refusal says why");
    if (read) fuzz::checkAcceptedTrack(track);
    return 0;
}
