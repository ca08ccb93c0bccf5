// Station placement and names: the first of two stations too close together stays.
#include "tool/import/station_choice.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "base/text_encoding.h"
#include "compiler/model_constants.h"

namespace scenario {
namespace {

// Base letters of U+0100 to U+017F.
constexpr std::string_view kLatinExtendedA =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";

static_assert(kLatinExtendedA.size() == 0x80);

}  // namespace

std::string stationName(const std::string& utf8, std::vector<std::string>& changes) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        std::size_t n = decodeUtf8(utf8, i, cp);
        if (n == 0) {
            // A byte that is not UTF-8 goes alone, as a "?".
            n = 1;
            cp = 0xFFFD;
        }
        const std::string character = utf8.substr(i, n);
        i += n;
        if (character == ",") {
            out += ' ';
            continue;
        }
        if (character == "\r" || character == "\n" || character == "\t") {
            out += ' ';
            continue;
        }
        std::string refused;
        if (const auto bytes = windows1252FromUtf8OrRefuse(character, refused)) {
            out += *bytes;
            continue;
        }
        if (cp >= 0x300 && cp < 0x370) continue;  // a combining mark over the letter before
        const std::string base =
            cp >= 0x100 && cp < 0x180 ? std::string(1, kLatinExtendedA[cp - 0x100]) : "?";
        changes.push_back(character + " -> " + base);
        out += base;
    }
    const std::size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

bool chooseStations(const TrackInput& input, const LineProjection& projection,
                    const PlaneTrack& track, StationChoice& choice, std::string& error) {
    const std::int32_t lowest = 100;  // error 24 and the stamped first cells lie below
    const std::int32_t highest =
        (track.routeLength - kPlatformLength / 2) / kCellLength * kCellLength;
    std::vector<ImportedStation> found;
    for (const NamedPlace& place : input.places) {
        double east = 0, north = 0;
        projection.toPlane(place.lat, place.lon, east, north);
        const std::int32_t m = nearestMetre(track, east, north);
        const auto at = static_cast<std::size_t>(m);
        const double away = std::hypot(track.east[at] - east, track.north[at] - north);
        if (away > kFarthestPlace) {
            choice.notes.push_back(
                fmt::format("{} lies {:.0f} m from the track: no station", place.name, away));
            continue;
        }
        std::vector<std::string> changes;
        ImportedStation s{
            static_cast<std::int32_t>(std::lround(m / double(kCellLength))) * kCellLength,
            stationName(place.name, changes)};
        s.position = std::clamp(s.position, lowest, std::max(lowest, highest));
        for (const std::string& change : changes)
            choice.notes.push_back(fmt::format("{}: {}", place.name, change));
        if (s.name.empty()) s.name = "STAZIONE";
        found.push_back(s);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.position < b.position; });
    for (const ImportedStation& s : found) {
        if (!choice.stations.empty() &&
            s.position - choice.stations.back().position < kStationSpacing) {
            choice.notes.push_back(
                fmt::format("{} at {} m merged into {} at {} m: stations stand {} m apart at least",
                            utf8FromWindows1252(s.name), s.position,
                            utf8FromWindows1252(choice.stations.back().name),
                            choice.stations.back().position, kStationSpacing));
            continue;
        }
        choice.stations.push_back(s);
    }
    if (choice.stations.size() > kMostStations) {
        error = fmt::format("{} stations, more than the {} a train file holds",
                            choice.stations.size(), kMostStations);
        return false;
    }
    // A run needs a start and an end.
    if (choice.stations.empty() && highest >= lowest) choice.stations.push_back({lowest, "INIZIO"});
    if (!choice.stations.empty() && highest - choice.stations.back().position >= kStationSpacing &&
        choice.stations.size() < 2)
        choice.stations.push_back({highest, "FINE"});
    return true;
}

}  // namespace scenario
