// scenario compile: the author's two source files in, the simulator's three files out.
#include "tool/cli/compile_command.h"

#include <fmt/format.h>

#include "report/exit_status.h"
#include "source/file_names.h"
#include "tool/cli/input_options.h"

namespace scenario {

void addWarningOptions(CLI::App& command, SourceCompile& r) {
    command
        .add_option("-W", r.warningOptions,
                    "-Wno-NAME turns the warning NAME off; -Werror makes warnings errors")
        ->allow_extra_args(false);
    command
        .add_option("--input-encoding", r.inputEncoding,
                    "Encoding of the source files: windows-1252 (the format's) or utf-8, "
                    "converted to Windows-1252 before compiling")
        ->check(CLI::IsMember({"windows-1252", "utf-8"}));
}

void declareCompileOptions(CLI::App& command, CompileOptions& options) {
    command.description(
        "Compiles LINE_FILE and TRAIN_FILE exactly as the scenario program compiles its own\n"
        "sources and writes NAME_linea.dat (unless --no-plan), NAME_NUMBER.sim and\n"
        "NAME_NUMBER.dat into DIR, made if missing. Without --name and --train the names come\n"
        "from NAME_linea.txt and NAME_NUMBER-.txt, and a line on standard error (or the JSON\n"
        "summary) says which. The source files are only read. Every warning and error goes\n"
        "to standard error as FILE:LINE:COL: warning: ... [NAME] or FILE:LINE:COL: error N:\n"
        "meaning (at P m); after a data error nothing is written unless --write-on-error;\n"
        "an output whose bytes would stay the same is left untouched, time included;\n"
        "errors of the signal-spacing pass name only the position.");
    SourceCompile& r = options.request;
    addSourceFileOptions(command, r.lineFile, r.trainFile);
    addNameOptions(command, r.scenarioName, r.trainNumber,
                   {.name = "Scenario name, the stem of every file name (default: NAME of "
                            "NAME_linea.txt)",
                    .train = "Train number, the second stem of the names (default: NUMBER of "
                             "NAME_NUMBER-.txt)"});
    command
        .add_option("--out", options.outDirectory,
                    "Directory for the output files, made if missing")
        ->capture_default_str();
    command.add_flag("--no-plan", options.noPlan, "Do not build the plan nor write NAME_linea.dat");
    command.add_flag("--json", r.json, "Print a JSON summary on standard output");
    addWarningOptions(command, r);
    command.add_flag("--write-on-error", r.writeOnError,
                     "Write the files even after a data error, as the scenario program does");
    command.add_flag("--always-write", r.alwaysWrite,
                     "Replace every output, even one whose bytes would stay the same");
    command.footer(
        "Exit status: 0 clean, 1 data error or -Werror warning (nothing written unless\n"
        "--write-on-error), 2 unreadable input, file\n"
        "failure or usage error, 3 stamp slot taken (nothing written), 4 no route length\n"
        "(nothing written).");
}

namespace {

// The names not given, from the source files' names; false, with the reason said, when a file is
// not named so.
bool takeNamesFromFiles(SourceCompile& r, std::ostream& err) {
    if (!r.scenarioName.empty() && !r.trainNumber.empty()) return true;
    const auto refuse = [&](const char* option, const std::string& file, const char* pattern) {
        err << fmt::format("scenario compile: {} is required: {} is not named {}\n", option, file,
                           pattern);
        return false;
    };
    if (r.scenarioName.empty()) r.scenarioName = nameFromLineFile(r.lineFile);
    if (r.scenarioName.empty()) return refuse("--name", r.lineFile, "NAME_linea.txt");
    if (r.trainNumber.empty()) r.trainNumber = numberFromTrainFile(r.trainFile, r.scenarioName);
    if (r.trainNumber.empty())
        return refuse("--train", r.trainFile, (r.scenarioName + "_NUMBER-.txt").c_str());
    if (!r.json)
        err << fmt::format("scenario compile: names from the source files: --name {} --train {}\n",
                           r.scenarioName, r.trainNumber);
    return true;
}

}  // namespace

int runCompileCommand(const CompileOptions& options, std::ostream& out, std::ostream& err) {
    SourceCompile request = options.request;
    if (!takeNamesFromFiles(request, err)) return kExitFileFailure;
    request.outDirectory = options.outDirectory;
    request.buildPlan = !options.noPlan;
    return runSourceCompile(request, out, err);
}

}  // namespace scenario
