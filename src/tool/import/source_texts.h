// The two source files of an imported line, laid out as the writer lays them out: group
// headers, one comment line per group saying where its values came from, CR LF line ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tool/import/curve_choice.h"
#include "tool/import/profile_choice.h"
#include "tool/import/station_choice.h"

namespace scenario {

struct SpeedLimit {
    std::int32_t position = 0;  // on the 50 m grid
    std::int32_t kmh = 0;
};

struct ImportedLine {
    std::string origin;  // the track file's name, for the comments (Windows-1252, no comma)
    std::int32_t routeLength = 0;
    std::vector<CurveRecord> curves;
    ProfileChoice profile;
    bool flat = true;
    std::vector<ImportedStation> stations;
    std::int32_t speed = 100;        // km/h over the whole line
    std::vector<SpeedLimit> speeds;  // from the input's tags; the line's speed when empty
};

// The speed limits of the track's metres on the 50 m grid: `fallback` where a metre has none.
std::vector<SpeedLimit> speedLimits(const std::vector<std::int16_t>& metreSpeeds, int fallback);

std::string importedLineSource(const ImportedLine& line);
std::string importedTrainSource(const ImportedLine& line, const std::string& trainNumber);

}  // namespace scenario
