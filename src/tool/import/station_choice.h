// Stations from the input's named places: projected onto the track, on the 50 m grid, spaced as
// the train file requires, their names in Windows-1252.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/model_constants.h"
#include "tool/import/plane_track.h"

namespace scenario {

inline constexpr std::int32_t kPlatformLength = 200;
// Platforms of 200 m need 350 m between them (error 22): positions 550 m apart.
inline constexpr std::int32_t kStationSpacing = 550;
inline constexpr std::size_t kMostStations = kStationCapacity;
inline constexpr double kFarthestPlace = 500;  // a place further from the track is no station

struct ImportedStation {
    std::int32_t position = 0;
    std::string name;  // Windows-1252
};

struct StationChoice {
    std::vector<ImportedStation> stations;
    std::vector<std::string> notes;  // UTF-8: transliterations, merges, places left out
};

// A UTF-8 name as Windows-1252 bytes; each character the code page lacks becomes its base
// letter (or "?"), noted in `changes` as "Ő -> O". Commas, which would end the field, become
// blanks.
std::string stationName(const std::string& utf8, std::vector<std::string>& changes);

bool chooseStations(const TrackInput& input, const LineProjection& projection,
                    const PlaneTrack& track, StationChoice& choice, std::string& error);

}  // namespace scenario
