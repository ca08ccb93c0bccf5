// Reads the three files of a compiled scenario and gathers the route's features from the model:
// stations from the station table, signals and tunnels from the cells, elevation integrated from
// the cells' gradients.
#include "tool/route/route_data.h"

#include <cmath>
#include <filesystem>

#include "base/file_store.h"
#include "base/platform.h"
#include "base/text_encoding.h"
#include "compiler/model_constants.h"
#include "source/file_names.h"

namespace scenario {
namespace {

constexpr int kLastStationEntry = kFirstSignSlot - 1;

template <typename Records>
std::string decodeFile(const std::filesystem::path& path,
                       Decoded<Records> (*decode)(std::string_view), Records& records) {
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) return textFromPath(path) + ": cannot read the file";
    Decoded<Records> d = decode(*bytes);
    if (!d.ok()) return textFromPath(path) + ": " + d.error;
    records = std::move(d.records);
    return {};
}

bool hasNumbers(const StationRecord& r) {
    return r.stationKind != 0 || r.platformStart != 0 || r.platformEnd != 0 || r.position != 0 ||
           r.departureTime != 0 || r.dwellTime != 0;
}

void gatherStations(const StationTable& table, RouteData& route) {
    const int count = stationCount(table);
    for (int i = 1; i <= count; ++i) {
        const StationRecord& r = table[static_cast<std::size_t>(i)];
        route.stations.push_back(
            {r.position, utf8FromWindows1252(r.name), r.stationKind >= kFirstStopWithoutCell});
    }
}

// A signal in cell i stands at about (i - 1) * 50 m; a tunnel's cells cover their 50 m each.
void gatherCells(const std::vector<TrackCell>& cells, RouteData& route) {
    const auto routeCells = static_cast<std::size_t>(route.routeLength / kCellLength);
    double elevation = 0.0;
    route.elevation.push_back(elevation);
    for (std::size_t i = 0; i < cells.size() && i <= routeCells; ++i) {
        const TrackCell& c = cells[i];
        const auto start = static_cast<std::int32_t>(i) * kCellLength;
        if (c.kind == kSignal) route.signals.push_back(start - kCellLength);
        if (c.tunnelKind != 0) {
            if (!route.tunnels.empty() && route.tunnels.back().to == start)
                route.tunnels.back().to = start + kCellLength;
            else
                route.tunnels.push_back({start, start + kCellLength});
        }
        if (i == routeCells) break;
        elevation += (c.gradient - 100) * kCellLength / 1000.0;
        route.elevation.push_back(elevation);
        route.speed.push_back(c.speedLimit * 5);
    }
}

// The plan up to the route's end; it stops early only where the file's plan does, or where a
// damaged file holds a coordinate that no route reaches.
void gatherPlan(const PlanFile& plan, RouteData& route) {
    for (std::size_t m = 0; m < plan.first.size() && m <= std::size_t(route.routeLength); ++m) {
        const PlanPoint p{plan.first[m].value, plan.second[m].value};
        if (plan.first[m].type == PlanValueType::Empty || !isPlanCoordinate(p.x) ||
            !isPlanCoordinate(p.y))
            return;
        route.plan.push_back(p);
    }
}

}  // namespace

// No route of at most 1000 km leads further than this from its start.
bool isPlanCoordinate(double v) {
    return std::isfinite(v) && std::abs(v) < 1e7;
}

int stationCount(const StationTable& table) {
    int count = 0;
    while (count < kLastStationEntry && hasNumbers(table[static_cast<std::size_t>(count + 1)]))
        ++count;
    return count;
}

std::int32_t routeLengthOf(const StationTable& table) {
    return std::max(table[kTrainDataSlot].platformEnd, 0);
}

ScenarioFiles readScenarioFiles(const std::string& directory, const std::string& scenarioName,
                                const std::string& trainNumber) {
    const std::filesystem::path dir = pathFromText(directory);
    const ScenarioIdentity names{scenarioName, trainNumber};
    ScenarioFiles files;
    files.error = decodeFile(dir / pathFromText(names.lineDataFile()), decodeLinePlan, files.plan);
    if (files.error.empty())
        files.error = decodeFile(dir / pathFromText(names.stationTableFile()), decodeStationTable,
                                 files.table);
    if (files.error.empty())
        files.error =
            decodeFile(dir / pathFromText(names.trackCellFile()), decodeTrackCells, files.cells);
    return files;
}

RouteData routeFrom(const ScenarioFiles& files) {
    RouteData route;
    route.routeLength = routeLengthOf(files.table);
    gatherPlan(files.plan, route);
    gatherStations(files.table, route);
    gatherCells(files.cells, route);
    return route;
}

LoadedRoute loadRoute(const std::string& directory, const std::string& scenarioName,
                      const std::string& trainNumber) {
    LoadedRoute loaded;
    const ScenarioFiles files = readScenarioFiles(directory, scenarioName, trainNumber);
    loaded.error = files.error;
    if (!loaded.error.empty()) return loaded;
    loaded.route = routeFrom(files);
    const RouteData& route = loaded.route;
    if (route.plan.size() < 2)
        loaded.error =
            "no route to draw: the station table gives no route length, or the line "
            "data file no plan of it";
    return loaded;
}

}  // namespace scenario
