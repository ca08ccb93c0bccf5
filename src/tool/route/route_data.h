// A compiled scenario read back from its three files, with what a picture of the route needs:
// the plan, the stations, signals, tunnels and the profiles along the route.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "output/scenario_file_reader.h"

namespace scenario {

struct PlanPoint {
    double x;  // first plan coordinate, m
    double y;  // second plan coordinate, m
};

struct RouteStation {
    std::int32_t position;  // m
    std::string name;       // UTF-8
    bool isStop;            // a stop that gets no station cell
};

struct RouteSpan {
    std::int32_t from;  // m
    std::int32_t to;
};

struct RouteData {
    std::int32_t routeLength = 0;  // m
    std::vector<PlanPoint> plan;   // metres 0 to routeLength
    std::vector<RouteStation> stations;
    std::vector<std::int32_t> signals;  // positions, m
    std::vector<RouteSpan> tunnels;
    std::vector<double> elevation;    // m, at every cell boundary from 0 to routeLength
    std::vector<std::int32_t> speed;  // km/h, one per cell of the route
};

// The three files decoded, or the error that names the file that could not be read or decoded.
struct ScenarioFiles {
    PlanFile plan;
    StationTable table{};
    std::vector<TrackCell> cells;
    std::string error;
};

ScenarioFiles readScenarioFiles(const std::string& directory, const std::string& scenarioName,
                                const std::string& trainNumber);

// The route's features gathered from the decoded files.
RouteData routeFrom(const ScenarioFiles& files);

// How many entries from 1 up hold stations: they fill the table without gaps, and the sign texts
// from 80 down carry names only.
int stationCount(const StationTable& table);

// The route length the station table records (entry 84), never below 0.
std::int32_t routeLengthOf(const StationTable& table);

// False for a coordinate that no route of at most 1000 km reaches: a damaged file's.
bool isPlanCoordinate(double v);

struct LoadedRoute {
    RouteData route;
    std::string error;  // names the file that could not be read or decoded
};

// Reads NAME_linea.dat, NAME_NUMBER.sim and NAME_NUMBER.dat from the directory.
LoadedRoute loadRoute(const std::string& directory, const std::string& scenarioName,
                      const std::string& trainNumber);

}  // namespace scenario
