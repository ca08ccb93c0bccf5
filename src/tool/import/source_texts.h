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

struct ImportedLine {
    std::string origin;  // the track file's name, for the comments (Windows-1252, no comma)
    std::int32_t routeLength = 0;
    std::vector<CurveRecord> curves;
    ProfileChoice profile;
    bool flat = true;
    std::vector<ImportedStation> stations;
    std::int32_t speed = 100;  // km/h over the whole line
};

std::string importedLineSource(const ImportedLine& line);
std::string importedTrainSource(const ImportedLine& line, const std::string& trainNumber);

}  // namespace scenario
