#include "tool/plot_command.h"

namespace scenario {
CLI::App* addPlotCommand(CLI::App& app, PlotOptions& options) {
    CLI::App* command = app.add_subcommand("plot", "Draw a compiled scenario as SVG");
    command->add_option("DIR", options.directory, "Directory")->required();
    return command;
}
int runPlotCommand(const PlotOptions&, std::ostream&, std::ostream&) {
    return 2;
}
}  // namespace scenario
