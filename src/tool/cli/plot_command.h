// scenario plot: a compiled scenario drawn as one SVG: the route's plan, and under it the
// elevation, the speed limits and the stations against the distance along the route.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <ostream>
#include <string>

namespace scenario {

struct PlotOptions {
    std::string directory;
    std::string scenarioName;
    std::string trainNumber;
    std::string outFile;
    std::optional<double> fromKm;  // the stretch drawn, route kilometres; the whole route
    std::optional<double> toKm;    // when absent
};

void declarePlotOptions(CLI::App& command, PlotOptions& options);
int runPlotCommand(const PlotOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
