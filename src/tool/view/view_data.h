// The data of the route view as one JSON value: the cells and station table as compiled, the plan
// sampled along the route, the curves found in it, the diagnostics and where values came from.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "compiler/track_model.h"
#include "output/scenario_file_reader.h"
#include "tool/check/diagnostics.h"
#include "tool/route/cell_origins.h"
#include "tool/route/route_data.h"
#include "tool/timing/running_times.h"
#include "tool/timing/stock_file.h"

namespace scenario {

struct ViewInput {
    std::string title;   // UTF-8
    std::string origin;  // "files" or "sources"
    std::int32_t routeLength = 0;
    const std::vector<TrackCell>* cells = nullptr;
    const StationTable* stations = nullptr;
    std::vector<PlanPoint> plan;  // metre by metre from 0, as far as the plan goes
    nlohmann::json diagnostics = nlohmann::json::array();
    const CellOrigins* origins = nullptr;  // only for a compile of sources
    FileShown shown;                       // the author's path for a build's file name
    // Times the route (viewTiming's value), beside the gathering of the rest; empty for none.
    std::function<nlohmann::json()> timing;
};

nlohmann::json viewData(const ViewInput& input);

// The running times as `timing --json` gives them, each section with its departure (seconds of
// the day, or null) and its fastest run thinned for drawing; the timing needs `keepRun`.
nlohmann::json viewTiming(const timing::Timing& t, const StockChoice& stock);

// The warnings and the build's errors as `check` lists them, each with its line of text as
// `check` prints it and, for the page to find it, severity, file, line, column, code or warning
// name, route position and related record (null when none); then `note`, when not empty.
nlohmann::json viewDiagnostics(const ScenarioBuild& build, const std::vector<Diagnostic>& warnings,
                               const FileShown& shown, const std::string& note);

// An error of no place in the sources, listed with the diagnostics: a compile that did not end.
nlohmann::json viewNote(const std::string& text);

// The plan held in the build, metre by metre from 0 up to the route's end or its last metre.
std::vector<PlanPoint> planOfBuild(const LinePlan& plan, std::int32_t routeLength);

}  // namespace scenario
