// scenario check: compile without writing. Without --name and --train the names come from the
// source files' own names where they follow the build's pattern.
#include "tool/cli/check_command.h"

#include "tool/check/file_name_part.h"
#include "tool/check/scenario_names.h"
#include "tool/cli/compile_command.h"

namespace scenario {

CLI::App* addCheckCommand(CLI::App& app, CheckOptions& options) {
    CLI::App* command =
        app.add_subcommand("check", "Compile a line and a train source file, writing nothing");
    command->description(
        "Compiles LINE_FILE and TRAIN_FILE as scenario compile does and reports every warning\n"
        "and error, but writes no file. The names only matter for the check codes; without\n"
        "them they are taken from NAME_linea.txt and NAME_NUMBER-.txt.");
    SourceCompile& r = options.request;
    command->add_option("LINE_FILE", r.lineFile, "Line source file")->required();
    command->add_option("TRAIN_FILE", r.trainFile, "Train source file")->required();
    command->add_option("--name", r.scenarioName, "Scenario name")->check(fileNamePart());
    command->add_option("--train", r.trainNumber, "Train number")->check(fileNamePart());
    command->add_flag("--json", r.json, "Print a JSON summary on standard output");
    addWarningOptions(*command, r);
    command->add_flag("--timing", r.timing,
                      "Warn where the timetable is shorter than the fastest run (timetable)");
    command->add_option("--stock", r.stockFile, "Stock file for --timing")->needs("--timing");
    command
        ->add_option("--margin", r.margin,
                     "With --timing, warn where the slack is below this per cent of the "
                     "fastest run")
        ->check(CLI::NonNegativeNumber)
        ->needs("--timing");
    command->footer(
        "Exit status: 0 clean, 1 data error, 2 unreadable input or usage error, 3 stamp slot\n"
        "taken, 4 no route length.");
    return command;
}

int runCheckCommand(const CheckOptions& options, std::ostream& out, std::ostream& err) {
    SourceCompile request = options.request;
    nameFromSourceFiles(request.lineFile, request.trainFile, request.scenarioName,
                        request.trainNumber);
    return runSourceCompile(request, out, err);
}

}  // namespace scenario
