// The tool's command line: every subcommand registered on one parser, the one asked for run over
// the caller's streams; help, version and usage errors are printed there too.
#include "tool/cli/scenario_tool.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
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
#include "tool/cli/syntax_command.h"
#include "tool/cli/timing_command.h"
#include "tool/cli/view_command.h"

namespace scenario {
namespace {

// A first word that names no subcommand: said so, with the nearest subcommand's name where one
// is near enough to be a slip. False when the first word is an option or a subcommand.
bool reportUnknownSubcommand(CLI::App& app, const std::vector<std::string>& arguments,
                             std::ostream& err) {
    if (arguments.empty() || arguments[0].empty() || arguments[0][0] == '-') return false;
    std::vector<std::string> names;
    for (const CLI::App* command : app.get_subcommands({})) names.push_back(command->get_name());
    const std::string& word = arguments[0];
    if (std::find(names.begin(), names.end(), word) != names.end()) return false;
    const std::string_view near =
        nearestKeyword(word, std::vector<std::string_view>(names.begin(), names.end()));
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

    CompileOptions compile;
    CheckOptions check;
    ExportOptions exporting;
    DumpOptions dump;
    PlotOptions plot;
    ViewOptions view;
    ExplainOptions explain;
    DocOptions doc;
    NewOptions starter;
    ImportOptions importing;
    LspOptions lsp;
    SyntaxOptions syntax;
    TimingCommandOptions timing;
    StockCommandOptions stock;
    CLI::App* compileCommand = addCompileCommand(app, compile);
    CLI::App* checkCommand = addCheckCommand(app, check);
    CLI::App* exportCommand = addExportCommand(app, exporting);
    CLI::App* dumpCommand = addDumpCommand(app, dump);
    CLI::App* plotCommand = addPlotCommand(app, plot);
    CLI::App* viewCommand = addViewCommand(app, view);
    CLI::App* explainCommand = addExplainCommand(app, explain);
    CLI::App* docCommand = addDocCommand(app, doc);
    CLI::App* newCommand = addNewCommand(app, starter);
    CLI::App* importCommand = addImportCommand(app, importing);
    CLI::App* lspCommand = addLspCommand(app, lsp);
    CLI::App* syntaxCommand = addSyntaxCommand(app, syntax);
    CLI::App* timingCommand = addTimingCommand(app, timing);
    CLI::App* stockCommand = addStockCommand(app, stock);
    // The parser takes the arguments last first.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() != 0 && reportUnknownSubcommand(app, arguments, err))
            return kExitFileFailure;
        return app.exit(e, out, err) == 0 ? kExitClean : kExitFileFailure;
    }
    if (compileCommand->parsed()) return runCompileCommand(compile, out, err);
    if (checkCommand->parsed()) return runCheckCommand(check, out, err);
    if (exportCommand->parsed()) return runExportCommand(exporting, out, err);
    if (dumpCommand->parsed()) return runDumpCommand(dump, out, err);
    if (plotCommand->parsed()) return runPlotCommand(plot, out, err);
    if (viewCommand->parsed()) return runViewCommand(view, out, err);
    if (explainCommand->parsed()) return runExplainCommand(explain, out, err);
    if (docCommand->parsed()) return runDocCommand(doc, out, err);
    if (newCommand->parsed()) return runNewCommand(starter, out, err);
    if (importCommand->parsed()) return runImportCommand(importing, out, err);
    if (lspCommand->parsed()) return runLspCommand(lsp, out, err);
    if (syntaxCommand->parsed()) return runSyntaxCommand(syntax, out, err);
    if (timingCommand->parsed()) return runTimingCommand(timing, out, err);
    if (stockCommand->parsed()) return runStockCommand(stock, out, err);
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
