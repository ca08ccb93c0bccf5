// scenario plot: load the compiled scenario's three files, draw the route, write the SVG.
#include "tool/plot_command.h"

#include <fmt/format.h>

#include <exception>

#include "base/file_store.h"
#include "report/exit_status.h"
#include "tool/file_name_part.h"
#include "tool/route_data.h"
#include "tool/route_picture.h"
#include "tool/text_encoding.h"

namespace scenario {
namespace {

std::string titleOf(const PlotOptions& o, const RouteData& route) {
    return fmt::format("{}, train {}: {:.1f} km; stations and stops {}, signals {}, tunnels {}",
                       utf8FromWindows1252(o.scenarioName), utf8FromWindows1252(o.trainNumber),
                       route.routeLength / 1000.0, route.stations.size(), route.signals.size(),
                       route.tunnels.size());
}

}  // namespace

CLI::App* addPlotCommand(CLI::App& app, PlotOptions& options) {
    CLI::App* command = app.add_subcommand("plot", "Draw a compiled scenario as one SVG");
    command->description(
        "Reads NAME_linea.dat, NAME_NUMBER.sim and NAME_NUMBER.dat from DIR and draws the\n"
        "route: its plan with start, end, stations, signals and tunnels, and under it the\n"
        "elevation (integrated from the gradients, from 0 m at the start), the speed limits\n"
        "and the stations against the distance along the route.");
    command->add_option("DIR", options.directory, "Directory of the compiled files")->required();
    command->add_option("--name", options.scenarioName, "Scenario name")
        ->required()
        ->check(fileNamePart());
    command->add_option("--train", options.trainNumber, "Train number")
        ->required()
        ->check(fileNamePart());
    command->add_option("-o,--output", options.outFile, "The SVG file to write")->required();
    command->footer("Exit status: 0 drawn, 2 a file cannot be read, decoded or written.");
    return command;
}

int runPlotCommand(const PlotOptions& options, std::ostream& out, std::ostream& err) {
    const LoadedRoute loaded =
        loadRoute(options.directory, options.scenarioName, options.trainNumber);
    if (!loaded.error.empty()) {
        err << fmt::format("scenario plot: {}\n", loaded.error);
        return kExitFileFailure;
    }
    const std::string svg = drawRoutePicture(loaded.route, titleOf(options, loaded.route));
    try {
        writeWholeFile(options.outFile, svg);
    } catch (const std::exception& failure) {
        err << fmt::format("scenario plot: {}\n", failure.what());
        return kExitFileFailure;
    }
    out << options.outFile << '\n';
    return kExitClean;
}

}  // namespace scenario
