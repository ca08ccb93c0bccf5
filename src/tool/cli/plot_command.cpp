// scenario plot: load the compiled scenario's three files, draw the route, write the SVG.
#include "tool/cli/plot_command.h"

#include <fmt/format.h>

#include <cmath>
#include <exception>

#include "base/file_store.h"
#include "base/platform.h"
#include "base/text_encoding.h"
#include "report/exit_status.h"
#include "tool/check/file_name_part.h"
#include "tool/cli/input_options.h"
#include "tool/plot/route_picture.h"
#include "tool/route/route_data.h"

namespace scenario {
namespace {

std::string titleOf(const PlotOptions& o, const RouteData& route) {
    std::string title =
        fmt::format("{}, train {}: {:.1f} km; stations and stops {}, signals {}, tunnels {}",
                    utf8FromWindows1252(o.scenarioName), utf8FromWindows1252(o.trainNumber),
                    route.routeLength / 1000.0, route.stations.size(), route.signals.size(),
                    route.tunnels.size());
    if (o.fromKm || o.toKm)
        title += fmt::format("; drawn from {:.1f} to {:.1f} km", o.fromKm.value_or(0.0),
                             o.toKm.value_or(route.routeLength / 1000.0));
    return title;
}

struct StretchChoice {
    std::int32_t from = 0;
    std::int32_t to = 0;
    std::string problem;
};

constexpr std::int32_t kShortestStretch = 100;  // m

// The stretch asked for, in metres, inside the route.
StretchChoice stretchOf(const PlotOptions& o, std::int32_t routeLength) {
    StretchChoice c;
    c.from = static_cast<std::int32_t>(std::lround(o.fromKm.value_or(0.0) * 1000.0));
    c.to = o.toKm ? static_cast<std::int32_t>(std::lround(*o.toKm * 1000.0)) : routeLength;
    if (c.from < 0 || c.to > routeLength)
        c.problem = fmt::format("--from and --to must lie within the route, 0 to {:.3f} km",
                                routeLength / 1000.0);
    else if (c.to - c.from < kShortestStretch)
        c.problem = "--to must lie at least 0.1 km after --from";
    return c;
}

}  // namespace

void declarePlotOptions(CLI::App& command, PlotOptions& options) {
    command.description(
        "Reads NAME_linea.dat, NAME_NUMBER.sim and NAME_NUMBER.dat from DIR and draws the\n"
        "route: its plan with start, end, stations, signals and tunnels, and under it the\n"
        "elevation (integrated from the gradients, from 0 m at the start), the speed limits\n"
        "and the stations against the distance along the route. --from and --to draw only\n"
        "that stretch, in kilometres from the route's start. Every mark carries a tooltip.");
    command.add_option("DIR", options.directory, "Directory of the compiled files")->required();
    addNameOptions(command, options.scenarioName, options.trainNumber, {.required = true});
    command.add_option("-o,--output", options.outFile, "The SVG file to write")->required();
    command.add_option("--from", options.fromKm, "Start of the stretch to draw, route km")
        ->check(CLI::Range(0.0, 1000000.0));
    command.add_option("--to", options.toKm, "End of the stretch to draw, route km")
        ->check(CLI::Range(0.0, 1000000.0));
    command.footer(
        "Exit status: 0 drawn, 2 a file cannot be read, decoded or written, or a stretch\n"
        "outside the route.");
}

int runPlotCommand(const PlotOptions& options, std::ostream& out, std::ostream& err) {
    const LoadedRoute loaded =
        loadRoute(options.directory, options.scenarioName, options.trainNumber);
    if (!loaded.error.empty()) {
        err << fmt::format("scenario plot: {}\n", loaded.error);
        return kExitFileFailure;
    }
    const StretchChoice stretch = stretchOf(options, loaded.route.routeLength);
    if (!stretch.problem.empty()) {
        err << fmt::format("scenario plot: {}\n", stretch.problem);
        return kExitFileFailure;
    }
    const std::string svg =
        drawRoutePicture(loaded.route, titleOf(options, loaded.route), stretch.from, stretch.to);
    try {
        writeWholeFile(pathFromText(options.outFile), svg);
    } catch (const std::exception& failure) {
        err << fmt::format("scenario plot: {}\n", failure.what());
        return kExitFileFailure;
    }
    out << options.outFile << '\n';
    return kExitClean;
}

}  // namespace scenario
