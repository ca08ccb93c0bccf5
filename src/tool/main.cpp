// scenario, the authors' tool: parse the command line, run the one subcommand asked for.
#include <CLI/CLI.hpp>
#include <iostream>

#include "app/exit_status.h"
#include "tool/check_command.h"
#include "tool/compile_command.h"
#include "tool/dump_command.h"
#include "tool/export_command.h"
#include "tool/plot_command.h"
#include "tool/view_command.h"

int main(int argc, char** argv) {
    using namespace scenario;
    CLI::App app{
        "Builds, checks and shows scenarios of the train-driving simulator from their "
        "source files.",
        "scenario"};
    app.set_version_flag("--version", "scenario " SCENARIO_VERSION);
    app.require_subcommand(1);
    app.footer("Run scenario SUBCOMMAND --help for each subcommand's options and exit statuses.");

    CompileOptions compile;
    CheckOptions check;
    ExportOptions exporting;
    DumpOptions dump;
    PlotOptions plot;
    ViewOptions view;
    CLI::App* compileCommand = addCompileCommand(app, compile);
    CLI::App* checkCommand = addCheckCommand(app, check);
    CLI::App* exportCommand = addExportCommand(app, exporting);
    CLI::App* dumpCommand = addDumpCommand(app, dump);
    CLI::App* plotCommand = addPlotCommand(app, plot);
    CLI::App* viewCommand = addViewCommand(app, view);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kExitClean : kExitFileFailure;
    }
    if (compileCommand->parsed()) return runCompileCommand(compile, std::cout, std::cerr);
    if (checkCommand->parsed()) return runCheckCommand(check, std::cout, std::cerr);
    if (exportCommand->parsed()) return runExportCommand(exporting, std::cout, std::cerr);
    if (dumpCommand->parsed()) return runDumpCommand(dump, std::cout, std::cerr);
    if (plotCommand->parsed()) return runPlotCommand(plot, std::cout, std::cerr);
    if (viewCommand->parsed()) return runViewCommand(view, std::cout, std::cerr);
    return kExitFileFailure;
}
