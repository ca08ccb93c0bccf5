// The tool's command line: one table of subcommands registered on one parser, the one asked for
// run over the caller's streams; help, version and usage errors are printed there too.
#include "tool/cli/scenario_tool.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
#include <string_view>

#include "report/exit_status.h"
#include "tool/check/checker.h"
#include "tool/cli/check_command.h"
#include "tool/cli/compile_command.h"
#include "tool/cli/dump_command.h"
#include "tool/cli/export_command.h"
#include "tool/cli/import_command.h"
#include "tool/cli/lsp_command.h"
#include "tool/cli/new_command.h"
#include "tool/cli/plot_command.h"
#include "tool/cli/reference_commands.h"
#include "tool/cli/serve_command.h"
#include "tool/cli/syntax_command.h"
#include "tool/cli/timing_command.h"
#include "tool/cli/view_command.h"

namespace scenario {
namespace {

// A subcommand's run over the option values its parser filled in.
using Run = std::function<int(std::ostream& out, std::ostream& err)>;

// One subcommand: its name, its one-line help, and how it declares its options on its own
// parser, giving back its run. Listing, lookup and "did you mean" all walk the one table below.
struct Tool {
    std::string_view name;
    std::string_view help;
    Run (*declare)(CLI::App& command);
};

template <class Options, void (*Declare)(CLI::App&, Options&),
          int (*RunCommand)(const Options&, std::ostream&, std::ostream&)>
Run declared(CLI::App& command) {
    auto options = std::make_shared<Options>();
    Declare(command, *options);
    return
        [options](std::ostream& out, std::ostream& err) { return RunCommand(*options, out, err); };
}

// In the order that --help lists them.
const Tool kTools[] = {
    {"compile", "Compile a line and a train source file into the simulator's files",
     &declared<CompileOptions, declareCompileOptions, runCompileCommand>},
    {"check", "Compile a line and a train source file, writing nothing",
     &declared<CheckOptions, declareCheckOptions, runCheckCommand>},
    {"export", "Write the built-in scenario's source files and crew documents",
     &declared<ExportOptions, declareExportOptions, runExportCommand>},
    {"dump", "Decode a compiled scenario file",
     &declared<DumpOptions, declareDumpOptions, runDumpCommand>},
    {"plot", "Draw a compiled scenario as one SVG",
     &declared<PlotOptions, declarePlotOptions, runPlotCommand>},
    {"view", "Write the route as one HTML page to open in a browser",
     &declared<ViewOptions, declareViewOptions, runViewCommand>},
    {"explain", "Explain an error number or a warning's name",
     &declared<ExplainOptions, declareExplainOptions, runExplainCommand>},
    {"doc", "Write format.md, errors.md and timing.md, the reference of the source format",
     &declared<DocOptions, declareDocOptions, runDocCommand>},
    {"new", "Write a small commented starter scenario to edit",
     &declared<NewOptions, declareNewOptions, runNewCommand>},
    {"import", "Write a scenario whose line follows a GPX or GeoJSON track",
     &declared<ImportOptions, declareImportOptions, runImportCommand>},
    {"lsp", "Serve an editor as a language server for the source files (stdin and stdout)",
     &declared<LspOptions, declareLspOptions, runLspCommand>},
    {"serve", "Show the route in a browser as a live page, redrawn as the sources change",
     &declared<ServeOptions, declareServeOptions, runServeCommand>},
    {"syntax", "Write the editors' highlighting files for the two source files",
     &declared<SyntaxOptions, declareSyntaxOptions, runSyntaxCommand>},
    {"timing", "Time the train's fastest run against its timetable",
     &declared<TimingCommandOptions, declareTimingOptions, runTimingCommand>},
    {"stock", "Write the default stock file to edit",
     &declared<StockCommandOptions, declareStockOptions, runStockCommand>},
};

// A first word that names no subcommand: said so, with the nearest subcommand's name where one
// is near enough to be a slip. False when the first word is an option or a subcommand.
bool reportUnknownSubcommand(const std::vector<std::string>& arguments, std::ostream& err) {
    if (arguments.empty() || arguments[0].empty() || arguments[0][0] == '-') return false;
    std::vector<std::string_view> names;
    for (const Tool& tool : kTools) names.push_back(tool.name);
    const std::string& word = arguments[0];
    if (std::find(names.begin(), names.end(), word) != names.end()) return false;
    const std::string_view near = nearestKeyword(word, names);
    err << "scenario: no subcommand is named \"" << word << '"';
    if (!near.empty()) err << "; did you mean \"" << near << "\"?";
    err << "\nRun with --help for more information.\n";
    return true;
}

int runParsed(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CLI::App app{
        "Builds, checks and shows scenarios of the train-driving simulator from their "
        "source files.",
        "scenario"};
    app.set_version_flag("--version", "scenario " SCENARIO_VERSION);
    // Options begin with "-" everywhere: "/data/line.txt" is a path on Windows too.
    app.allow_windows_style_options(false);
    app.require_subcommand(1);
    app.footer("Run scenario SUBCOMMAND --help for each subcommand's options and exit statuses.");

    std::vector<std::pair<const CLI::App*, Run>> runs;
    for (const Tool& tool : kTools) {
        CLI::App* command = app.add_subcommand(std::string(tool.name), std::string(tool.help));
        runs.emplace_back(command, tool.declare(*command));
    }
    // The parser takes the arguments last first.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() != 0 && reportUnknownSubcommand(arguments, err))
            return kExitFileFailure;
        return app.exit(e, out, err) == 0 ? kExitClean : kExitFileFailure;
    }
    for (const auto& [command, run] : runs)
        if (command->parsed()) return run(out, err);
    return kExitFileFailure;
}

}  // namespace

int runScenarioTool(const std::vector<std::string>& arguments, std::ostream& out,
                    std::ostream& err) {
    // The subcommands report their own failures; this catches what none of them foresaw (memory
    // running out), so that it ends as a failure with a message rather than an abort.
    try {
        return runParsed(arguments, out, err);
    } catch (const std::exception& failure) {
        err << "scenario: " << failure.what() << '\n';
        return kExitFileFailure;
    }
}

}  // namespace scenario
